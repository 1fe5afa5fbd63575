#pragma once

#include <QImage>
#include <QPoint>

class QWidget;

// Driving the windows as a user does, and looking at what they show: events
// go through the window system's path (the window, then the widget under the
// pointer, then its parents), not straight to one widget.
namespace testing_support {

// Moves the pointer onto `target` (its centre unless a point is given).
void movePointerOver(QWidget* target, QPoint at = QPoint(-1, -1));
// Presses and releases the left button on `target`.
void clickOn(QWidget* target, QPoint at = QPoint(-1, -1));
// Drags with the left button held from one point of `target` to another.
void dragOn(QWidget* target, QPoint from, QPoint to);
// What the widget shows, painted into an image of its size.
QImage snapshot(QWidget* widget);

}  // namespace testing_support
