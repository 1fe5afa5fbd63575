#include "tests/support/Ui.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace testing_support {

namespace {

QPoint inWindow(QWidget* target, QPoint at)
{
    if (at == QPoint(-1, -1))
        at = target->rect().center();
    return target->mapTo(target->window(), at);
}

}  // namespace

void movePointerOver(QWidget* target, QPoint at)
{
    QTest::mouseMove(target->window(), inWindow(target, at));
    QApplication::processEvents();
}

void clickOn(QWidget* target, QPoint at)
{
    const QPoint p = inWindow(target, at);
    QTest::mousePress(target->window(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(target->window(), Qt::LeftButton, Qt::NoModifier, p);
}

void dragOn(QWidget* target, QPoint from, QPoint to)
{
    QWidget* window = target->window();
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, inWindow(target, from));
    // A move with the button held: QTest's own move carries no buttons.
    QMouseEvent move(QEvent::MouseMove, QPointF(target->mapFrom(window, inWindow(target, to))),
                     QPointF(window->mapToGlobal(inWindow(target, to))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QWidget* under = window->childAt(inWindow(target, from));
    QApplication::sendEvent(under ? under : window, &move);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, inWindow(target, to));
}

QImage snapshot(QWidget* widget) { return widget->grab().toImage(); }

}  // namespace testing_support
