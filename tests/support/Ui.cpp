#include "tests/support/Ui.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace testing_support {

namespace {

// The window system's window of the target, on screen, and the point in it.
QWindow* windowOf(QWidget* target)
{
    QWidget* window = target->window();
    if (!window->windowHandle() || !window->windowHandle()->isExposed())
        static_cast<void>(QTest::qWaitForWindowExposed(window));
    return window->windowHandle();
}

QPoint inWindow(QWidget* target, QPoint at)
{
    if (at == QPoint(-1, -1))
        at = target->rect().center();
    return target->mapTo(target->window(), at);
}

}  // namespace

void movePointerOver(QWidget* target, QPoint at)
{
    QTest::mouseMove(windowOf(target), inWindow(target, at));
    QApplication::processEvents();
}

void clickOn(QWidget* target, QPoint at)
{
    QTest::mouseClick(windowOf(target), Qt::LeftButton, Qt::NoModifier, inWindow(target, at));
}

void dragOn(QWidget* target, QPoint from, QPoint to)
{
    QWindow* window = windowOf(target);
    const QPoint start = inWindow(target, from), end = inWindow(target, to);
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(window, end);  // the button is still held
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, end);
}

QImage snapshot(QWidget* widget) { return widget->grab().toImage(); }

}  // namespace testing_support
