#include "tests/support/SampleMeeting.h"
#include "tests/support/TestSupport.h"
#include "wordproc/Package.h"
#include "wordproc/WordApplication.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

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

// Runs the shared schema check when the shared folder is there.
void expectValid(const QString& path)
{
    const QString tool = QStringLiteral(SHARED_FOLDER "/tools/validate-ooxml");
    if (!QFileInfo::exists(tool) || QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty()) {
        GTEST_LOG_(INFO) << "schema check skipped: validate-ooxml or xmllint missing";
        return;
    }
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

const QByteArray kRels = "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>";

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
    EXPECT_EQ(openFailure(QByteArray()), QStringLiteral("Can't open 'x.doc': it is not a document package (no zip container)"));
    EXPECT_EQ(openFailure(zipOf({{"_rels/.rels", kRels}})),
              QStringLiteral("Can't open 'x.doc': the main part 'word/document.xml' is missing"));
    EXPECT_TRUE(openFailure(zipOf({{"_rels/.rels", kRels}, {"word/document.xml", "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p>"}}))
                    .startsWith(QStringLiteral("Can't open 'x.doc': malformed XML in 'word/document.xml' at line 1")));
    EXPECT_EQ(openFailure(zipOf({{"word/document.xml", "<html/>"}})),
              QStringLiteral("Can't open 'x.doc': 'word/document.xml' is not a word-processing document"));
    // A part that unpacks beyond the limit is refused, not unpacked.
    const QByteArray bomb(static_cast<qsizetype>(kMaxPartBytes + 1), ' ');
    EXPECT_EQ(openFailure(zipOf({{"_rels/.rels", kRels}, {"word/document.xml", bomb}})),
              QStringLiteral("Can't open 'x.doc': the part 'word/document.xml' unpacks to more than 32 MB"));
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
