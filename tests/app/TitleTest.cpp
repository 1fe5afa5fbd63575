#include "app/AppTitle.h"
#include "app/Dialogs.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using app::applicationTitleFor;

TEST(ApplicationTitle, DropsTheLastWordAndThenWordsWhileLongerThanForty)
{
    // Six words, 41 characters: only the last word goes.
    const QString six = QStringLiteral("Alpha Bravo Charlie Delta Echoes Foxtrots");
    ASSERT_EQ(six.size(), 41);
    EXPECT_EQ(applicationTitleFor(six), QStringLiteral("Alpha Bravo Charlie Delta Echoes"));
    // Three words, 20 characters: the last word goes all the same.
    const QString three = QStringLiteral("Minutes Maker Deluxe");
    ASSERT_EQ(three.size(), 20);
    EXPECT_EQ(applicationTitleFor(three), QStringLiteral("Minutes Maker"));
    // A first cut that still leaves more than 40 characters loses words one at a time.
    const QString longName = QStringLiteral("Aaaaaaaaaa Bbbbbbbbbb Cccccccccc Dddddddddd Eeeee Ffff");
    EXPECT_EQ(applicationTitleFor(longName), QStringLiteral("Aaaaaaaaaa Bbbbbbbbbb Cccccccccc"));
    // Exactly 40 after a cut ends the loop.
    const QString forty = QString(40, QLatin1Char('x')) + QStringLiteral(" y");
    EXPECT_EQ(applicationTitleFor(forty), QString(40, QLatin1Char('x')));
}

TEST(ApplicationTitle, ANameWithoutASpaceIsItsOwnTitle)
{
    EXPECT_EQ(applicationTitleFor(QStringLiteral("Corvalin")), QStringLiteral("Corvalin"));
    // When the words run out while still too long, what is left stands.
    const QString word = QString(45, QLatin1Char('w'));
    EXPECT_EQ(applicationTitleFor(word + QStringLiteral(" tail")), word);
    EXPECT_EQ(applicationTitleFor(QString()), QString());
}

TEST(ApplicationTitle, BoxesWithoutACaptionShowIt)
{
    testing_support::ScriptedDialogs dialogs;
    app::SetApplicationTitle();
    app::MsgBox(QStringLiteral("Done."));
    app::MsgBox(QStringLiteral("x"), app::vbOKOnly, QStringLiteral("Own caption"));
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Corvalin"));
    EXPECT_EQ(dialogs.boxes[1].caption, QStringLiteral("Own caption"));
}
