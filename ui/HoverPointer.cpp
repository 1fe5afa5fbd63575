#include "ui/HoverPointer.h"

#include "ui/Pointer.h"

#include <QEvent>
#include <QWidget>

namespace ui {

void HoverPointer::watch(QWidget* widget, int shape)
{
    mShapes.insert(widget, shape);
    // Controls come and go with the agenda topics; a new one may take a gone one's address.
    connect(widget, &QObject::destroyed, this, [this](QObject* gone) { mShapes.remove(gone); });
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
