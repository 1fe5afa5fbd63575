#pragma once

#include "Value.h"

#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace automation {

enum class CallKind { Method, PropertyGet, PropertyPut };

// The arguments of one late-bound call. An omitted positional argument is an
// empty optional; named arguments follow the positional ones. For a property
// put, the value assigned is the last positional argument.
struct Arguments {
    std::vector<std::optional<Value>> positional;
    std::vector<std::pair<QString, Value>> named;
};

// An object whose members are reached by name, without regard to case, or by
// dispatch identifier.
class Object {
public:
    virtual ~Object() = default;
    // What messages call the object, e.g. "Scripting.FileSystemObject".
    virtual QString typeName() const = 0;
    virtual Value invoke(const QString& member, CallKind kind, const Arguments& args) = 0;
    virtual Value invoke(int dispatchId, CallKind kind, const Arguments& args);
};

// One argument as a caller writes it: a value, an omitted argument or a named one.
struct Arg {
    Arg(Value v) : value(std::move(v)) {}
    Arg(bool v) : value(v) {}
    Arg(qint16 v) : value(v) {}
    Arg(qint32 v) : value(v) {}
    Arg(float v) : value(v) {}
    Arg(double v) : value(v) {}
    Arg(const QString& v) : value(v) {}
    Arg(const char* v) : value(v) {}
    Arg(ObjectPtr v) : value(std::move(v)) {}
    std::optional<Value> value;
    QString name;

private:
    Arg() = default;
    friend Arg omitted();
    friend Arg named(const QString&, Value);
};

Arg omitted();
Arg named(const QString& name, Value value);

Arguments makeArguments(std::initializer_list<Arg> args);

// Calls through a reference; an empty reference throws naming the member.
Value call(const ObjectPtr& object, const QString& member, std::initializer_list<Arg> args = {});
Value get(const ObjectPtr& object, const QString& member, std::initializer_list<Arg> args = {});
void put(const ObjectPtr& object, const QString& member, const Value& value, std::initializer_list<Arg> index = {});
Value callById(const ObjectPtr& object, int dispatchId, CallKind kind, std::initializer_list<Arg> args = {});

}  // namespace automation
