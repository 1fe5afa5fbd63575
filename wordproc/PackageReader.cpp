#include "wordproc/Package.h"

#include "platform/SafeFile.h"
#include "platform/Units.h"
#include "wordproc/Vocabulary.h"

#include <cerrno>

#include <QFile>
#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>
#include <tuple>

namespace wordproc {

using namespace platform::units;

namespace {

const QString W = QString::fromLatin1(ooxml::kWordNamespace);

// Parts of an Office package never declare a DTD. One here could only declare
// entities, and a few kilobytes of references to one unpack to gigabytes.
QString dtdRefused(const QString& part)
{
    return QStringLiteral("'%1' declares a DTD, which document parts never do").arg(part);
}

// The zip container, read from memory with every entry size bounded.
class Zip {
public:
    Zip(const QByteArray& bytes, const QString& name) : mName(name)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* src =
            zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
        if (src)
            mZip = zip_open_from_source(src, ZIP_RDONLY, &error);
        if (!mZip) {
            const QString why = zip_error_code_zip(&error) == ZIP_ER_NOZIP
                                    ? QStringLiteral("it is not a document package (no zip container)")
                                    : QStringLiteral("the package is damaged (%1)")
                                          .arg(QString::fromLocal8Bit(zip_error_strerror(&error)));
            zip_error_fini(&error);
            if (src)
                zip_source_free(src);
            throw DocumentError(QStringLiteral("Can't open '%1': %2").arg(mName, why));
        }
        zip_error_fini(&error);
    }
    ~Zip() { zip_discard(mZip); }
    Zip(const Zip&) = delete;
    Zip& operator=(const Zip&) = delete;

    bool has(const QString& part) const { return zip_name_locate(mZip, part.toUtf8().constData(), ZIP_FL_NOCASE) >= 0; }

    QByteArray read(const QString& part)
    {
        const zip_int64_t index = zip_name_locate(mZip, part.toUtf8().constData(), ZIP_FL_NOCASE);
        if (index < 0)
            fail(QStringLiteral("the part '%1' is missing").arg(part));
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(mZip, static_cast<zip_uint64_t>(index), 0, &st) != 0)
            fail(QStringLiteral("the part '%1' can't be read").arg(part));
        if ((st.valid & ZIP_STAT_SIZE) && static_cast<qint64>(st.size) > kMaxPartBytes)
            fail(QStringLiteral("the part '%1' unpacks to more than %2 MB").arg(part).arg(kMaxPartBytes >> 20));
        zip_file_t* f = zip_fopen_index(mZip, static_cast<zip_uint64_t>(index), 0);
        if (!f)
            fail(QStringLiteral("the part '%1' can't be unpacked (%2)")
                     .arg(part, QString::fromLocal8Bit(zip_strerror(mZip))));
        // The declared size is not trusted: reading stops at the limit.
        QByteArray out;
        char buffer[65536];
        zip_int64_t n;
        while ((n = zip_fread(f, buffer, sizeof buffer)) > 0) {
            out.append(buffer, static_cast<qsizetype>(n));
            mTotal += n;
            if (out.size() > kMaxPartBytes || mTotal > kMaxTotalPartBytes) {
                zip_fclose(f);
                fail(QStringLiteral("the part '%1' unpacks beyond the size limit").arg(part));
            }
        }
        const QString why = n < 0 ? QString::fromLocal8Bit(zip_file_strerror(f)) : QString();
        if (zip_fclose(f) != 0 || n < 0)
            fail(QStringLiteral("the part '%1' is damaged (%2)")
                     .arg(part, why.isEmpty() ? QStringLiteral("checksum") : why));
        return out;
    }

    [[noreturn]] void fail(const QString& why) const
    {
        throw DocumentError(QStringLiteral("Can't open '%1': %2").arg(mName, why));
    }

private:
    zip_t* mZip = nullptr;
    QString mName;
    qint64 mTotal = 0;
};

