#include "app/WindowLook.h"

#include "app/AppTitle.h"
#include "app/Application.h"
#include "app/Colours.h"
#include "app/Controls.h"
#include "app/Environment.h"
#include "app/Files.h"
#include "app/Guard.h"
#include "app/Pointer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace app {

void setUpWindow(Guard& g, QWidget* window, WindowPointer& pointer, const std::function<void()>& withCaption)
{
    g.step(104);
    g.act([&] { window->setWindowTitle(QString::fromLatin1(kProductName)); });
    g.act([&] { window->setWindowIcon(programIcon()); });
    if (withCaption)
        g.act(withCaption);
    g.step(108);
    const QString cursorFile = joinPath(environment::programFolder(), QStringLiteral("HAND-M.CUR"));
    if (g.test([&] { return FileExists(cursorFile); }))
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

}  // namespace app
