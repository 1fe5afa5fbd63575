#include "docgen/FormattedText.h"
#include "automation/AutomationError.h"
#include "tests/support/RecordingObject.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace automation;

namespace {

using testing_support::RecordingObject;

// The word processor down to the font, each object answering a get with the
// next one; the font fails the member named in failOn.
struct Word {
    testing_support::CallLog log = testing_support::makeCallLog();
    QString failOn;
    std::shared_ptr<RecordingObject> font = std::make_shared<RecordingObject>(
        QStringLiteral("Font"), log, [this](const RecordingObject&, const testing_support::Call& c) {
            if (c.member == failOn)
                throw AutomationError(QStringLiteral("refused"));
            return Value();
        });
    std::shared_ptr<RecordingObject> selection = recorder(QStringLiteral("Selection"), font);
    std::shared_ptr<RecordingObject> application = recorder(QStringLiteral("Application"), selection);
    std::shared_ptr<RecordingObject> word = recorder(QStringLiteral("Word"), application);

    std::shared_ptr<RecordingObject> recorder(const QString& name, ObjectPtr next)
    {
        return std::make_shared<RecordingObject>(name, log,
                                                 [next](const RecordingObject&, const testing_support::Call& c) {
                                                     return c.kind == CallKind::PropertyGet ? Value(next) : Value();
                                                 });
    }
};

}  // namespace

TEST(SetFont, SetsTheTwentyThreeAttributesInOrderWithTheirTypesThenTypes)
{
    Word w;
    docgen::setFont(w.word, QStringLiteral("Penguin Meeting"), 8, QStringLiteral("Tahoma"), 0, true, false);
    const QStringList expected = {
        "Word.get Application()",
        "Application.get Selection()",
        "Selection.get Font()",
        "Font.put Name(String Tahoma)",
        "Font.put Size(Integer 8)",
        "Font.put Bold(Boolean False)",
        "Font.put Italic(Boolean False)",
        "Font.put Underline(Integer 0)",
        "Font.put UnderlineColor(Long -16777216)",
        "Font.put Strikethrough(Boolean False)",
        "Font.put DoubleStrikeThrough(Boolean False)",
        "Font.put Outline(Boolean False)",
        "Font.put Emboss(Boolean False)",
        "Font.put Shadow(Boolean False)",
        "Font.put Hidden(Boolean False)",
        "Font.put SmallCaps(Boolean False)",
        "Font.put AllCaps(Boolean True)",
        "Font.put Color(Long -16777216)",
        "Font.put Engrave(Boolean False)",
        "Font.put Superscript(Boolean False)",
        "Font.put Subscript(Boolean False)",
        "Font.put Spacing(Double 0.2)",
        "Font.put Scaling(Integer 100)",
        "Font.put Position(Integer 0)",
        "Font.put Kerning(Integer 0)",
        "Font.put Animation(Integer 0)",
        "Word.get Application()",
        "Application.get Selection()",
        "Selection.call TypeText(Text=String Penguin Meeting)",
    };
    EXPECT_EQ(*w.log, expected);
}

TEST(SetFont, AColourOtherThanZeroPassesThroughAndEmptyTextIsStillTyped)
{
    Word w;
    docgen::setFont(w.word, QString(), 20, QStringLiteral("Tahoma"), 0x0000FF, false, true);
    EXPECT_TRUE(w.log->contains(QStringLiteral("Font.put Color(Long 255)")));
    EXPECT_TRUE(w.log->contains(QStringLiteral("Font.put Bold(Boolean True)")));
    EXPECT_EQ(w.log->last(), QStringLiteral("Selection.call TypeText(Text=String )"));
}

TEST(SetFont, AFailureStopsWhereItHappens)
{
    Word w;
    w.failOn = QStringLiteral("AllCaps");
    EXPECT_THROW(docgen::setFont(w.word, QStringLiteral("x"), 8, QStringLiteral("Tahoma"), 0, true, false),
                 AutomationError);
    EXPECT_EQ(w.log->last(), QStringLiteral("Font.put AllCaps(Boolean True)"));
    EXPECT_FALSE(w.log->join(QLatin1Char('\n')).contains(QStringLiteral("TypeText")));
}
