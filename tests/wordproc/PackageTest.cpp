#include "wordproc/Package.h"
#include "app/Resources.h"
#include "tests/support/SampleMeeting.h"
#include "tests/support/TestSupport.h"
#include "wordproc/Layout.h"
#include "wordproc/Vocabulary.h"
#include "wordproc/WordApplication.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <map>

#include <gtest/gtest.h>
#include <zip.h>

using namespace wordproc;
using automation::get;

namespace {

// Fills the template with the sample meeting through the by-name skin and saves it.
QString saveSample(const QTemporaryDir& dir)
{
    const QString templatePath = testing_support::writeTemplate(dir.path());
    const auto word = createWordApplication();
    testing_support::typePieces(word, templatePath, testing_support::samplePieces());
    const QString out = dir.filePath(QStringLiteral("kvarne53918264.doc"));
    automation::call(get(word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("SaveAs"), {out});
    automation::call(word, QStringLiteral("Quit"));
    return out;
}

// Runs the shared schema check, which lies in the shared folder beside the repository.
void expectValid(const QString& path)
{
    const QString tool = QStringLiteral(SHARED_FOLDER "/tools/validate-ooxml");
    // The check is part of the suite: when it can't run, the test says why and fails.
    ASSERT_TRUE(QFileInfo::exists(tool)) << "the schema checker " << tool.toStdString()
                                         << " is missing: the shared folder must lie beside the repository";
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        << "xmllint is missing: install libxml2-utils (scripts/test.sh does)";
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty()) << "python3 is missing";
    QProcess p;
    p.start(QStringLiteral("python3"), {tool, path});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString() << p.readAllStandardError().toStdString();
}

QString openFailure(const QByteArray& bytes)
{
    try {
        readPackage(bytes, QStringLiteral("x.doc"));
    } catch (const DocumentError& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(opened)");
}

QByteArray zipOf(const std::vector<std::pair<const char*, QByteArray>>& parts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.zip"));
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &err);
    for (const auto& [name, bytes] : parts)
        zip_file_add(z, name, zip_source_buffer(z, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0), 0);
    zip_close(z);
    return testing_support::readAll(path);
}

const QByteArray kRels =
    "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

// A package of one document part holding `body`.
QByteArray packageOf(const QByteArray& body)
{
    return zipOf({{"_rels/.rels", kRels},
                  {"word/document.xml",
                   "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
                       + body + "</w:body></w:document>"}});
}

// All the text of a block, a table's cell by cell.
QString textOf(const Block& b)
{
    if (const auto* p = std::get_if<Paragraph>(&b))
        return p->text();
    QString t;
    for (const Row& r : std::get<Table>(b).rows)
        for (const Cell& c : r.cells)
            for (const Paragraph& p : c.paragraphs)
                t += p.text();
    return t;
}

}  // namespace

TEST(Package, ASavedDocumentGivesBackEveryCellAndEveryAttribute)
{
    QTemporaryDir dir;
    const QString saved = saveSample(dir);
    const DocumentModel m = loadPackage(saved);
    auto tables = const_cast<DocumentModel&>(m).tables();
    for (const auto& piece : testing_support::samplePieces()) {
        SCOPED_TRACE(piece.text.toStdString());
        const Cell& c = tables[piece.table - 1]->rows[piece.row - 1].cells[piece.cell - 1];
        ASSERT_EQ(c.paragraphs.size(), 1u);
        ASSERT_EQ(c.paragraphs[0].runs.size(), 1u);
        EXPECT_EQ(c.paragraphs[0].text(), piece.text);
        const CharFormat& f = c.paragraphs[0].runs[0].format;
        CharFormat expected;
        expected.name = QStringLiteral("Tahoma");
        expected.size = piece.size;
        expected.bold = expected.italic = expected.strike = expected.doubleStrike = false;
        expected.outline = expected.emboss = expected.shadow = expected.hidden = expected.smallCaps = false;
        expected.allCaps = piece.caps;
        expected.underline = 0;
        expected.underlineColor = expected.color = kAutomatic;
        expected.engrave = expected.superscript = expected.subscript = false;
        expected.spacing = 0.2;
        expected.scaling = 100;
        expected.position = expected.kerning = expected.animation = 0;
        EXPECT_TRUE(f == expected);  // all 23 set, each as typed
    }
    EXPECT_EQ(tables[0]->rows[12].cells[0].paragraphs[0].text(), QStringLiteral("Discussion"));
    expectValid(saved);
}

