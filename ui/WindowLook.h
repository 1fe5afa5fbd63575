#pragma once

#include <functional>
#include <initializer_list>

class QPushButton;
class QSize;
class QWidget;

namespace app {
class Guard;
}

namespace ui {

class WindowPointer;

// What the entry and the preview window share in how they look and start.

// Steps 104 to 110 of a window's load: the caption and the program's icon
// (then `withCaption`, where the window has more to do in that step), and the
// custom pointer from HAND-M.CUR in the program folder where there is one.
void setUpWindow(app::Guard& g, QWidget* window, WindowPointer& pointer, const std::function<void()>& withCaption = {});

// The command buttons' designed font.
void setButtonFont(std::initializer_list<QPushButton*> buttons);

// Which controls take the button face with their window.
enum class FaceWalk {
    Standard,  // option buttons, check boxes, frames and labels
    Skinned,  // those and picture boxes; labels in the light grey keep it
};

// The window and its controls of the kinds `walk` names take the button face.
// Parts of composite widgets (nameless) are not controls of the window.
void paintButtonFace(QWidget* window, FaceWalk walk);

// The largest size a window's inside may have to fit, with its frame, in
// the available area of its screen (the whole screen's where it has none yet).
QSize roomOnScreen(const QWidget* window);
// Moves a window so that as much of it as fits lies in that area.
void keepOnScreen(QWidget* window);

}  // namespace ui
