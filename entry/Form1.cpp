#include "entry/Form1.h"

#include "app/AppTitle.h"
#include "app/Application.h"
#include "app/Environment.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "app/Shared.h"
#include "app/Skin.h"
#include "app/Twips.h"

#include <QCloseEvent>

namespace entry {

Form1::Form1(QWidget* parent)
    : QWidget(parent), SkinFramework1(std::make_shared<app::SkinFramework>()), mPointer(this)
{
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(app::twipsToPixels(9000), app::twipsToPixels(9660));
}

void Form1::Form_Load()
{
    app::Guard g(app::label::Form1_Form_Load);
    g.step(102, [&] { app::ApplySkin(this, SkinFramework1); });
    g.step(104);
    g.act([&] { setWindowTitle(QString::fromLatin1(app::kProductName)); });
    g.act([&] { setWindowIcon(app::programIcon()); });
    g.act([&] { app::SetApplicationTitle(); });
    g.step(108);
    const QString cursorFile =
        app::joinPath(app::environment::programFolder(), QStringLiteral("HAND-M.CUR"));
    if (g.test([&] { return app::FileExists(cursorFile); }))
        g.step(110, [&] { mPointer.setCustomPicture(app::loadCursorFile(cursorFile)); });
    // 130 to 182: the restore of the meeting's fields; 184: the word-processor check.
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

void Form1::Form_Unload() { app::endProgram(); }

}  // namespace entry