// The reader and the writer share each table, so a save and a load agree even
// with a wrong row; this is what catches one.
TEST(Package, EveryWordOfTheVocabularyReadsBackAsTheValueItIsWrittenFor)
{
    const auto check = [](const char* table, const auto& terms, const auto& values) {
        for (const auto& row : terms.rows)
            EXPECT_TRUE(terms.value(QString::fromLatin1(row.token)) == row.value) << table << ": " << row.token;
        for (const auto& v : values)
            EXPECT_TRUE(terms.value(QString(terms.token(v))) == v) << table << ": value " << static_cast<int>(v);
    };
    check("underline", ooxml::kUnderlines,
          std::vector<int>{UnderlineNone, UnderlineSingle, UnderlineWords, UnderlineDouble, UnderlineDotted,
                           UnderlineThick, UnderlineDash, UnderlineWavy});
    check("animation", ooxml::kAnimations, std::vector<int>{0, 1, 2, 3, 4, 5, 6});
    check("alignment", ooxml::kAlignments, std::vector{Align::Left, Align::Center, Align::Right, Align::Justify});
    check("style type", ooxml::kStyleTypes,
          std::vector{StyleType::Paragraph, StyleType::Character, StyleType::Table, StyleType::Numbering});
    for (const ooxml::Effect& e : ooxml::kEffects) {
        EXPECT_EQ(ooxml::effectNamed(QString::fromLatin1(e.token)), &e) << e.token;
        if (e.complexScript) {
            EXPECT_EQ(ooxml::effectNamed(QString::fromLatin1(e.complexScript)), nullptr) << e.complexScript;
        }
        for (const ooxml::Effect& other : ooxml::kEffects)
            EXPECT_TRUE(&other == &e || other.member != e.member) << e.token << " and " << other.token;
    }
}

TEST(Package, TheTemplateAndWhatTheWriterMakesPassTheSchemas)
{
    QTemporaryDir dir;
    const QString templatePath = testing_support::writeTemplate(dir.path(), QStringLiteral("template.dotx"));
    expectValid(templatePath);

    // Odd texts are written so that the XML stays well-formed and valid.
    DocumentModel m = loadPackage(templatePath);
    std::get<Table>(m.body[0]).rows[0].cells[0].paragraphs[0].runs = {
        wordproc::Run{QStringLiteral("<&> \"q\" \x01\x02 tab\there\nline \u05E9\u05DC\u05D5\u05DD \u4F1A"), {}}};
    const QString out = dir.filePath(QStringLiteral("odd.doc"));
    savePackage(m, out, 1);
    expectValid(out);
    EXPECT_EQ(std::get<Table>(loadPackage(out).body[0]).rows[0].cells[0].paragraphs[0].text(),
              QStringLiteral("<&> \"q\"  tab\there\nline \u05E9\u05DC\u05D5\u05DD \u4F1A"));
}

TEST(Package, BadInputIsRefusedWithADescription)
{
    EXPECT_EQ(openFailure("plain text, not a package"),
              QStringLiteral("Can't open 'x.doc': it is not a document package (no zip container)"));
    EXPECT_EQ(openFailure(QByteArray()),
              QStringLiteral("Can't open 'x.doc': it is not a document package (no zip container)"));
    EXPECT_EQ(openFailure(zipOf({{"_rels/.rels", kRels}})),
              QStringLiteral("Can't open 'x.doc': the main part 'word/document.xml' is missing"));
    EXPECT_TRUE(
        openFailure(zipOf({{"_rels/.rels", kRels},
                           {"word/document.xml",
                            "<w:document "
                            "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p>"}}))
            .startsWith(QStringLiteral("Can't open 'x.doc': malformed XML in 'word/document.xml' at line 1")));
    EXPECT_EQ(openFailure(zipOf({{"word/document.xml", "<html/>"}})),
              QStringLiteral("Can't open 'x.doc': 'word/document.xml' is not a word-processing document"));
    // A part that unpacks beyond the limit is refused, not unpacked.
    const QByteArray bomb(static_cast<qsizetype>(kMaxPartBytes + 1), ' ');
    EXPECT_EQ(openFailure(zipOf({{"_rels/.rels", kRels}, {"word/document.xml", bomb}})),
              QStringLiteral("Can't open 'x.doc': the part 'word/document.xml' unpacks to more than 32 MB"));
    // So is a part that declares a DTD: a few kilobytes of references to its entity would be gigabytes of text.
    const QByteArray entities = "<!DOCTYPE d [<!ENTITY e \"" + QByteArray(4000, 'x') + "\">]>";
    const QByteArray document =
        "<?xml version=\"1.0\"?>" + entities
        + "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
          "<w:p><w:r><w:t>&e;&e;&e;</w:t></w:r></w:p></w:body></w:document>";
    EXPECT_EQ(openFailure(zipOf({{"_rels/.rels", kRels}, {"word/document.xml", document}})),
              QStringLiteral("Can't open 'x.doc': 'word/document.xml' declares a DTD, which document parts never do"));
    EXPECT_EQ(openFailure(zipOf({{"_rels/.rels", QByteArray(kRels).replace("?>", "?>" + entities)},
                                 {"word/document.xml", document}})),
              QStringLiteral("Can't open 'x.doc': '_rels/.rels' declares a DTD, which document parts never do"));
}

