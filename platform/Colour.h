#pragma once

#include <QColor>

// Colours as the object model and the window design pass them: 0x00BBGGRR,
// red in the low byte, the order of the platform the design comes from.
namespace platform {

inline QColor fromBgr(quint32 bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

inline quint32 toBgr(const QColor& colour)
{
    return quint32(colour.red()) | quint32(colour.green()) << 8 | quint32(colour.blue()) << 16;
}

}  // namespace platform
