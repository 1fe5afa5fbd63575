#include "docgen/FormattedText.h"
#include "automation/AutomationError.h"
#include "automation/Dispatch.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace automation;

namespace {

// A stand-in for the word processor that records every call it receives.
class Recorder : public Object {
public:
    explicit Recorder(QString name, QStringList* log, ObjectPtr child = {})
        : mName(std::move(name)), mLog(log), mChild(std::move(child))
    {}
    QString typeName() const override { return mName; }
    Value invoke(const QString& member, CallKind kind, const Arguments& args) override
    {
        QStringList parts;
        for (const auto& a : args.positional)
            parts << (a ? kindName(a->kind()) + QLatin1Char(' ') + a->toString() : QStringLiteral("<omitted>"));
        for (const auto& [name, v] : args.named)
            parts << name + QLatin1Char('=') + v.toString();
        const char* k = kind == CallKind::PropertyPut ? "put" : kind == CallKind::PropertyGet ? "get" : "call";
        *mLog << QStringLiteral("%1.%2 %3(%4)").arg(mName, QLatin1String(k), member, parts.join(QStringLiteral(", ")));
        if (member == failOn)
            throw AutomationError(QStringLiteral("refused"));
        return kind == CallKind::PropertyGet ? Value(mChild) : Value();
    }
    QString failOn;

private:
    QString mName;
    QStringList* mLog;
    ObjectPtr mChild;
};

struct Word {
    QStringList log;
    std::shared_ptr<Recorder> font = std::make_shared<Recorder>(QStringLiteral("Font"), &log);
    std::shared_ptr<Recorder> selection = std::make_shared<Recorder>(QStringLiteral("Selection"), &log, font);
    std::shared_ptr<Recorder> application = std::make_shared<Recorder>(QStringLiteral("Application"), &log, selection);
    std::shared_ptr<Recorder> word = std::make_shared<Recorder>(QStringLiteral("Word"), &log, application);
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
        "Selection.call TypeText(Text=Penguin Meeting)",
    };
    EXPECT_EQ(w.log, expected);
}

TEST(SetFont, AColourOtherThanZeroPassesThroughAndEmptyTextIsStillTyped)
{
    Word w;
    docgen::setFont(w.word, QString(), 20, QStringLiteral("Tahoma"), 0x0000FF, false, true);
    EXPECT_TRUE(w.log.contains(QStringLiteral("Font.put Color(Long 255)")));
    EXPECT_TRUE(w.log.contains(QStringLiteral("Font.put Bold(Boolean True)")));
    EXPECT_EQ(w.log.last(), QStringLiteral("Selection.call TypeText(Text=)"));
}

TEST(SetFont, AFailureStopsWhereItHappens)
{
    Word w;
    w.font->failOn = QStringLiteral("AllCaps");
    EXPECT_THROW(docgen::setFont(w.word, QStringLiteral("x"), 8, QStringLiteral("Tahoma"), 0, true, false),
                 AutomationError);
    EXPECT_EQ(w.log.last(), QStringLiteral("Font.put AllCaps(Boolean True)"));
    EXPECT_FALSE(w.log.join(QLatin1Char('\n')).contains(QStringLiteral("TypeText")));
}
