#include "wordproc/Package.h"

#include "platform/Product.h"
#include "platform/SafeFile.h"
#include "platform/Units.h"
#include "wordproc/Vocabulary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamWriter>

#include <cmath>
#include <set>
#include <zip.h>

namespace wordproc {

using namespace platform::units;

namespace {

const QString W = QString::fromLatin1(ooxml::kWordNamespace);
const QString R = QString::fromLatin1(ooxml::kRelationshipsNamespace);

// Characters XML 1.0 can't carry are dropped rather than written broken.
QString xmlSafe(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            out += c;
            out += s.at(++i);
        } else if (c.isSurrogate() || (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
                   || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) {
            continue;
        } else {
            out += c;
        }
    }
    return out;
}

class Writer {
public:
    explicit Writer(QByteArray* out) : mXml(out)
    {
        mXml.setAutoFormatting(false);
        mXml.writeStartDocument(QStringLiteral("1.0"), true);
    }
    void val(const char* element, const QString& value)
    {
        mXml.writeEmptyElement(W, QLatin1String(element));
        mXml.writeAttribute(W, QStringLiteral("val"), value);
    }
    void onOff(const char* element, const std::optional<bool>& v)
    {
        if (v)
            val(element, *v ? QStringLiteral("1") : QStringLiteral("0"));
    }
    void twips(const char* element, int w)
    {
        mXml.writeEmptyElement(W, QLatin1String(element));
        mXml.writeAttribute(W, QStringLiteral("w"), QString::number(w));
        mXml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("dxa"));
    }

    void rPr(const CharFormat& f)
    {
        if (f == CharFormat())
            return;
        mXml.writeStartElement(W, QStringLiteral("rPr"));
        if (f.name) {
            mXml.writeEmptyElement(W, QStringLiteral("rFonts"));
            for (const char* a : {"ascii", "hAnsi", "eastAsia", "cs"})
                mXml.writeAttribute(W, QLatin1String(a), *f.name);
        }
        for (const ooxml::Effect& e : ooxml::kEffects) {
            onOff(e.token, f.*e.member);
            if (e.complexScript)
                onOff(e.complexScript, f.*e.member);
        }
        if (f.color)
            val("color", colourToHex(*f.color));
        if (f.spacing)
            val("spacing", QString::number(std::lround(pointsToTwips(*f.spacing))));
        if (f.scaling)
            val("w", QString::number(*f.scaling));
        if (f.kerning)
            val("kern", QString::number(std::lround(pointsToHalfPoints(*f.kerning))));
        if (f.position)
            val("position", QString::number(std::lround(pointsToHalfPoints(*f.position))));
        if (f.size) {
            const QString halfPoints = QString::number(std::lround(pointsToHalfPoints(*f.size)));
            val("sz", halfPoints);
            val("szCs", halfPoints);
        }
        if (f.underline || f.underlineColor) {
            mXml.writeEmptyElement(W, QStringLiteral("u"));
            mXml.writeAttribute(W, QStringLiteral("val"),
                                ooxml::kUnderlines.token(f.underline.value_or(UnderlineNone)));
            if (f.underlineColor)
                mXml.writeAttribute(W, QStringLiteral("color"), colourToHex(*f.underlineColor));
        }
        if (f.animation)
            val("effect", ooxml::kAnimations.token(*f.animation));
        if (f.superscript || f.subscript) {
            const bool sup = f.superscript.value_or(false), sub = f.subscript.value_or(false);
            val("vertAlign", sup   ? QStringLiteral("superscript")
                             : sub ? QStringLiteral("subscript")
                                   : QStringLiteral("baseline"));
        }
        mXml.writeEndElement();
    }

    void pPrContent(const ParaFormat& p)
    {
        if (p.spaceBefore || p.spaceAfter || p.lineSpacing) {
            mXml.writeEmptyElement(W, QStringLiteral("spacing"));
            if (p.spaceBefore)
                mXml.writeAttribute(W, QStringLiteral("before"), QString::number(*p.spaceBefore));
            if (p.spaceAfter)
                mXml.writeAttribute(W, QStringLiteral("after"), QString::number(*p.spaceAfter));
            if (p.lineSpacing) {
                mXml.writeAttribute(W, QStringLiteral("line"), QString::number(*p.lineSpacing));
                mXml.writeAttribute(W, QStringLiteral("lineRule"), QStringLiteral("auto"));
            }
        }
        if (p.align)
            val("jc", ooxml::kAlignments.token(*p.align));
        if (p.outlineLevel)
            val("outlineLvl", QString::number(*p.outlineLevel - 1));
    }

