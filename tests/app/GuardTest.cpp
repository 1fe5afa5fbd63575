#include "app/Guard.h"
#include "app/Labels.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <stdexcept>

using app::Guard;
using testing_support::ScriptedDialogs;

namespace {
void fail(const char* what) { throw std::runtime_error(what); }

// The second line of a report: the label, "at line " and the step.
QString whereOf(const testing_support::ShownBox& b)
{
    return b.text.split(QStringLiteral("\r\n")).at(1).split(QLatin1Char('\r')).at(0);
}
}  // namespace

TEST(Guard, AFailureInTheMiddleOfAStepIsReportedAndTheRestOfTheStepRuns)
{
    ScriptedDialogs dialogs;
    QStringList ran;
    Guard g(app::label::Form1_Form_Load);
    g.step(104);
    g.act([&] { ran << "caption"; });
    g.act([&] {
        fail("Invalid picture");
        ran << "never";
    });
    g.act([&] { ran << "title"; });
    g.step(106, [&] { ran << "next step"; });

    EXPECT_EQ(ran, QStringList({"caption", "title", "next step"}));
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.startsWith(QStringLiteral("Invalid picture\r\n")));
    EXPECT_EQ(whereOf(dialogs.boxes[0]), QStringLiteral("in Pondrel2021/08/31.Form1.Form_Load at line 104"));
}

TEST(Guard, AFailingTestOfAConditionalGoesOnInsideIt)
{
    ScriptedDialogs dialogs;
    bool inside = false;
    Guard g(app::label::Form1_Form_Load);
    g.step(108);
    if (g.test([]() -> bool {
            fail("Bad file name");
            return false;
        }))
        g.step(110, [&] { inside = true; });
    EXPECT_TRUE(inside);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(whereOf(dialogs.boxes[0]), QStringLiteral("in Pondrel2021/08/31.Form1.Form_Load at line 108"));

    // A test that answers false keeps the run outside.
    inside = false;
    if (g.test([] { return false; }))
        inside = true;
    EXPECT_FALSE(inside);
}

TEST(Guard, SeveralFailuresAreReportedInOrderAndTheProcedureRunsToItsEnd)
{
    ScriptedDialogs dialogs;
    int steps = 0;
    Guard g(app::label::Form2_PushButton6_Click);
    EXPECT_EQ(g.currentStep(), 0);
    g.act([] { fail("before any step"); });
    for (int n = 100; n <= 110; n += 2)
        g.step(n, [&] {
            ++steps;
            if (n == 102 || n == 108)
                fail("Permission denied");
        });
    g.act([] { throw 42; });  // not even an exception type: still reported

    EXPECT_EQ(steps, 6);
    ASSERT_EQ(dialogs.boxes.size(), 4u);
    const QString label = QStringLiteral("in Pondrel2021/08/31.Form2.PushButton6_Click ");
    EXPECT_EQ(whereOf(dialogs.boxes[0]), label + "at line 0");
    EXPECT_EQ(whereOf(dialogs.boxes[1]), label + "at line 102");
    EXPECT_EQ(whereOf(dialogs.boxes[2]), label + "at line 108");
    EXPECT_EQ(whereOf(dialogs.boxes[3]), label + "at line 110");
    EXPECT_TRUE(dialogs.boxes[3].text.startsWith(QStringLiteral("Unknown failure\r\n")));
}

TEST(Guard, TheProgramsEndIsNotAFailure)
{
    ScriptedDialogs dialogs;
    Guard g(app::label::Form1_Form_Load);
    EXPECT_THROW(g.step(184, [] { throw app::ProgramEnded{}; }), app::ProgramEnded);
    EXPECT_TRUE(dialogs.boxes.empty());
}
