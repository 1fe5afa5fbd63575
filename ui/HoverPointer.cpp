#include "ui/HoverPointer.h"

#include "ui/Pointer.h"

#include <QEvent>
#include <QWidget>

namespace ui {

void HoverPointer::watch(QWidget* widget, int shape)
{
    mShapes.insert(widget, shape);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

bool HoverPointer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        const auto it = mShapes.constFind(watched);
        if (it != mShapes.constEnd() && controlUnderPointer(mWindow, event) == watched)
            mPointer.hover(*it);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ui