TEST(Package, DamagedCopiesOfARealPackageNeverCrash)
{
    QTemporaryDir dir;
    const QByteArray good = testing_support::readAll(saveSample(dir));
    QRandomGenerator rng(20261207);
    int refused = 0, opened = 0;
    for (int i = 0; i < 300; ++i) {
        QByteArray bad = good;
        if (i % 3 == 0) {
            bad.truncate(rng.bounded(static_cast<int>(good.size())));
        } else {
            for (int flips = 1 + rng.bounded(8); flips > 0; --flips)
                bad[rng.bounded(static_cast<int>(bad.size()))] ^= static_cast<char>(1 << rng.bounded(8));
        }
        try {
            const DocumentModel m = readPackage(bad, QStringLiteral("damaged.doc"));
            ++opened;  // a flip in an unread place may leave it readable
        } catch (const DocumentError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Can't open 'damaged.doc': ")));
            ++refused;
        }
    }
    EXPECT_GT(refused, 200);
}

TEST(Package, NestingAsDeepAsRealDocumentsIsReadAndDeeperIsRefused)
{
    const QByteArray run = "<w:r><w:t>deep</w:t></w:r>";
    const QByteArray para = "<w:p>" + run + "</w:p>";
    struct Case {
        const char* what;
        QByteArray open, close, inside;
        bool inParagraph;
    };
    const Case cases[] = {
        {"content controls in a paragraph", "<w:sdt><w:sdtContent>", "</w:sdtContent></w:sdt>", run, true},
        {"hyperlinks", "<w:hyperlink>", "</w:hyperlink>", run, true},
        {"content controls in the body", "<w:sdt><w:sdtContent>", "</w:sdtContent></w:sdt>", para, false},
        {"custom XML in the body", "<w:customXml>", "</w:customXml>", para, false},
        {"tables in cells", "<w:tbl><w:tr><w:tc>", "</w:tc></w:tr></w:tbl>", para, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto body = [&](int levels) {
            const QByteArray nested = c.open.repeated(levels) + c.inside + c.close.repeated(levels);
            return c.inParagraph ? "<w:p>" + nested + "</w:p>" : nested;
        };
        const DocumentModel m = readPackage(packageOf(body(20)), QStringLiteral("x.doc"));
        ASSERT_EQ(m.body.size(), 1u);
        EXPECT_EQ(textOf(m.body[0]), QStringLiteral("deep"));
        EXPECT_EQ(openFailure(packageOf(body(30000))),
                  QStringLiteral(
                      "Can't open 'x.doc': elements in 'word/document.xml' are nested too deeply (more than %1 levels)")
                      .arg(kMaxNestingDepth));
    }
}

TEST(Package, AbsurdNumbersAreClampedAsReadAndLaidOut)
{
    const QByteArray body = R"(<w:p><w:pPr><w:outlineLvl w:val="2147483647"/>
          <w:spacing w:before="2147483647" w:after="-2147483648" w:line="2147483647"/></w:pPr>
        <w:r><w:rPr><w:sz w:val="2147483647"/><w:kern w:val="2147483647"/><w:position w:val="-2147483648"/>
          <w:w w:val="2147483647"/><w:spacing w:val="-2147483648"/></w:rPr><w:t>big</w:t></w:r>
        <w:r><w:rPr><w:sz w:val="-2147483648"/><w:kern w:val="-2147483648"/><w:position w:val="2147483647"/>
          <w:w w:val="-2147483648"/><w:spacing w:val="2147483647"/></w:rPr><w:t>small</w:t></w:r></w:p>
      <w:tbl><w:tblGrid><w:gridCol w:w="2147483647"/><w:gridCol w:w="2147483647"/><w:gridCol w:w="-2147483648"/></w:tblGrid>
        <w:tr><w:tc><w:tcPr><w:gridSpan w:val="2147483647"/></w:tcPr><w:p/></w:tc>
          <w:tc><w:tcPr><w:tcW w:w="2147483647"/></w:tcPr><w:p/></w:tc>
          <w:tc><w:tcPr><w:tcW w:w="-2147483648"/><w:gridSpan w:val="-2147483648"/></w:tcPr><w:p/></w:tc></w:tr></w:tbl>
      <w:sectPr><w:pgSz w:w="2147483647" w:h="-2147483648"/></w:sectPr>)";
    const DocumentModel m = readPackage(packageOf(body), QStringLiteral("x.doc"));
    ASSERT_EQ(m.body.size(), 2u);
    const Paragraph& p = std::get<Paragraph>(m.body[0]);
    EXPECT_EQ(p.format.outlineLevel, 10);  // 9 in the file: body text
    EXPECT_EQ(p.format.spaceBefore, kMaxTwips);
    EXPECT_EQ(p.format.spaceAfter, 0);
    EXPECT_EQ(p.format.lineSpacing, 132 * 240);
    ASSERT_EQ(p.runs.size(), 2u);
    const CharFormat& big = p.runs[0].format;
    EXPECT_EQ(big.size, 1638.0);
    EXPECT_EQ(big.kerning, 1638);
    EXPECT_EQ(big.position, -1638);
    EXPECT_EQ(big.scaling, 600);
    EXPECT_EQ(big.spacing, -kMaxTwips / 20.0);
    const CharFormat& small = p.runs[1].format;
    EXPECT_EQ(small.size, 0.5);
    EXPECT_EQ(small.kerning, 0);
    EXPECT_EQ(small.position, 1638);
    EXPECT_EQ(small.scaling, 1);
    EXPECT_EQ(small.spacing, kMaxTwips / 20.0);
    const Row& row = std::get<Table>(m.body[1]).rows.at(0);
    ASSERT_EQ(row.cells.size(), 3u);
    EXPECT_EQ(row.cells[0].width, kMaxTwips);  // two grid columns of the widest
    EXPECT_EQ(row.cells[1].width, kMaxTwips);
    EXPECT_EQ(row.cells[2].width, 0);
    EXPECT_EQ(m.page, PageSetup());

    const PageLayout layout = layoutDocument(m, 2);
    ASSERT_FALSE(layout.pages.empty());
    EXPECT_FALSE(layout.pages[0].picture.glyphs.empty());
}