    void paragraph(const Paragraph& p)
    {
        mXml.writeStartElement(W, QStringLiteral("p"));
        if (!p.style.isEmpty() || !(p.format == ParaFormat()) || !(p.markFormat == CharFormat())) {
            mXml.writeStartElement(W, QStringLiteral("pPr"));
            if (!p.style.isEmpty())
                val("pStyle", p.style);
            pPrContent(p.format);
            rPr(p.markFormat);
            mXml.writeEndElement();
        }
        // Runs are cut where bookmarks start or end.
        int offset = 0;
        size_t mark = 0;
        auto marksAt = [&](int at) {
            for (; mark < p.marks.size() && p.marks[mark].offset <= at; ++mark) {
                const BookmarkMark& m = p.marks[mark];
                mXml.writeEmptyElement(W, m.start ? QStringLiteral("bookmarkStart") : QStringLiteral("bookmarkEnd"));
                mXml.writeAttribute(W, QStringLiteral("id"), QString::number(m.id));
                if (m.start)
                    mXml.writeAttribute(W, QStringLiteral("name"), m.name);
            }
        };
        for (const Run& r : p.runs) {
            marksAt(offset);
            const int len = static_cast<int>(r.text.size());
            int done = 0;
            do {
                const int next =
                    mark < p.marks.size() && p.marks[mark].offset < offset + len ? p.marks[mark].offset - offset : len;
                run(r.text.mid(done, next - done), r.format);
                done = next;
                marksAt(offset + done);
            } while (done < len);
            offset += len;
        }
        marksAt(std::numeric_limits<int>::max());
        mXml.writeEndElement();
    }

    void run(const QString& text, const CharFormat& f)
    {
        mXml.writeStartElement(W, QStringLiteral("r"));
        rPr(f);
        QString chunk;
        auto flush = [&](bool always) {
            if (chunk.isEmpty() && !always)
                return;
            mXml.writeStartElement(W, QStringLiteral("t"));
            mXml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            mXml.writeCharacters(chunk);
            mXml.writeEndElement();
            chunk.clear();
        };
        const QString safe = xmlSafe(text);
        if (safe.isEmpty())
            flush(true);  // an empty run keeps its format
        for (qsizetype i = 0; i < safe.size(); ++i) {
            const QChar c = safe.at(i);
            if (c == u'\t' || c == u'\n' || c == u'\r') {
                flush(false);
                mXml.writeEmptyElement(W, c == u'\t' ? QStringLiteral("tab") : QStringLiteral("br"));
                // A line end pasted from another system (CR LF) is one break.
                if (c == u'\r' && i + 1 < safe.size() && safe.at(i + 1) == u'\n')
                    ++i;
            } else {
                chunk += c;
            }
        }
        flush(false);
        mXml.writeEndElement();
    }

    void table(const Table& t)
    {
        // The grid is every cell edge of every row, so rows of different cell
        // widths line up as designed.
        std::set<int> edges{0};
        for (const Row& r : t.rows) {
            int at = 0;
            for (const Cell& c : r.cells)
                edges.insert(at += c.width);
        }
        const std::vector<int> grid(edges.begin(), edges.end());
        mXml.writeStartElement(W, QStringLiteral("tbl"));
        mXml.writeStartElement(W, QStringLiteral("tblPr"));
        if (!t.style.isEmpty())
            val("tblStyle", t.style);
        twips("tblW", grid.back());
        mXml.writeEmptyElement(W, QStringLiteral("tblLayout"));
        mXml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("fixed"));
        mXml.writeEndElement();
        mXml.writeStartElement(W, QStringLiteral("tblGrid"));
        for (size_t i = 1; i < grid.size(); ++i) {
            mXml.writeEmptyElement(W, QStringLiteral("gridCol"));
            mXml.writeAttribute(W, QStringLiteral("w"), QString::number(grid[i] - grid[i - 1]));
        }
        mXml.writeEndElement();
        for (const Row& r : t.rows) {
            mXml.writeStartElement(W, QStringLiteral("tr"));
            if (r.cantSplit) {
                mXml.writeStartElement(W, QStringLiteral("trPr"));
                mXml.writeEmptyElement(W, QStringLiteral("cantSplit"));
                mXml.writeEndElement();
            }
            int at = 0;
            for (const Cell& c : r.cells) {
                const auto from = std::lower_bound(grid.begin(), grid.end(), at);
                at += c.width;
                const auto to = std::lower_bound(grid.begin(), grid.end(), at);
                mXml.writeStartElement(W, QStringLiteral("tc"));
                mXml.writeStartElement(W, QStringLiteral("tcPr"));
                twips("tcW", c.width);
                if (to - from > 1)
                    val("gridSpan", QString::number(to - from));
                if (c.shading) {
                    mXml.writeEmptyElement(W, QStringLiteral("shd"));
                    mXml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("clear"));
                    mXml.writeAttribute(W, QStringLiteral("color"), QStringLiteral("auto"));
                    mXml.writeAttribute(W, QStringLiteral("fill"), colourToHex(*c.shading));
                }
                mXml.writeEndElement();
                for (const Paragraph& p : c.paragraphs)
                    paragraph(p);
                if (c.paragraphs.empty())  // a cell must end with a paragraph
                    paragraph(Paragraph());
                mXml.writeEndElement();
            }
            mXml.writeEndElement();
        }
        mXml.writeEndElement();
    }

    QXmlStreamWriter mXml;
};

