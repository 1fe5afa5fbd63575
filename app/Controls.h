#pragma once

#include <QFrame>

namespace app {

// A plain box that holds other controls or a picture. A kind of its own, so
// that the colour rules can tell it from frames and labels.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr) : QFrame(parent) {}
};

}  // namespace app
