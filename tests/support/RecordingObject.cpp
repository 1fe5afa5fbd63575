#include "RecordingObject.h"

namespace testing_support {

using automation::CallKind;
using automation::Kind;
using automation::Value;

namespace {

QString valueText(const Value& v)
{
    // These kinds have no text of their own; asking a Null or an object for one throws.
    if (v.kind() == Kind::Empty || v.kind() == Kind::Null || v.kind() == Kind::Object)
        return automation::kindName(v.kind());
    return automation::kindName(v.kind()) + QLatin1Char(' ') + v.toString();
}

QLatin1String verb(CallKind kind)
{
    switch (kind) {
    case CallKind::PropertyGet: return QLatin1String("get");
    case CallKind::PropertyPut: return QLatin1String("put");
    case CallKind::Method: break;
    }
    return QLatin1String("call");
}

QString callLine(const QString& object, const Call& call)
{
    QStringList parts;
    for (const auto& a : call.args.positional)
        parts << (a ? valueText(*a) : QStringLiteral("<omitted>"));
    for (const auto& [name, v] : call.args.named)
        parts << name + QLatin1Char('=') + valueText(v);
    return QStringLiteral("%1.%2 %3(%4)").arg(object, verb(call.kind), call.member, parts.join(QStringLiteral(", ")));
}

}  // namespace

RecordingObject::RecordingObject(QString name, CallLog log, Answer answer)
    : mName(std::move(name)), mLog(std::move(log)), mAnswer(std::move(answer))
{}

Value RecordingObject::invoke(const QString& member, CallKind kind, const automation::Arguments& args)
{
    return record(Call{member, kind, args});
}

Value RecordingObject::invoke(int dispatchId, CallKind kind, const automation::Arguments& args)
{
    return record(Call{QString::number(dispatchId), kind, args});
}

automation::ObjectPtr RecordingObject::child(const QString& member) const
{
    return std::make_shared<RecordingObject>(mName + QLatin1Char('.') + member, mLog, mAnswer);
}

Value RecordingObject::record(const Call& call)
{
    *mLog << callLine(mName, call);
    return mAnswer ? mAnswer(*this, call) : Value();
}

}  // namespace testing_support