QByteArray contentTypes(bool isTemplate)
{
    const QString main =
        isTemplate ? QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml")
                   : QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
    QByteArray out;
    QXmlStreamWriter x(&out);
    const QString ns = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeDefaultNamespace(ns);
    x.writeStartElement(ns, QStringLiteral("Types"));
    auto def = [&](const char* ext, const char* type) {
        x.writeEmptyElement(ns, QStringLiteral("Default"));
        x.writeAttribute(QStringLiteral("Extension"), QLatin1String(ext));
        x.writeAttribute(QStringLiteral("ContentType"), QLatin1String(type));
    };
    auto over = [&](const char* part, const QString& type) {
        x.writeEmptyElement(ns, QStringLiteral("Override"));
        x.writeAttribute(QStringLiteral("PartName"), QLatin1String(part));
        x.writeAttribute(QStringLiteral("ContentType"), type);
    };
    def("rels", "application/vnd.openxmlformats-package.relationships+xml");
    def("xml", "application/xml");
    over("/word/document.xml", main);
    over("/word/styles.xml",
         QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"));
    over("/word/settings.xml",
         QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"));
    over("/word/fontTable.xml",
         QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml"));
    over("/docProps/core.xml", QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml"));
    over("/docProps/app.xml", QStringLiteral("application/vnd.openxmlformats-officedocument.extended-properties+xml"));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray relationships(const std::vector<std::pair<QString, QString>>& rels)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    const QString ns = QString::fromLatin1(ooxml::kPackageRelationshipsNamespace);
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeDefaultNamespace(ns);
    x.writeStartElement(ns, QStringLiteral("Relationships"));
    int id = 1;
    for (const auto& [type, target] : rels) {
        x.writeEmptyElement(ns, QStringLiteral("Relationship"));
        x.writeAttribute(QStringLiteral("Id"), QStringLiteral("rId%1").arg(id++));
        x.writeAttribute(QStringLiteral("Type"), type);
        x.writeAttribute(QStringLiteral("Target"), target);
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray fontTableXml(const DocumentModel& m)
{
    QByteArray out;
    Writer w(&out);
    w.mXml.writeNamespace(W, QStringLiteral("w"));
    w.mXml.writeStartElement(W, QStringLiteral("fonts"));
    for (const QString& f : m.fonts) {
        w.mXml.writeStartElement(W, QStringLiteral("font"));
        w.mXml.writeAttribute(W, QStringLiteral("name"), f);
        const bool roman = f == QLatin1String("Times New Roman") || f == QLatin1String("Cambria Math");
        w.val("charset", f == QLatin1String("Symbol") ? QStringLiteral("02") : QStringLiteral("00"));
        w.val("family", f == QLatin1String("Symbol") ? QStringLiteral("roman")
                        : roman                      ? QStringLiteral("roman")
                                                     : QStringLiteral("swiss"));
        w.val("pitch", QStringLiteral("variable"));
        w.mXml.writeEndElement();
    }
    w.mXml.writeEndElement();
    w.mXml.writeEndDocument();
    return out;
}

QByteArray settingsXml(const DocumentModel& m)
{
    QByteArray out;
    Writer w(&out);
    w.mXml.writeNamespace(W, QStringLiteral("w"));
    w.mXml.writeStartElement(W, QStringLiteral("settings"));
    w.mXml.writeEmptyElement(W, QStringLiteral("zoom"));
    w.mXml.writeAttribute(W, QStringLiteral("percent"), QStringLiteral("100"));
    w.val("defaultTabStop", QString::number(m.defaultTabStop));
    w.val("characterSpacingControl", QStringLiteral("doNotCompress"));
    w.mXml.writeEndElement();
    w.mXml.writeEndDocument();
    return out;
}

QByteArray coreXml(const DocumentModel& m)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    const QString cp = QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties");
    const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
    const QString dcterms = QStringLiteral("http://purl.org/dc/terms/");
    const QString xsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeNamespace(cp, QStringLiteral("cp"));
    x.writeNamespace(dc, QStringLiteral("dc"));
    x.writeNamespace(dcterms, QStringLiteral("dcterms"));
    x.writeNamespace(xsi, QStringLiteral("xsi"));
    x.writeStartElement(cp, QStringLiteral("coreProperties"));
    if (!m.properties.title.isEmpty())
        x.writeTextElement(dc, QStringLiteral("title"), xmlSafe(m.properties.title));
    x.writeTextElement(dc, QStringLiteral("creator"), xmlSafe(m.properties.creator));
    auto stamp = [&](const char* name, QDateTime t) {
        if (!t.isValid())
            t = QDateTime::currentDateTimeUtc();
        x.writeStartElement(dcterms, QLatin1String(name));
        x.writeAttribute(xsi, QStringLiteral("type"), QStringLiteral("dcterms:W3CDTF"));
        x.writeCharacters(t.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
        x.writeEndElement();
    };
    stamp("created", m.properties.created);
    stamp("modified", m.properties.modified);
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray appXml(int pages)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    const QString ns = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/extended-properties");
    x.writeStartDocument(QStringLiteral("1.0"), true);
    x.writeDefaultNamespace(ns);
    x.writeStartElement(ns, QStringLiteral("Properties"));
    x.writeTextElement(ns, QStringLiteral("Pages"), QString::number(pages));
    x.writeTextElement(ns, QStringLiteral("Application"), QString::fromLatin1(platform::kProductName));
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

}  // namespace

QByteArray documentXml(const DocumentModel& m)
{
    QByteArray out;
    Writer w(&out);
    w.mXml.writeNamespace(W, QStringLiteral("w"));
    w.mXml.writeNamespace(R, QStringLiteral("r"));
    w.mXml.writeStartElement(W, QStringLiteral("document"));
    w.mXml.writeStartElement(W, QStringLiteral("body"));
    for (const Block& b : m.body) {
        if (const auto* p = std::get_if<Paragraph>(&b))
            w.paragraph(*p);
        else
            w.table(std::get<Table>(b));
    }
    w.mXml.writeStartElement(W, QStringLiteral("sectPr"));
    w.mXml.writeEmptyElement(W, QStringLiteral("pgSz"));
    w.mXml.writeAttribute(W, QStringLiteral("w"), QString::number(m.page.width));
    w.mXml.writeAttribute(W, QStringLiteral("h"), QString::number(m.page.height));
    w.mXml.writeEmptyElement(W, QStringLiteral("pgMar"));
    const std::pair<const char*, int> margins[] = {
        {"top", m.page.top},   {"right", m.page.right},   {"bottom", m.page.bottom},
        {"left", m.page.left}, {"header", m.page.header}, {"footer", m.page.footer},
        {"gutter", 0}};
    for (const auto& [name, v] : margins)
        w.mXml.writeAttribute(W, QLatin1String(name), QString::number(v));
    w.mXml.writeEndElement();
    w.mXml.writeEndElement();
    w.mXml.writeEndElement();
    w.mXml.writeEndDocument();
    return out;
}

QByteArray stylesXml(const DocumentModel& m)
{
    QByteArray out;
    Writer w(&out);
    w.mXml.writeNamespace(W, QStringLiteral("w"));
    w.mXml.writeStartElement(W, QStringLiteral("styles"));
    w.mXml.writeStartElement(W, QStringLiteral("docDefaults"));
    w.mXml.writeStartElement(W, QStringLiteral("rPrDefault"));
    w.rPr(m.defaultChars);
    w.mXml.writeEndElement();
    w.mXml.writeStartElement(W, QStringLiteral("pPrDefault"));
    w.mXml.writeStartElement(W, QStringLiteral("pPr"));
    w.pPrContent(m.defaultPara);
    w.mXml.writeEndElement();
    w.mXml.writeEndElement();
    w.mXml.writeEndElement();
    for (const Style& s : m.styles) {
        w.mXml.writeStartElement(W, QStringLiteral("style"));
        w.mXml.writeAttribute(W, QStringLiteral("type"), ooxml::kStyleTypes.token(s.type));
        if (s.isDefault)
            w.mXml.writeAttribute(W, QStringLiteral("default"), QStringLiteral("1"));
        w.mXml.writeAttribute(W, QStringLiteral("styleId"), s.id);
        w.val("name", s.name);
        if (!s.basedOn.isEmpty())
            w.val("basedOn", s.basedOn);
        if (!s.next.isEmpty())
            w.val("next", s.next);
        if (s.type == StyleType::Paragraph) {
            if (!(s.para == ParaFormat())) {
                w.mXml.writeStartElement(W, QStringLiteral("pPr"));
                w.pPrContent(s.para);
                w.mXml.writeEndElement();
            }
            w.rPr(s.chars);
        }
        if (s.type == StyleType::Table) {
            // The default cell margins of every table.
            w.mXml.writeStartElement(W, QStringLiteral("tblPr"));
            w.twips("tblInd", 0);
            w.mXml.writeStartElement(W, QStringLiteral("tblCellMar"));
            w.twips("top", 0);
            w.twips("left", kCellMargin);
            w.twips("bottom", 0);
            w.twips("right", kCellMargin);
            w.mXml.writeEndElement();
            w.mXml.writeEndElement();
        }
        w.mXml.writeEndElement();
    }
    w.mXml.writeEndElement();
    w.mXml.writeEndDocument();
    return out;
}

namespace {

// The zip container, made in memory so that the file is written in one go.
QByteArray zipOf(const std::vector<std::pair<const char*, QByteArray>>& parts)
{
    zip_error_t error;
    zip_error_init(&error);
    const auto failure = [&](zip_error_t* e) {
        const QString why = QString::fromLocal8Bit(zip_error_strerror(e));
        zip_error_fini(&error);
        return DocumentError(QStringLiteral("the package can't be made (%1)").arg(why));
    };
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        throw failure(&error);
    zip_t* zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!zip) {
        zip_source_free(buffer);
        throw failure(&error);
    }
    zip_source_keep(buffer);  // it holds the result once the archive is closed
    for (const auto& [name, bytes] : parts) {
        zip_source_t* src = zip_source_buffer(zip, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        if (!src || zip_file_add(zip, name, src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            if (src)
                zip_source_free(src);
            const DocumentError e = failure(zip_get_error(zip));
            zip_discard(zip);
            zip_source_free(buffer);
            throw e;
        }
    }
    if (zip_close(zip) != 0) {
        const DocumentError e = failure(zip_get_error(zip));
        zip_discard(zip);
        zip_source_free(buffer);
        throw e;
    }
    QByteArray out;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_open(buffer) == 0) {
        if (zip_source_stat(buffer, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
            out.resize(static_cast<qsizetype>(st.size));
            if (zip_source_read(buffer, out.data(), st.size) != static_cast<zip_int64_t>(st.size))
                out.clear();
        }
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    zip_error_fini(&error);
    if (out.isEmpty())
        throw DocumentError(QStringLiteral("the package can't be made"));
    return out;
}

}  // namespace

void savePackage(const DocumentModel& m, const QString& path, int pages)
{
    const std::vector<std::pair<const char*, QByteArray>> parts = {
        {"[Content_Types].xml", contentTypes(m.isTemplate)},
        {"_rels/.rels", relationships({{ooxml::kOfficeDocument.uri(), QStringLiteral("word/document.xml")},
                                       {ooxml::kCoreProperties.uri(), QStringLiteral("docProps/core.xml")},
                                       {ooxml::kExtendedProperties.uri(), QStringLiteral("docProps/app.xml")}})},
        {"word/document.xml", documentXml(m)},
        {"word/_rels/document.xml.rels", relationships({{ooxml::kStyles.uri(), QStringLiteral("styles.xml")},
                                                        {ooxml::kSettings.uri(), QStringLiteral("settings.xml")},
                                                        {ooxml::kFontTable.uri(), QStringLiteral("fontTable.xml")}})},
        {"word/styles.xml", m.stylesPart.isEmpty() ? stylesXml(m) : m.stylesPart},
        {"word/settings.xml", m.settingsPart.isEmpty() ? settingsXml(m) : m.settingsPart},
        {"word/fontTable.xml", fontTableXml(m)},
        {"docProps/core.xml", coreXml(m)},
        {"docProps/app.xml", appXml(pages)},
    };
    try {
        // Written whole beside the old file, then put in its place: a failure
        // never leaves a half-written document, and a document saved over
        // another keeps that one's permissions.
        platform::replaceFile(path, zipOf(parts), platform::defaultFileMode());
    } catch (const platform::FileError& e) {
        throw DocumentError(QStringLiteral("Can't save '%1': %2").arg(path, e.reason()));
    } catch (const DocumentError& e) {
        throw DocumentError(QStringLiteral("Can't save '%1': %2").arg(path, QString::fromStdString(e.what())));
    }
}

}  // namespace wordproc