TEST(Package, APageLargerThanAnyPaperOrWithoutRoomFallsBackToLetter)
{
    PageSetup a4;
    a4.width = 11906;
    a4.height = 16838;
    a4.top = a4.bottom = 1000;
    const struct {
        QByteArray sectPr;
        PageSetup expected;
    } cases[] = {
        {R"(<w:pgSz w:w="11906" w:h="16838"/><w:pgMar w:top="-1000" w:bottom="1000"/>)", a4},
        {R"(<w:pgSz w:w="31681" w:h="15840"/>)", PageSetup()},
        {R"(<w:pgMar w:top="-2147483648"/>)", PageSetup()},
        {R"(<w:pgMar w:left="-2147483648" w:right="2147483647"/>)", PageSetup()},
        {R"(<w:pgMar w:left="6000" w:right="6000"/>)", PageSetup()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sectPr.toStdString());
        EXPECT_EQ(readPackage(packageOf("<w:p/><w:sectPr>" + c.sectPr + "</w:sectPr>"), QStringLiteral("x.doc")).page,
                  c.expected);
    }
}

// The seeds of the reader's fuzz target, replayed: each is read or refused
// with a description, and what is read can be laid out.
TEST(Package, EveryFuzzSeedIsReadOrRefusedAndLaysOut)
{
    int seeds = 0;
    for (QDirIterator it(QStringLiteral(FUZZ_CORPUS), QDir::Files); it.hasNext();) {
        const QString path = it.next();
        const QString name = QFileInfo(path).fileName();
        SCOPED_TRACE(name.toStdString());
        ++seeds;
        try {
            const DocumentModel m = readPackage(testing_support::readAll(path), name);
            EXPECT_FALSE(layoutDocument(m, 2).pages.empty());
        } catch (const DocumentError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Can't open '%1': ").arg(name)))
                << e.what();
        }
    }
    EXPECT_GE(seeds, 10);
}

