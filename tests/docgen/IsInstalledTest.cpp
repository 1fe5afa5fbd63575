#include "docgen/IsInstalled.h"
#include "app/AppTitle.h"
#include "app/Application.h"
#include "app/Guard.h"
#include "automation/Dispatch.h"
#include "automation/Registry.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace automation;

namespace {
class Quitting : public Dispatch {
public:
    Quitting(int* quits, bool fail)
    {
        addMethod(QStringLiteral("Quit"), {}, [quits, fail](const Bound&) -> Value {
            ++*quits;
            if (fail)
                throw std::runtime_error("busy");
            return {};
        });
    }
    QString typeName() const override { return QStringLiteral("Word.Application"); }
};
}  // namespace

TEST(CheckWordAvailable, WithoutTheWordProcessorTellsWhatToCheckAndEnds)
{
    ScopedRegistration none(QStringLiteral("Word.Application"),
                            []() -> ObjectPtr { throw std::runtime_error("missing"); });
    testing_support::ScriptedDialogs dialogs;
    app::SetApplicationTitle();
    int ended = 0;
    {
        const testing_support::ProgramEndOverride end([&] { ++ended; });
        EXPECT_THROW(docgen::CheckWordAvailable(), app::ProgramEnded);
    }

    EXPECT_EQ(ended, 1);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].style, 0);
    EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Corvalin"));
    const QStringList paragraphs = dialogs.boxes[0].text.split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(paragraphs.size(), 5);
    EXPECT_EQ(paragraphs[0], QStringLiteral("Error 842001. A normal instance of Word could not be created."));
    EXPECT_TRUE(paragraphs[4].endsWith(QStringLiteral("Word Starter and Student editions.")));
    EXPECT_FALSE(dialogs.boxes[0].text.contains(QStringLiteral("\r\n\r\n\r\n")));
}

TEST(CheckWordAvailable, WithItOneInstanceIsStartedAndQuitSilently)
{
    int created = 0, quits = 0;
    for (bool quitFails : {false, true}) {
        ScopedRegistration one(QStringLiteral("Word.Application"), [&] {
            ++created;
            return std::make_shared<Quitting>(&quits, quitFails);
        });
        testing_support::ScriptedDialogs dialogs;
        docgen::CheckWordAvailable();
        EXPECT_TRUE(dialogs.boxes.empty());
    }
    EXPECT_EQ(created, 2);
    EXPECT_EQ(quits, 2);
}

TEST(CheckWordAvailable, TheRealComponentStarts)
{
    testing_support::ScriptedDialogs dialogs;
    docgen::CheckWordAvailable();
    EXPECT_TRUE(dialogs.boxes.empty());
}
