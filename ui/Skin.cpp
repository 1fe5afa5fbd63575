#include "ui/Skin.h"

#include "app/Environment.h"
#include "app/Files.h"
#include "automation/AutomationError.h"
#include "ui/WindowLook.h"

#include <QFile>
#include <QWidget>

namespace ui {

using automation::Bound;
using automation::Kind;
using automation::Value;

namespace {

QHash<qint32, QPointer<QWidget>>& handles()
{
    static QHash<qint32, QPointer<QWidget>> table;
    return table;
}

}  // namespace

qint32 SkinFramework::handleOf(QWidget* window)
{
    auto& table = handles();
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        if (it.value() == window)
            return it.key();
    const qint32 handle = 0x1000 + static_cast<qint32>(table.size()) * 4;
    table.insert(handle, window);
    return handle;
}

SkinFramework::SkinFramework()
{
    using automation::optionalParam;
    using automation::required;
    addMethod(
        QStringLiteral("LoadSkin"),
        {required(QStringLiteral("Path"), Kind::String), optionalParam(QStringLiteral("Name"), Kind::String)},
        [this](const Bound& a) {
            const QString path = a[0].toString();
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                throw automation::AutomationError(
                    QStringLiteral("Can't load the skin '%1': %2").arg(path, f.errorString()));
            const QByteArray bytes = f.readAll();
            if (bytes.contains('\0'))
                throw automation::AutomationError(
                    QStringLiteral("Can't load the skin '%1': it is not a style sheet").arg(path));
            mStyleSheet = QString::fromUtf8(bytes);
            return Value();
        },
        LoadSkin);
    addProperty(
        QStringLiteral("Options"), Kind::Long, {}, [this](const Bound&) { return Value(mOptions); },
        [this](const Bound&, const Value& v) { mOptions = v.toLong(); }, Options);
    addProperty(
        QStringLiteral("ApplyToPopups"), Kind::Boolean, {}, [this](const Bound&) { return Value(mApplyToPopups); },
        [this](const Bound&, const Value& v) { mApplyToPopups = v.toBool(); }, ApplyToPopups);
    addProperty(
        QStringLiteral("ApplyToDialogs"), Kind::Boolean, {}, [this](const Bound&) { return Value(mApplyToDialogs); },
        [this](const Bound&, const Value& v) { mApplyToDialogs = v.toBool(); }, ApplyToDialogs);
    addMethod(
        QStringLiteral("ApplyWindow"), {required(QStringLiteral("Handle"), Kind::Long)},
        [this](const Bound& a) {
            const QPointer<QWidget> w = handles().value(a[0].toLong());
            if (!w)
                throw automation::AutomationError(
                    QStringLiteral("The skin can't be applied: no window has the handle %1").arg(a[0].toLong()));
            w->setStyleSheet(mStyleSheet);
            return Value();
        },
        ApplyWindow);
}

QString skinPath()
{
    return app::joinPath(app::joinPath(app::environment::programFolder(), QStringLiteral("x")),
                         QStringLiteral("o.cjs"));
}

void ApplySkin(QWidget* window, const automation::ObjectPtr& skinComponent)
{
    const QString path = skinPath();
    if (!app::FileExists(path))
        return;

    paintButtonFace(window, FaceWalk::Skinned);

    using automation::callById;
    using automation::CallKind;
    callById(skinComponent, SkinFramework::LoadSkin, CallKind::Method, {path, QString()});
    const qint32 flags = callById(skinComponent, SkinFramework::Options, CallKind::PropertyGet).toLong();
    callById(skinComponent, SkinFramework::Options, CallKind::PropertyPut, {flags | 1});
    callById(skinComponent, SkinFramework::ApplyToPopups, CallKind::PropertyPut, {true});
    callById(skinComponent, SkinFramework::ApplyToDialogs, CallKind::PropertyPut, {true});
    callById(skinComponent, SkinFramework::ApplyWindow, CallKind::Method, {SkinFramework::handleOf(window)});
}

}  // namespace ui