QString resolveTarget(const QString& base, const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QStringList parts = base.isEmpty() ? QStringList() : base.split(QLatin1Char('/'));
    for (const QString& seg : target.split(QLatin1Char('/'))) {
        if (seg == QLatin1String(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (seg != QLatin1String(".") && !seg.isEmpty())
            parts << seg;
    }
    return parts.join(QLatin1Char('/'));
}

// Relationship type (last path segment) -> part name.
QHash<QString, QString> readRelationships(Zip& zip, const QString& relsPart, const QString& base)
{
    QHash<QString, QString> out;
    if (!zip.has(relsPart))
        return out;
    QXmlStreamReader x(zip.read(relsPart));
    while (!x.atEnd()) {
        x.readNext();
        if (x.isDTD())
            zip.fail(dtdRefused(relsPart));
        if (!x.isStartElement() || x.name() != QLatin1String("Relationship"))
            continue;
        const auto a = x.attributes();
        if (a.value(QLatin1String("TargetMode")) == QLatin1String("External"))
            continue;
        out.insert(a.value(QLatin1String("Type")).toString().section(QLatin1Char('/'), -1),
                   resolveTarget(base, a.value(QLatin1String("Target")).toString()));
    }
    if (x.hasError())
        zip.fail(QStringLiteral("malformed XML in '%1' at line %2: %3")
                     .arg(relsPart)
                     .arg(x.lineNumber())
                     .arg(x.errorString()));
    return out;
}

class Parser {
public:
    Parser(const QByteArray& bytes, QString part, const Zip& zip) : mXml(bytes), mPart(std::move(part)), mZip(zip) {}

    bool isW(const char* name) const { return mXml.namespaceUri() == W && mXml.name() == QLatin1String(name); }
    // The character effect the current element switches, if it is one.
    const ooxml::Effect* effect() const { return mXml.namespaceUri() == W ? ooxml::effectNamed(mXml.name()) : nullptr; }
    QString attr(const char* name) const { return mXml.attributes().value(W, QLatin1String(name)).toString(); }
    QString val() const { return attr("val"); }
    int intVal(const char* name = "val", int fallback = 0) const
    {
        bool ok = false;
        const int v = attr(name).toInt(&ok);
        return ok ? v : fallback;
    }
    // A number kept within what word processors offer (see Package.h).
    int intIn(const char* name, int lo, int hi, int fallback = 0) const
    {
        return std::clamp(intVal(name, fallback), lo, hi);
    }
    bool onOff() const
    {
        const QString v = val();
        return !(v == QLatin1String("0") || v == QLatin1String("false") || v == QLatin1String("off"));
    }
    void check()
    {
        if (mXml.hasError())
            mZip.fail(QStringLiteral("malformed XML in '%1' at line %2: %3")
                          .arg(mPart)
                          .arg(mXml.lineNumber())
                          .arg(mXml.errorString()));
    }

    // Reads up to the part's root element; false when there is none.
    bool root()
    {
        while (!mXml.atEnd()) {
            mXml.readNext();
            if (mXml.isDTD())
                mZip.fail(dtdRefused(mPart));
            if (mXml.isStartElement())
                return true;
        }
        check();
        return false;
    }

    // Calls f for each child element of the current one; f must consume it.
    // Every level of elements the reader goes into passes here, so this is
    // where the depth of its recursion is bounded.
    template <class F> void children(F f)
    {
        if (++mDepth > kMaxNestingDepth)
            mZip.fail(QStringLiteral("elements in '%1' are nested too deeply (more than %2 levels)")
                          .arg(mPart)
                          .arg(kMaxNestingDepth));
        while (mXml.readNextStartElement())
            f();
        --mDepth;
        check();
    }

    CharFormat rPr()
    {
        CharFormat c;
        children([&] {
            if (isW("rFonts")) {
                const QString n = attr("ascii").isEmpty() ? attr("hAnsi") : attr("ascii");
                if (!n.isEmpty())
                    c.name = n;
            } else if (const ooxml::Effect* e = effect())
                c.*(e->member) = onOff();
            else if (isW("color")) {
                if (auto v = colourFromHex(val()))
                    c.color = *v;
            } else if (isW("spacing"))
                c.spacing = twipsToPoints(intIn("val", -kMaxTwips, kMaxTwips));
            else if (isW("w"))
                c.scaling = intIn("val", 1, kMaxScaling, 100);
            else if (isW("kern"))
                c.kerning = static_cast<int>(halfPointsToPoints(intIn("val", 0, kMaxHalfPoints)));
            else if (isW("position"))
                c.position = static_cast<int>(halfPointsToPoints(intIn("val", -kMaxHalfPoints, kMaxHalfPoints)));
            else if (isW("sz"))
                c.size = halfPointsToPoints(intIn("val", 1, kMaxHalfPoints, 20));
            else if (isW("u")) {
                c.underline = ooxml::kUnderlines.value(val());
                if (!attr("color").isEmpty())
                    if (auto v = colourFromHex(attr("color")))
                        c.underlineColor = *v;
            } else if (isW("effect"))
                c.animation = ooxml::kAnimations.value(val());
            else if (isW("vertAlign")) {
                c.superscript = val() == QLatin1String("superscript");
                c.subscript = val() == QLatin1String("subscript");
            }
            mXml.skipCurrentElement();
        });
        return c;
    }

    // pPr: style, own format and the mark's format.
    void pPr(Paragraph& p)
    {
        children([&] {
            if (isW("pStyle"))
                p.style = val();
            else if (isW("jc"))
                p.format.align = ooxml::kAlignments.value(val());
            else if (isW("outlineLvl"))
                p.format.outlineLevel = intIn("val", 0, 9) + 1;
            else if (isW("spacing"))
                spacing(p.format);
            else if (isW("rPr")) {
                p.markFormat = rPr();
                return;
            }
            mXml.skipCurrentElement();
        });
    }

    void spacing(ParaFormat& f)
    {
        if (!attr("before").isEmpty())
            f.spaceBefore = intIn("before", 0, kMaxTwips);
        if (!attr("after").isEmpty())
            f.spaceAfter = intIn("after", 0, kMaxTwips);
        if (!attr("line").isEmpty() && (attr("lineRule").isEmpty() || attr("lineRule") == QLatin1String("auto")))
            f.lineSpacing = intIn("line", kMinLineSpacing, kMaxLineSpacing, 240);
    }

    void paragraphContent(Paragraph& p)
    {
        children([&] {
            if (isW("pPr"))
                pPr(p);
            else if (isW("r"))
                run(p);
            else if (isW("bookmarkStart") || isW("bookmarkEnd")) {
                p.marks.push_back({attr("name"), intVal("id"), isW("bookmarkStart"), mLength});
                mXml.skipCurrentElement();
            } else if (isW("hyperlink") || isW("ins") || isW("smartTag") || isW("sdt") || isW("sdtContent")
                       || isW("fldSimple") || isW("customXml")) {
                paragraphContent(p);  // their runs are the paragraph's text
            } else
                mXml.skipCurrentElement();
        });
    }

    void run(Paragraph& p)
    {
        Run r;
        children([&] {
            if (isW("rPr")) {
                r.format = rPr();
                return;
            }
            if (isW("t")) {
                r.text += mXml.readElementText();
                return;
            }
            if (isW("tab"))
                r.text += QLatin1Char('\t');
            else if (isW("br") || isW("cr"))
                r.text += QLatin1Char('\n');
            mXml.skipCurrentElement();
        });
        mLength += static_cast<int>(r.text.size());
        p.runs.push_back(std::move(r));
    }

    Paragraph paragraph()
    {
        Paragraph p;
        mLength = 0;
        paragraphContent(p);
        return p;
    }

    Table table()
    {
        Table t;
        std::vector<int> grid;
        children([&] {
            if (isW("tblPr")) {
                children([&] {
                    if (isW("tblStyle"))
                        t.style = val();
                    mXml.skipCurrentElement();
                });
            } else if (isW("tblGrid")) {
                children([&] {
                    if (isW("gridCol"))
                        grid.push_back(intIn("w", 0, kMaxTwips));
                    mXml.skipCurrentElement();
                });
            } else if (isW("tr")) {
                Row row = tableRow(grid);
                if (!row.cells.empty())
                    t.rows.push_back(std::move(row));
            } else
                mXml.skipCurrentElement();
        });
        return t;
    }

    // tr: its cells, each as wide as it says or else as the grid columns it spans.
    Row tableRow(const std::vector<int>& grid)
    {
        Row row;
        size_t gridAt = 0;
        int rowWidth = 0;
        children([&] {
            if (isW("trPr")) {
                children([&] {
                    if (isW("cantSplit"))
                        row.cantSplit = onOff();
                    mXml.skipCurrentElement();
                });
                return;
            }
            if (!isW("tc")) {
                mXml.skipCurrentElement();
                return;
            }
            int span = 1;
            Cell c = tableCell(span);
            if (c.width <= 0) {
                for (size_t k = gridAt; k < gridAt + static_cast<size_t>(span) && k < grid.size(); ++k)
                    c.width += grid[k];  // at most kMaxGridSpan * kMaxTwips
                c.width = std::min(c.width, kMaxTwips);
            }
            gridAt += static_cast<size_t>(span);
            // A row stays narrow enough for its widths to be added up
            // in an int anywhere; cells beyond keep their text, no width.
            c.width = std::min(c.width, kMaxRowTwips - rowWidth);
            rowWidth += c.width;
            if (c.paragraphs.empty())
                c.paragraphs.emplace_back();
            row.cells.push_back(std::move(c));
        });
        return row;
    }

    // tc: its own format, the grid columns it spans and its paragraphs.
    Cell tableCell(int& span)
    {
        Cell c;
        children([&] {
            if (isW("tcPr")) {
                children([&] {
                    if (isW("tcW") && (attr("type").isEmpty() || attr("type") == QLatin1String("dxa")))
                        c.width = intIn("w", 0, kMaxTwips);
                    else if (isW("gridSpan"))
                        span = intIn("val", 1, kMaxGridSpan, 1);
                    else if (isW("shd") && !attr("fill").isEmpty() && attr("fill") != QLatin1String("auto"))
                        c.shading = colourFromHex(attr("fill"));
                    mXml.skipCurrentElement();
                });
            } else if (isW("p"))
                c.paragraphs.push_back(paragraph());
            else if (isW("tbl"))
                flattenInto(c, table());
            else
                mXml.skipCurrentElement();
        });
        return c;
    }

    // A table inside a cell is kept as its text, one paragraph per cell.
    static void flattenInto(Cell& c, Table&& t)
    {
        for (Row& r : t.rows)
            for (Cell& inner : r.cells)
                for (Paragraph& p : inner.paragraphs)
                    c.paragraphs.push_back(std::move(p));
    }

    void body(DocumentModel& m)
    {
        children([&] {
            if (isW("p"))
                m.body.emplace_back(paragraph());
            else if (isW("tbl")) {
                Table t = table();
                if (!t.rows.empty())
                    m.body.emplace_back(std::move(t));
            } else if (isW("sdt") || isW("sdtContent") || isW("customXml"))
                body(m);
            else if (isW("sectPr"))
                sectPr(m.page);
            else
                mXml.skipCurrentElement();
        });
    }

    void sectPr(PageSetup& page)
    {
        PageSetup p = page;
        children([&] {
            if (isW("pgSz")) {
                p.width = intVal("w", p.width);
                p.height = intVal("h", p.height);
            } else if (isW("pgMar")) {
                p.top = intVal("top", p.top);
                p.bottom = intVal("bottom", p.bottom);
                p.left = intVal("left", p.left);
                p.right = intVal("right", p.right);
                p.header = intIn("header", 0, kMaxTwips, p.header);
                p.footer = intIn("footer", 0, kMaxTwips, p.footer);
            }
            mXml.skipCurrentElement();
        });
        // A page larger than any paper, or with no room for text, can't be
        // laid out: fall back to Letter. The range is checked first, so the
        // arithmetic after it can't overflow.
        const auto inRange = [](int v) { return v >= -kMaxTwips && v <= kMaxTwips; };
        if (!(inRange(p.width) && inRange(p.height) && inRange(p.top) && inRange(p.bottom) && inRange(p.left)
              && inRange(p.right))) {
            page = PageSetup();
            return;
        }
        p.top = std::abs(p.top);  // a negative top or bottom margin is one text may not push
        p.bottom = std::abs(p.bottom);
        const int room = kTwipsPerInch / 2;
        page = p.width - p.left - p.right < room || p.height - p.top - p.bottom < room ? PageSetup() : p;
    }

    void document(DocumentModel& m)
    {
        if (!root() || !isW("document")) {
            check();
            mZip.fail(QStringLiteral("'%1' is not a word-processing document").arg(mPart));
        }
        children([&] {
            if (isW("body"))
                body(m);
            else
                mXml.skipCurrentElement();
        });
    }

    void styles(DocumentModel& m)
    {
        if (!root())
            return;
        children([&] {
            if (isW("docDefaults")) {
                children([&] {
                    if (isW("rPrDefault"))
                        children([&] {
                            if (isW("rPr"))
                                m.defaultChars = rPr();
                            else
                                mXml.skipCurrentElement();
                        });
                    else if (isW("pPrDefault"))
                        children([&] {
                            if (isW("pPr")) {
                                Paragraph p;
                                pPr(p);
                                m.defaultPara = p.format;
                            } else
                                mXml.skipCurrentElement();
                        });
                    else
                        mXml.skipCurrentElement();
                });
            } else if (isW("style")) {
                Style s;
                s.type = ooxml::kStyleTypes.value(attr("type"));
                s.id = attr("styleId");
                const QString d = attr("default");
                s.isDefault = d == QLatin1String("1") || d == QLatin1String("true");
                children([&] {
                    if (isW("name"))
                        s.name = val();
                    else if (isW("basedOn"))
                        s.basedOn = val();
                    else if (isW("next"))
                        s.next = val();
                    else if (isW("rPr")) {
                        s.chars = rPr();
                        return;
                    } else if (isW("pPr")) {
                        Paragraph p;
                        pPr(p);
                        s.para = p.format;
                        return;
                    }
                    mXml.skipCurrentElement();
                });
                if (!s.id.isEmpty())
                    m.styles.push_back(std::move(s));
            } else
                mXml.skipCurrentElement();
        });
    }

    void settings(DocumentModel& m)
    {
        if (!root())
            return;
        children([&] {
            if (isW("defaultTabStop"))
                m.defaultTabStop = std::clamp(intVal("val", kTwipsPerInch / 2), 1, kMaxTwips);
            mXml.skipCurrentElement();
        });
    }

    void fonts(DocumentModel& m)
    {
        if (!root())
            return;
        children([&] {
            if (isW("font") && !attr("name").isEmpty())
                m.fonts << attr("name");
            mXml.skipCurrentElement();
        });
    }

    void core(DocumentModel& m)
    {
        if (!root())
            return;
        while (mXml.readNextStartElement()) {
            const QString name = mXml.name().toString();
            const QString text = mXml.readElementText(QXmlStreamReader::SkipChildElements);
            if (name == QLatin1String("title"))
                m.properties.title = text;
            else if (name == QLatin1String("creator"))
                m.properties.creator = text;
            else if (name == QLatin1String("created"))
                m.properties.created = QDateTime::fromString(text, Qt::ISODate);
            else if (name == QLatin1String("modified"))
                m.properties.modified = QDateTime::fromString(text, Qt::ISODate);
        }
        check();
    }

    QXmlStreamReader mXml;
    QString mPart;
    const Zip& mZip;
    int mDepth = 0;
    int mLength = 0;  // of the paragraph being read so far, where its bookmarks stand
};

}  // namespace

DocumentModel readPackage(const QByteArray& bytes, const QString& name)
{
    if (bytes.size() > kMaxPackageBytes)
        throw DocumentError(
            QStringLiteral("Can't open '%1': the file is larger than %2 MB").arg(name).arg(kMaxPackageBytes >> 20));
    if (bytes.size() < 22)  // shorter than the smallest zip directory
        throw DocumentError(
            QStringLiteral("Can't open '%1': it is not a document package (no zip container)").arg(name));
    Zip zip(bytes, name);
    const auto rootRels = readRelationships(zip, QStringLiteral("_rels/.rels"), QString());
    const QString main = rootRels.value(ooxml::kOfficeDocument.name(), QStringLiteral("word/document.xml"));
    if (!zip.has(main))
        zip.fail(QStringLiteral("the main part '%1' is missing").arg(main));
    const QString folder = main.contains(QLatin1Char('/')) ? main.section(QLatin1Char('/'), 0, -2) : QString();
    const QString mainRels = (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/")
                             + main.section(QLatin1Char('/'), -1) + QStringLiteral(".rels");
    const auto rels = readRelationships(zip, mainRels, folder);

    DocumentModel m;
    {
        Parser p(zip.read(main), main, zip);
        p.document(m);
    }
    // A part that mentions the relationships namespace points at other parts;
    // it is known by the namespace's path, whatever scheme and host it has.
    const QByteArray pointsElsewhere =
        QString::fromLatin1(ooxml::kRelationshipsNamespace).section(QLatin1Char('/'), 3).toLatin1();
    using Fill = void (Parser::*)(DocumentModel&);
    using Kept = QByteArray DocumentModel::*;
    for (const auto& [type, fill, kept] :
         {std::tuple<ooxml::RelationshipType, Fill, Kept>{ooxml::kStyles, &Parser::styles, &DocumentModel::stylesPart},
          {ooxml::kSettings, &Parser::settings, &DocumentModel::settingsPart},
          {ooxml::kFontTable, &Parser::fonts, nullptr}}) {
        const QString part = rels.value(type.name());
        if (!part.isEmpty() && zip.has(part)) {
            const QByteArray bytes = zip.read(part);
            Parser p(bytes, part, zip);
            (p.*fill)(m);
            // Kept as read unless it points at other parts, which a save
            // does not carry along.
            if (kept && !bytes.contains(pointsElsewhere))
                m.*kept = bytes;
        }
    }
    const QString corePart = rootRels.value(ooxml::kCoreProperties.name());
    if (!corePart.isEmpty() && zip.has(corePart)) {
        Parser p(zip.read(corePart), corePart, zip);
        p.core(m);
    }
    m.isTemplate = false;
    return m;
}

DocumentModel loadPackage(const QString& path)
{
    QByteArray bytes;
    try {
        // Never waits on a FIFO or a device put where a document should be.
        platform::FileDescriptor file(platform::openRegularForReading(path, platform::Links::Follow));
        bytes = platform::readAll(file.get(), kMaxPackageBytes, path);
    } catch (const platform::FileError& e) {
        if (e.code() == EFBIG)
            throw DocumentError(
                QStringLiteral("Can't open '%1': the file is larger than %2 MB").arg(path).arg(kMaxPackageBytes >> 20));
        throw DocumentError(QStringLiteral("Can't open '%1': %2").arg(path, e.reason()));
    }
    return readPackage(bytes, path);
}

}  // namespace wordproc
