#include "tests/support/TestSupport.h"
#include "wordproc/Package.h"
#include "wordproc/WordProcessor.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace wordproc;

namespace {

class Editing : public testing::Test {
protected:
    void SetUp() override
    {
        templatePath = testing_support::writeTemplate(dir.path());
        doc = word.open(templatePath, true);
    }
    Table& table(int t) { return *doc->model().tables()[static_cast<size_t>(t)]; }
    QString cellText(int t, int r, int c) { return table(t).rows[r].cells[c].paragraphs.front().text(); }

    QTemporaryDir dir;
    QString templatePath;
    WordProcessor word;
    std::shared_ptr<Document> doc;
};

}  // namespace

TEST_F(Editing, TypingOverACellReplacesItWithTheSelectionsFont)
{
    Selection& s = doc->selection();
    s.selectCell(0, 0, 0);  // "Meeting Title", Heading 1
    EXPECT_EQ(*s.font().size, 20);
    CharFormat f;
    f.size = 20;
    f.allCaps = true;
    f.color = kAutomatic;
    s.setFont(f);
    s.typeText(QStringLiteral("Budget review"));
    const Paragraph& p = table(0).rows[0].cells[0].paragraphs.front();
    ASSERT_EQ(p.runs.size(), 1u);
    EXPECT_EQ(p.text(), QStringLiteral("Budget review"));
    EXPECT_EQ(p.style, QStringLiteral("Heading1"));
    EXPECT_TRUE(*p.runs[0].format.allCaps);

    // An empty text still replaces what the cell held.
    s.selectCell(0, 3, 0);
    s.typeText(QString());
    EXPECT_EQ(cellText(0, 3, 0), QString());
    EXPECT_EQ(table(0).rows[3].cells[0].paragraphs.size(), 1u);
}

TEST_F(Editing, PastingTheTopicBlockAboveTheLastRowGrowsTheTableByElevenEachTime)
{
    Selection& s = doc->selection();
    s.selectCell(0, 11, 1);
    s.typeText(QStringLiteral("First topic"));
    for (int n = 1; n <= 3; ++n) {
        s.selectRows(0, 11, 11);
        s.moveDown(5, 10, true);  // whole rows extend by rows, whatever the cells hold
        EXPECT_EQ(s.firstRow(), 11);
        EXPECT_EQ(s.lastRow(), 21);
        s.copy();
        const int last = static_cast<int>(table(0).rows.size()) - 1;
        s.selectRows(0, last, last);
        s.paste();
        ASSERT_EQ(table(0).rows.size(), 23u + 11u * n);
        // The copy sits just above the last row, which is still last.
        EXPECT_EQ(cellText(0, 11 + 11 * n, 1), QStringLiteral("First topic"));
        EXPECT_EQ(cellText(0, 12 + 11 * n, 0), QStringLiteral("Discussion"));
        EXPECT_EQ(table(0).rows[11 + 11 * n].cells[0].width, 2342);
        EXPECT_TRUE(table(0).rows[12 + 11 * n].cells[0].shading.has_value());
        EXPECT_EQ(table(0).rows.back().cells.size(), 1u);
        EXPECT_EQ(table(0).rows.back().cells[0].paragraphs.front().marks.size(), 1u);  // the section's end
    }
}

TEST_F(Editing, AReadOnlyDocumentRefusesItsOwnNameButSavesElsewhere)
{
    EXPECT_THROW(doc->saveAs(templatePath), DocumentError);
    const QByteArray before = testing_support::readAll(templatePath);
    doc->selection().selectCell(1, 2, 1);
    doc->selection().typeText(QStringLiteral("None"));
    const QString out = dir.filePath(QStringLiteral("kvarne12345678.doc"));
    doc->saveAs(out);
    EXPECT_EQ(doc->path(), out);
    EXPECT_FALSE(doc->readOnly());
    EXPECT_EQ(testing_support::readAll(templatePath), before);
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral(".tmp")));
    QDir d(dir.path());
    EXPECT_EQ(d.entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary file left beside it
}

TEST_F(Editing, ClosingWithoutSavingDiscardsEveryChange)
{
    const QString out = dir.filePath(QStringLiteral("saved.doc"));
    doc->saveAs(out);
    const QByteArray saved = testing_support::readAll(out);
    doc->selection().selectRows(0, 0, 5);
    doc->selection().deleteSelection();
    doc->close(0);
    EXPECT_TRUE(doc->isClosed());
    EXPECT_TRUE(word.documents().empty());
    EXPECT_EQ(testing_support::readAll(out), saved);
    EXPECT_THROW(doc->saveAs(out), DocumentError);
}
