#include "ui/Colours.h"

#include "platform/Colour.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace ui {

QColor platformColour(quint32 value)
{
    if ((value & 0x80000000u) == 0)
        return platform::fromBgr(value);
    const QPalette p = QApplication::palette();
    switch (value & 0xFF) {
    case 5: return p.color(QPalette::Base);  // window background
    case 8: return p.color(QPalette::WindowText);  // window text
    case 13: return p.color(QPalette::Highlight);
    case 14: return p.color(QPalette::HighlightedText);
    case 15: return p.color(QPalette::Button);  // button face
    case 16: return p.color(QPalette::Mid);  // button shadow
    case 18: return p.color(QPalette::ButtonText);
    case 20: return p.color(QPalette::Light);  // button highlight
    default: return p.color(QPalette::Window);
    }
}

QColor backColour(const QWidget* control) { return control->palette().color(control->backgroundRole()); }

void setBackColour(QWidget* control, const QColor& colour)
{
    QPalette p = control->palette();
    p.setColor(control->backgroundRole(), colour);
    control->setPalette(p);
    control->setAutoFillBackground(true);
}

}  // namespace ui