namespace {

// The parts of a package, by name.
std::map<QString, QByteArray> partsOf(const QByteArray& package)
{
    std::map<QString, QByteArray> out;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src =
        zip_source_buffer_create(package.constData(), static_cast<zip_uint64_t>(package.size()), 0, &error);
    zip_t* z = zip_open_from_source(src, ZIP_RDONLY, &error);
    for (zip_int64_t i = 0; z && i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        QByteArray bytes(static_cast<qsizetype>(st.size), '\0');
        zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        zip_fread(f, bytes.data(), st.size);
        zip_fclose(f);
        out[QString::fromUtf8(st.name)] = bytes;
    }
    if (z)
        zip_discard(z);
    zip_error_fini(&error);
    return out;
}

// An XML part as a list of its elements, attributes and texts, so that two
// spellings of the same content (quotes, declaration, blanks between elements) compare equal.
QStringList xmlContent(const QByteArray& xml)
{
    QStringList out;
    QXmlStreamReader x(xml);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            QStringList attributes;
            for (const auto& a : x.attributes())
                attributes << a.qualifiedName().toString() + QLatin1Char('=') + a.value().toString();
            attributes.sort();
            out << QLatin1Char('<') + x.qualifiedName().toString() + QLatin1Char(' ')
                       + attributes.join(QLatin1Char(' '));
        } else if (x.isCharacters() && !x.isWhitespace()) {
            out << x.text().toString();
        }
    }
    return out;
}

}  // namespace

TEST(Package, TheTemplateComesOutOfASavePartByPartAsItWentIn)
{
    // What the component does not understand (hidden styles, languages,
    // options) must come out unchanged, for other word processors to see.
    const QByteArray resource = app::LoadResData(101, QStringLiteral("CUSTOM"));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("round.doc"));
    DocumentModel m = readPackage(resource, QStringLiteral("template.dot"));
    savePackage(m, out, 1);
    const auto before = partsOf(resource), after = partsOf(testing_support::readAll(out));
    for (const char* part : {"word/styles.xml", "word/settings.xml", "word/fontTable.xml"}) {
        SCOPED_TRACE(part);
        ASSERT_TRUE(before.count(QLatin1String(part)) && after.count(QLatin1String(part)));
        EXPECT_EQ(xmlContent(after.at(QLatin1String(part))), xmlContent(before.at(QLatin1String(part))));
    }
    // The body is the component's own writing (blanks kept): its texts, the
    // styles they are in and the rows kept whole come out as they went in;
    // no row is kept whole that the template lets break across pages.
    const auto textsAndStyles = [](const QByteArray& xml) {
        QStringList out = xmlContent(xml);
        out.removeIf([](const QString& item) {
            return item.startsWith(QLatin1Char('<')) && !item.startsWith(QLatin1String("<w:pStyle"))
                   && !item.startsWith(QLatin1String("<w:tcW")) && !item.startsWith(QLatin1String("<w:shd"))
                   && !item.startsWith(QLatin1String("<w:cantSplit"));
        });
        return out;
    };
    EXPECT_EQ(textsAndStyles(after.at(QStringLiteral("word/document.xml"))),
              textsAndStyles(before.at(QStringLiteral("word/document.xml"))));
    m.tables()[0]->rows[5].cantSplit = true;
    savePackage(m, out, 1);
    DocumentModel again = loadPackage(out);
    for (size_t r = 0; r < again.tables()[0]->rows.size(); ++r)
        EXPECT_EQ(again.tables()[0]->rows[r].cantSplit, r == 5) << "row " << r;
    EXPECT_TRUE(after.at(QStringLiteral("word/styles.xml")).contains("<w:semiHidden/>"));
    EXPECT_TRUE(after.at(QStringLiteral("word/styles.xml")).contains("w:lang"));
}

TEST(Package, ALineEndFromAnotherSystemIsOneBreak)
{
    DocumentModel m;
    const std::pair<const char*, int> texts[] = {
        {"A\r\nB", 1}, {"A\nB", 1}, {"A\rB", 1}, {"A\n\nB", 2}, {"A\r\n\r\nB", 2}};
    for (const auto& [text, breaks] : texts) {
        Paragraph p;
        p.runs.push_back(wordproc::Run{QString::fromLatin1(text), {}});
        m.body = {p};
        EXPECT_EQ(documentXml(m).count("<w:br/>"), breaks) << text;
    }
}
