#pragma once

#include "automation/Dispatch.h"

#include <QHash>
#include <QPointer>
#include <QString>

class QWidget;

namespace ui {

// The skin component that sits on the entry window. Like the outside
// component it stands for, the program reaches it only through dispatch
// identifiers. A style sheet set on a window already reaches its pop-ups and
// dialogs, so in this skin format the options need no work of their own.
class SkinFramework : public automation::Dispatch {
public:
    enum Member : qint32 {
        Options = 1,  // flag bits, kept as set
        LoadSkin = 2,  // (path, name): reads the skin file; our skins are Qt style sheets
        ApplyWindow = 3,  // (handle): styles the window with that handle
        ApplyToPopups = 5,  // option, kept as set
        ApplyToDialogs = 10,  // option, kept as set
    };

    SkinFramework();
    QString typeName() const override { return QStringLiteral("SkinFramework"); }

    // The handle the component knows a window by.
    static qint32 handleOf(QWidget* window);

private:
    QString mStyleSheet;
    qint32 mOptions = 0;
    bool mApplyToPopups = false;
    bool mApplyToDialogs = false;
};

// The skin file's place: "x/o.cjs" in the program folder.
QString skinPath();

// Applies the optional skin to the entry window: without a skin file nothing
// changes. With one, the window and its option buttons, check boxes, frames,
// labels and picture boxes take the button face (labels of the light grey keep
// theirs), then the skin component gets its five calls in order. A failing call
// stops here, with the colours already set kept.
void ApplySkin(QWidget* window, const automation::ObjectPtr& skinComponent);

}  // namespace ui
