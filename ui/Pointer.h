#pragma once

#include <QCursor>
#include <QString>
#include <optional>

class QEvent;
class QWidget;

namespace ui {

// The pointer shapes a window uses.
inline constexpr int vbDefault = 0;
inline constexpr int vbHourglass = 11;
inline constexpr int vbCustom = 99;

// Reads a cursor file (.cur, or .ico) with the picture and hot spot it holds.
// Throws with a description when the file is missing or not a cursor.
QCursor loadCursorFile(const QString& path);

// One pointer setting for a whole window: the arrow, the hourglass, or the
// custom picture (the platform's pointing hand when none was loaded).
class WindowPointer {
public:
    explicit WindowPointer(QWidget* window) : mWindow(window) {}

    int shape() const { return mShape; }
    void setShape(int shape);

    // What hovering asks for: ignored while the window is busy.
    void hover(int shape);

    void setCustomPicture(const QCursor& cursor);
    bool hasCustomPicture() const { return mCustom.has_value(); }
    // The cursor shown for shape 99.
    QCursor customCursor() const;

private:
    QWidget* mWindow;
    int mShape = vbDefault;
    std::optional<QCursor> mCustom;
};

// The control of a designed window that the pointer of an Enter or MouseMove
// event is over: the deepest widget there, or the named control it is a part
// of (a picker's inner editor counts as the picker). A caption is a control
// of its own, so a move over it is not the frame's.
QWidget* controlUnderPointer(QWidget* window, const QEvent* event);

}  // namespace ui
