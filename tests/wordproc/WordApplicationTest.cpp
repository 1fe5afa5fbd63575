#include "wordproc/WordApplication.h"
#include "automation/AutomationError.h"
#include "automation/Registry.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace automation;

namespace {

class ObjectModel : public testing::Test {
protected:
    void SetUp() override
    {
        path = testing_support::writeTemplate(dir.path());
        word = CreateObject(QStringLiteral("Word.Application"));
        doc = call(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"), {path, omitted(), true})
                  .toObject();
    }
    ObjectPtr table(int t)
    {
        return get(get(word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("Tables"), {qint32(t)})
            .toObject();
    }
    QString failure(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const AutomationError& e) {
            return e.description();
        }
        return QStringLiteral("(no failure)");
    }

    QTemporaryDir dir;
    QString path;
    ObjectPtr word, doc;
};

}  // namespace

TEST_F(ObjectModel, CollectionsCountFromOneAndRefuseWhatIsNotThere)
{
    EXPECT_EQ(get(get(table(1), QStringLiteral("Rows")).toObject(), QStringLiteral("count")).toLong(), 23);
    EXPECT_EQ(get(get(table(2), QStringLiteral("Rows")).toObject(), QStringLiteral("Count")).toLong(), 3);
    const QString none = QStringLiteral("The requested member of the collection does not exist.");
    EXPECT_EQ(failure([&] { table(3); }), none);
    EXPECT_EQ(failure([&] { table(0); }), none);
    EXPECT_EQ(failure([&] { get(table(1), QStringLiteral("Rows"), {qint32(24)}); }), none);
    EXPECT_EQ(failure([&] {
                  get(get(table(1), QStringLiteral("Rows"), {qint32(2)}).toObject(), QStringLiteral("Cells"),
                      {qint32(5)});
              }),
              none);
    EXPECT_EQ(get(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Count")).toLong(), 1);
}

TEST_F(ObjectModel, SelectionFontAndTypingReachTheDocument)
{
    call(get(get(table(1), QStringLiteral("Rows"), {qint32(4)}).toObject(), QStringLiteral("Cells"), {qint32(2)})
             .toObject(),
         QStringLiteral("Select"));
    const ObjectPtr font =
        get(get(get(word, QStringLiteral("Application")).toObject(), QStringLiteral("Selection")).toObject(),
            QStringLiteral("Font"))
            .toObject();
    put(font, QStringLiteral("Size"), qint16(8));
    put(font, QStringLiteral("Color"), qint32(0xFF000000u));
    EXPECT_EQ(get(font, QStringLiteral("Name")).toString(), QStringLiteral("Tahoma"));
    EXPECT_EQ(get(font, QStringLiteral("color")).toLong(), qint32(0xFF000000u));
    call(get(word, QStringLiteral("Selection")).toObject(), QStringLiteral("TypeText"),
         {named(QStringLiteral("Text"), "Orrin")});
    EXPECT_EQ(get(doc, QStringLiteral("BuiltInDocumentProperties"), {qint16(14)}).toLong(), 1);
    EXPECT_EQ(failure([&] { put(font, QStringLiteral("Size"), qint32(5000)); }),
              QStringLiteral("The value 5000 is out of range for Font.Size"));
}

TEST_F(ObjectModel, AClosedDocumentAndAQuitInstanceRefuseEveryCall)
{
    put(word, QStringLiteral("DisplayAlerts"), false);
    call(doc, QStringLiteral("Close"));
    EXPECT_EQ(failure([&] { get(doc, QStringLiteral("Tables"), {qint32(1)}); }),
              QStringLiteral("The document 'template.dot' has been closed"));
    EXPECT_EQ(failure([&] { get(word, QStringLiteral("ActiveDocument")); }),
              QStringLiteral("This command is not available because no document is open."));
    call(word, QStringLiteral("quit"));
    EXPECT_EQ(failure([&] { get(word, QStringLiteral("Documents")); }), QStringLiteral("The word processor has quit"));
}

TEST_F(ObjectModel, OpeningSomethingElseSaysWhatIsWrong)
{
    const QString bad = dir.filePath(QStringLiteral("notes.txt"));
    testing_support::writeFile(bad, "hello");
    EXPECT_EQ(failure([&] { call(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"), {bad}); }),
              QStringLiteral("Can't open '%1': it is not a document package (no zip container)").arg(bad));
    EXPECT_TRUE(failure([&] {
                    call(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"),
                         {dir.filePath(QStringLiteral("gone.doc"))});
                }).startsWith(QStringLiteral("Can't open '")));
}
