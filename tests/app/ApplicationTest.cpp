#include "app/Application.h"
#include "app/AppTitle.h"
#include "app/Dialogs.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

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

TEST(MessageBoxes, ALongPathWithoutBlanksWrapsInsideTheBox)
{
    const QString path = QStringLiteral("/tmp/") + QString(650, QLatin1Char('x')) + QStringLiteral("/template.dot");
    int fits = -1;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        const QRect screen = box->screen()->availableGeometry();
        fits = box->width() <= screen.width() && label->minimumSizeHint().width() <= label->width();
        box->accept();
    });
    app::QtDialogs().messageBox(QStringLiteral("Can't create '%1': Permission denied").arg(path), app::vbExclamation,
                                QStringLiteral("Application Error"));
    EXPECT_EQ(fits, 1);
}
