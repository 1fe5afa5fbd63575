#include "Dispatch.h"

#include "AutomationError.h"

namespace automation {

const Value& Bound::operator[](size_t i) const
{
    if (!has(i))
        throw AutomationError(QStringLiteral("Argument %1 was omitted").arg(i + 1));
    return *mValues[i];
}

void Dispatch::addMethod(const QString& name, std::vector<Param> params, Method body, int dispatchId)
{
    Member m;
    m.name = name;
    m.params = std::move(params);
    m.method = std::move(body);
    mByName.insert(name.toLower(), mMembers.size());
    if (dispatchId != 0)
        mById.insert(dispatchId, mMembers.size());
    mMembers.push_back(std::move(m));
}

void Dispatch::addProperty(const QString& name, std::optional<Kind> kind, std::vector<Param> index, Getter getter,
                           Setter setter, int dispatchId)
{
    Member m;
    m.name = name;
    m.params = std::move(index);
    m.getter = std::move(getter);
    m.setter = std::move(setter);
    m.valueKind = kind;
    m.isProperty = true;
    mByName.insert(name.toLower(), mMembers.size());
    if (dispatchId != 0)
        mById.insert(dispatchId, mMembers.size());
    mMembers.push_back(std::move(m));
}

Value Dispatch::invoke(const QString& member, CallKind kind, const Arguments& args)
{
    const auto it = mByName.constFind(member.toLower());
    if (it == mByName.constEnd())
        throw AutomationError(QStringLiteral("Object '%1' doesn't support the member '%2'").arg(typeName(), member));
    return invokeMember(mMembers[*it], kind, args);
}

Value Dispatch::invoke(int dispatchId, CallKind kind, const Arguments& args)
{
    const auto it = mById.constFind(dispatchId);
    if (it == mById.constEnd())
        return Object::invoke(dispatchId, kind, args);
    return invokeMember(mMembers[*it], kind, args);
}

QString Dispatch::where(const Member& m) const { return QStringLiteral("'%1' of '%2'").arg(m.name, typeName()); }

Value Dispatch::invokeMember(const Member& m, CallKind kind, const Arguments& args)
{
    if (kind != CallKind::PropertyPut) {
        const Bound bound = bind(m, m.params, args, args.positional.size());
        return m.isProperty ? m.getter(bound) : m.method(bound);
    }
    if (!m.isProperty)
        throw AutomationError(QStringLiteral("Can't assign to %1: it is a method").arg(where(m)));
    if (!m.setter)
        throw AutomationError(QStringLiteral("Property %1 is read-only").arg(where(m)));
    if (args.positional.empty() || !args.positional.back())
        throw AutomationError(QStringLiteral("No value given to assign to %1").arg(where(m)));
    Value value = *args.positional.back();
    if (m.valueKind) {
        try {
            value = value.convertedTo(*m.valueKind);
        } catch (const AutomationError& e) {
            throw AutomationError(QStringLiteral("%1 (assigning to %2)").arg(e.description(), where(m)));
        }
    }
    const Bound bound = bind(m, m.params, args, args.positional.size() - 1);
    m.setter(bound, value);
    return {};
}

Bound Dispatch::bind(const Member& m, const std::vector<Param>& params, const Arguments& args,
                     size_t positionalCount) const
{
    if (positionalCount > params.size())
        throw AutomationError(QStringLiteral("Wrong number of arguments: %1 takes at most %2, got %3")
                                  .arg(where(m))
                                  .arg(params.size())
                                  .arg(positionalCount + args.named.size()));

    std::vector<std::optional<Value>> values(params.size());
    for (size_t i = 0; i < positionalCount; ++i)
        values[i] = args.positional[i];

    for (const auto& [name, value] : args.named) {
        size_t i = 0;
        while (i < params.size() && params[i].name.compare(name, Qt::CaseInsensitive) != 0)
            ++i;
        if (i == params.size())
            throw AutomationError(QStringLiteral("Named argument '%1' not found for %2").arg(name, where(m)));
        if (values[i] || i < positionalCount)
            throw AutomationError(QStringLiteral("Argument '%1' of %2 is given twice").arg(params[i].name, where(m)));
        values[i] = value;
    }

    for (size_t i = 0; i < params.size(); ++i) {
        const Param& p = params[i];
        if (!values[i]) {
            if (!p.optional)
                throw AutomationError(QStringLiteral("Argument '%1' of %2 is not optional").arg(p.name, where(m)));
            continue;
        }
        if (!p.kind)
            continue;
        try {
            values[i] = values[i]->convertedTo(*p.kind);
        } catch (const AutomationError& e) {
            throw AutomationError(QStringLiteral("%1 (argument '%2' of %3)").arg(e.description(), p.name, where(m)));
        }
    }
    return Bound(std::move(values));
}

}  // namespace automation
