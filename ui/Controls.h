#pragma once

#include "platform/Units.h"

#include <QFont>
#include <QFrame>
#include <QString>
#include <QWidget>

namespace ui {

// A plain box that holds other controls or a picture. A kind of its own, so
// that the colour rules can tell it from frames and labels.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr) : QFrame(parent) {}
};

// A control placed at a position and size given in twips.
inline void placeInTwips(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(platform::units::twipsRect(left, top, width, height));
}

// A control of a designed window, created on its parent and named.
template <class T> T* namedControl(QWidget* parent, const QString& name)
{
    auto* w = new T(parent);
    w->setObjectName(name);
    return w;
}

// The same, placed at its position in twips.
template <class T> T* placeControl(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    T* w = namedControl<T>(parent, name);
    placeInTwips(w, left, top, width, height);
    return w;
}

// The windows' designed font: Arial, bold, at the given point size.
inline QFont designFont(double points)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(true);
    return f;
}

}  // namespace ui
