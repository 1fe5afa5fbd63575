#pragma once

#include "app/Controls.h"
#include "platform/Picture.h"

#include <optional>

namespace preview {

// A picture box or image control: it holds a picture shown at its natural
// size (sizing itself to it when asked to) and keeps what is painted on it,
// as a persistent drawing surface does. Sizes are in twips.
class PictureControl : public app::PictureBox {
    Q_OBJECT
public:
    explicit PictureControl(QWidget* parent = nullptr);

    const platform::Picture& picture() const { return mPicture; }
    void setPicture(const platform::Picture& picture);  // an empty picture removes it
    void setAutoSize(bool on) { mAutoSize = on; }

    // Paints `source` (twips of the picture) of a picture into `target`
    // (twips of this control); it stays until the next paint or clear.
    void paintPicture(const platform::Picture& picture, const QRectF& target, const QRectF& source);
    void clearDrawing();

    int widthTwips() const;
    int heightTwips() const;
    void setSizeTwips(int width, int height);
    void moveTwips(int left, int top);

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
    struct Drawing {
        platform::Picture picture;
        QRectF target, source;
    };
    platform::Picture mPicture;
    std::optional<Drawing> mDrawing;
    bool mAutoSize = false;
};

}  // namespace preview
