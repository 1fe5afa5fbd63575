#pragma once

#include <QHash>
#include <QObject>

class QEvent;
class QWidget;

namespace ui {

class WindowPointer;

// The pointer shapes a window's controls ask for while the pointer is over
// them. Only the control actually under the pointer decides: a move a child
// does not take is passed on to its parent, which must not put its own shape
// over the child's.
class HoverPointer : public QObject {
    Q_OBJECT
public:
    HoverPointer(QWidget* window, WindowPointer& pointer) : mWindow(window), mPointer(pointer) {}

    // `widget` asks for `shape` (ui::vbDefault, ui::vbCustom, ...).
    void watch(QWidget* widget, int shape);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mWindow;
    WindowPointer& mPointer;
    QHash<QObject*, int> mShapes;
};

}  // namespace ui
