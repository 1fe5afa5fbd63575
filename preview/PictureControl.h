#pragma once

#include "preview/PageView.h"
#include "ui/Controls.h"

#include <QScrollBar>

namespace preview {

// The canvas: it shows what the page view says it shows (a picture at its
// natural size, and what was painted over it), and reports the mouse in
// twips of its own.
class PictureControl : public ui::PictureBox {
    Q_OBJECT
public:
    explicit PictureControl(QWidget* parent = nullptr);

    void show(const PageView::Canvas& canvas);

signals:
    void mouseDown(float x, float y);
    void mouseMove(bool buttonHeld, float x, float y);
    void mouseUp(float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PageView::Canvas mCanvas;
};

// The viewport and the bars take the keys like the canvas, and show it when
// they have the focus, as every control that takes it must.
class ViewportBox : public ui::PictureBox {
    Q_OBJECT
public:
    using ui::PictureBox::PictureBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class FocusScrollBar : public QScrollBar {
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace preview
