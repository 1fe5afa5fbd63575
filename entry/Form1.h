#pragma once

#include "app/Pointer.h"
#include "automation/Value.h"

#include <QWidget>

namespace entry {

// The entry window: the start-up window in which the meeting is typed.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    // The start-up sequence; the window is shown only after it has returned.
    void Form_Load();

    app::WindowPointer& pointer() { return mPointer; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Unload();

    // The non-visual skin component that styles this window.
    automation::ObjectPtr SkinFramework1;
    app::WindowPointer mPointer;
};

}  // namespace entry
