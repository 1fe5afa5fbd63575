#include "entry/Form1.h"
#include "preview/Form2.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Whether all of `control` lies inside its window's client area.
bool inView(QWidget* control)
{
    QWidget* window = control->window();
    return window->rect().contains(QRect(control->mapTo(window, QPoint(0, 0)), control->size()));
}

}  // namespace

// Every screen the platform has is tried; a run on small screens (see the
// tests' build file) gives a wide one at twice the scale and a netbook's.
TEST(Screens, EveryWindowOpensOnItsScreenWithEveryControlWithinReach)
{
    testing_support::ProgramFolders folders;
    testing_support::ScriptedDialogs dialogs;
    for (QScreen* screen : QGuiApplication::screens()) {
        SCOPED_TRACE(screen->name().toStdString());
        const QRect area = screen->availableGeometry();
        entry::Form1 entry;
        entry.Form_Load();
        preview::Form2 preview;
        preview.Form_Load();
        for (QWidget* window : {static_cast<QWidget*>(&entry), static_cast<QWidget*>(&preview)}) {
            window->setScreen(screen);
            window->move(area.center());  // asked to open half off the screen
            window->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
            EXPECT_TRUE(area.contains(window->frameGeometry()))
                << window->objectName().toStdString() << " at " << window->frameGeometry().x() << ","
                << window->frameGeometry().y() << " " << window->frameGeometry().width() << "x"
                << window->frameGeometry().height();
        }
        for (QPushButton* button : preview.findChildren<QPushButton*>())
            EXPECT_TRUE(inView(button)) << button->objectName().toStdString();

        // The entry window scrolls each control Tab reaches into view.
        QApplication::setActiveWindow(&entry);
        entry.txtTitle->setFocus();
        QStringList hidden;
        for (int i = 0; i < 31; ++i) {
            QWidget* focus = QApplication::focusWidget();
            if (!inView(focus))
                hidden << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        EXPECT_EQ(hidden, QStringList());
        entry.hide();
        preview.hide();
    }
}
