#pragma once

#include <QColor>
#include <QtGlobal>

class QWidget;

namespace ui {

// Colours as the design states them: 0x00BBGGRR for a plain colour, or
// 0x80000000 plus an index for a colour of the platform's scheme.
inline constexpr quint32 kButtonFace = 0x8000000F;
inline constexpr quint32 kLightGrey = 0xE0E0E0;

QColor platformColour(quint32 value);

// A control's background colour, and setting it (the control then paints it).
QColor backColour(const QWidget* control);
void setBackColour(QWidget* control, const QColor& colour);

}  // namespace ui
