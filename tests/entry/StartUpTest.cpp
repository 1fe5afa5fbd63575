#include "app/Application.h"
#include "app/Guard.h"
#include "automation/Registry.h"
#include "entry/Form1.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"
#include "ui/Pointer.h"
#include <stdexcept>

#include <QApplication>

#include <gtest/gtest.h>

using testing_support::ProgramFolders;
using testing_support::ScriptedDialogs;

namespace {
QString secondLine(const testing_support::ShownBox& b)
{
    return b.text.section(QStringLiteral("\r\n"), 1).section(QLatin1Char('\r'), 0, 0);
}
}  // namespace

TEST(StartUp, WithoutOptionalFilesNothingIsReported)
{
    ProgramFolders folders;
    ScriptedDialogs dialogs;
    entry::Form1 form;
    form.Form_Load();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Corvalin"));
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_FALSE(form.pointer().hasCustomPicture());
    EXPECT_FALSE(form.autoFillBackground());  // designed colours, no skin
    EXPECT_TRUE(form.styleSheet().isEmpty());
}

TEST(StartUp, AGoodCursorFileBecomesTheHandPointer)
{
    ProgramFolders folders;
    folders.writeProgramFile(QStringLiteral("HAND-M.CUR"), testing_support::makeCursorFile(32, 11, 2));
    ScriptedDialogs dialogs;
    entry::Form1 form;
    form.Form_Load();
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_TRUE(form.pointer().hasCustomPicture());
    EXPECT_EQ(form.pointer().customCursor().hotSpot(), QPoint(11, 2));
}

TEST(StartUp, AnUnreadableCursorFileGivesExactlyOneReportAtStep110)
{
    ProgramFolders folders;
    folders.writeProgramFile(QStringLiteral("HAND-M.CUR"), "garbage");
    ScriptedDialogs dialogs;
    entry::Form1 form;
    form.Form_Load();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Application Error"));
    EXPECT_EQ(secondLine(dialogs.boxes[0]), QStringLiteral("in Pondrel2021/08/31.Form1.Form_Load at line 110"));
    EXPECT_FALSE(form.pointer().hasCustomPicture());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Corvalin"));
}

TEST(StartUp, TwoFailingStepsAreReportedInStepOrder)
{
    ProgramFolders folders;
    folders.writeProgramFile(QStringLiteral("HAND-M.CUR"), "garbage");
    folders.writeProgramFile(QStringLiteral("x/o.cjs"), QByteArray("\x00\xff", 2));
    ScriptedDialogs dialogs;
    entry::Form1 form;
    form.Form_Load();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(secondLine(dialogs.boxes[0]), QStringLiteral("in Pondrel2021/08/31.Form1.Form_Load at line 102"));
    EXPECT_EQ(secondLine(dialogs.boxes[1]), QStringLiteral("in Pondrel2021/08/31.Form1.Form_Load at line 110"));
    // The colours set before the skin's failing call stay.
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Corvalin"));
}

TEST(StartUp, WithoutTheWordProcessorTheProgramEndsBeforeTheWindowShows)
{
    ProgramFolders folders;
    ScriptedDialogs dialogs;
    automation::ScopedRegistration none(QStringLiteral("Word.Application"),
                                        []() -> automation::ObjectPtr { throw std::runtime_error("not installed"); });
    int ended = 0;
    entry::Form1 form;
    {
        testing_support::ProgramEndOverride end([&] { ++ended; });
        EXPECT_THROW(form.Form_Load(), app::ProgramEnded);
    }
    EXPECT_EQ(ended, 1);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.startsWith(QStringLiteral("Error 842001.")));
    EXPECT_FALSE(form.isVisible());
}

TEST(StartUp, ClosingTheEntryWindowEndsTheProgramAtOnce)
{
    ProgramFolders folders;
    ScriptedDialogs dialogs;
    int ended = 0;
    {
        testing_support::ProgramEndOverride end([&] { ++ended; });
        entry::Form1 form;
        form.Form_Load();
        form.show();
        form.close();
    }
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}
