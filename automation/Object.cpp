#include "Object.h"

#include "AutomationError.h"

namespace automation {

Value Object::invoke(int dispatchId, CallKind, const Arguments&)
{
    throw AutomationError(
        QStringLiteral("Object '%1' doesn't support the dispatch identifier %2").arg(typeName()).arg(dispatchId));
}

Arg omitted() { return Arg(); }

Arg named(const QString& name, Value value)
{
    Arg a;
    a.name = name;
    a.value = std::move(value);
    return a;
}

Arguments makeArguments(std::initializer_list<Arg> args)
{
    Arguments out;
    for (const Arg& a : args) {
        if (!a.name.isEmpty())
            out.named.emplace_back(a.name, *a.value);
        else if (!out.named.empty())
            throw AutomationError(QStringLiteral("A positional argument can't follow the named argument '%1'")
                                      .arg(out.named.back().first));
        else
            out.positional.push_back(a.value);
    }
    return out;
}

namespace {

const ObjectPtr& checked(const ObjectPtr& object, const QString& member)
{
    if (!object)
        throw AutomationError(
            QStringLiteral("Object variable not set: can't reach '%1' through an empty reference").arg(member));
    return object;
}

}  // namespace

Value call(const ObjectPtr& object, const QString& member, std::initializer_list<Arg> args)
{
    return checked(object, member)->invoke(member, CallKind::Method, makeArguments(args));
}

Value get(const ObjectPtr& object, const QString& member, std::initializer_list<Arg> args)
{
    return checked(object, member)->invoke(member, CallKind::PropertyGet, makeArguments(args));
}

void put(const ObjectPtr& object, const QString& member, const Value& value, std::initializer_list<Arg> index)
{
    Arguments a = makeArguments(index);
    if (!a.named.empty())
        throw AutomationError(QStringLiteral("The index of '%1' can't be given by name").arg(member));
    a.positional.emplace_back(value);
    checked(object, member)->invoke(member, CallKind::PropertyPut, a);
}

Value callById(const ObjectPtr& object, int dispatchId, CallKind kind, std::initializer_list<Arg> args)
{
    return checked(object, QStringLiteral("#%1").arg(dispatchId))->invoke(dispatchId, kind, makeArguments(args));
}

}  // namespace automation
