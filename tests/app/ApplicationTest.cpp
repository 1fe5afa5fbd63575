#include "app/AppTitle.h"
#include "app/Application.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>
#include <stdexcept>

namespace {
// A handler with no guard of its own that fails.
class Failing : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("The settings file can't be written");
        return QObject::event(e);
    }
};
}  // namespace

TEST(Application, AFailureThatEscapesAHandlerIsShownAndTheProgramGoesOn)
{
    testing_support::ScriptedDialogs dialogs;
    app::SetApplicationTitle();
    Failing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::processEvents();

    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("The settings file can't be written"));
    EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Corvalin"));
    EXPECT_EQ(dialogs.boxes[0].style, 48);
}

TEST(Application, TheDisplayCheckExplainsHowToStartWithoutOne)
{
    // Tests run offscreen, so a platform is always chosen here.
    QString advice;
    EXPECT_TRUE(app::displayAvailable(&advice));
    EXPECT_TRUE(advice.isEmpty());
}
