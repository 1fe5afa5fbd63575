#include "ui/WindowLook.h"

#include "app/Application.h"
#include "app/Environment.h"
#include "app/Files.h"
#include "app/Guard.h"
#include "platform/Product.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/Pointer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>

namespace ui {

void setUpWindow(app::Guard& g, QWidget* window, WindowPointer& pointer, const std::function<void()>& withCaption)
{
    g.step(104);
    g.act([&] { window->setWindowTitle(QString::fromLatin1(platform::kProductName)); });
    g.act([&] { window->setWindowIcon(app::programIcon()); });
    if (withCaption)
        g.act(withCaption);
    g.step(108);
    const QString cursorFile = app::joinPath(app::environment::programFolder(), QStringLiteral("HAND-M.CUR"));
    if (g.test([&] { return app::FileExists(cursorFile); }))
        g.step(110, [&] { pointer.setCustomPicture(loadCursorFile(cursorFile)); });
}

void setButtonFont(std::initializer_list<QPushButton*> buttons)
{
    const QFont font = designFont(11.25);
    for (QPushButton* b : buttons)
        b->setFont(font);
}

void paintButtonFace(QWidget* window, FaceWalk walk)
{
    const bool skinned = walk == FaceWalk::Skinned;
    const QColor face = platformColour(kButtonFace);
    const QColor lightGrey = platformColour(kLightGrey);
    setBackColour(window, face);
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (c->objectName().isEmpty())
            continue;
        const bool isLabel = qobject_cast<QLabel*>(c) != nullptr;
        if (skinned && isLabel && backColour(c) == lightGrey)
            continue;
        if (isLabel || qobject_cast<QRadioButton*>(c) || qobject_cast<QCheckBox*>(c) || qobject_cast<QGroupBox*>(c)
            || (skinned && qobject_cast<PictureBox*>(c)))
            setBackColour(c, face);
    }
}

QSize roomOnScreen(const QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The window system's frame, once the window has one.
    const QRect inside = window->geometry(), outside = window->frameGeometry();
    const QSize frame = outside.size() - inside.size();
    return screen->availableGeometry().size() - frame;
}

void keepOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect outside = window->frameGeometry();
    QPoint at = outside.topLeft();
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - outside.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outside.height())));
    if (at != outside.topLeft())
        window->move(at);
}

}  // namespace ui
