#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cmath>

namespace app {

// Window geometry is designed in twips (1/1440 inch); at 96 dots per inch a
// pixel is 15 twips. Qt's device-independent pixels are those 96-dpi pixels,
// so one factor serves every screen.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

// A control of the designed window: created on its parent, named, and placed
// at its position in twips.
template <class T>
T* placeControl(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    auto* w = new T(parent);
    w->setObjectName(name);
    w->setGeometry(twipsRect(left, top, width, height));
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

}  // namespace app
