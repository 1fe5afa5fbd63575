#pragma once

#include "Object.h"

#include <QHash>
#include <optional>

namespace automation {

// The parameters of a member after binding: one slot per declared parameter,
// coerced to its declared kind, empty where the caller omitted an optional one.
class Bound {
public:
    explicit Bound(std::vector<std::optional<Value>> values) : mValues(std::move(values)) {}
    bool has(size_t i) const { return i < mValues.size() && mValues[i].has_value(); }
    const Value& operator[](size_t i) const;
    Value valueOr(size_t i, const Value& fallback) const { return has(i) ? *mValues[i] : fallback; }
    size_t size() const { return mValues.size(); }

private:
    std::vector<std::optional<Value>> mValues;
};

// A parameter as a member declares it. Without a kind it takes any value as it is.
struct Param {
    QString name;
    std::optional<Kind> kind;
    bool optional = false;
};

inline Param required(const QString& name, std::optional<Kind> kind = std::nullopt) { return {name, kind, false}; }
inline Param optionalParam(const QString& name, std::optional<Kind> kind = std::nullopt) { return {name, kind, true}; }

// Base of our own late-bound objects: members are declared once in a table and
// the binding rules (case-blind names, omitted and named arguments, counts and
// types) live here rather than in every object.
class Dispatch : public Object {
public:
    using Method = std::function<Value(const Bound&)>;
    using Getter = std::function<Value(const Bound&)>;
    using Setter = std::function<void(const Bound&, const Value&)>;

    Value invoke(const QString& member, CallKind kind, const Arguments& args) override;
    Value invoke(int dispatchId, CallKind kind, const Arguments& args) override;

protected:
    void addMethod(const QString& name, std::vector<Param> params, Method body, int dispatchId = 0);
    // A property with optional index parameters; a null setter makes it read-only.
    void addProperty(const QString& name, std::optional<Kind> kind, std::vector<Param> index, Getter getter,
                     Setter setter = {}, int dispatchId = 0);

private:
    struct Member {
        QString name;
        std::vector<Param> params;
        Method method;
        Getter getter;
        Setter setter;
        std::optional<Kind> valueKind;
        bool isProperty = false;
    };
    Value invokeMember(const Member& m, CallKind kind, const Arguments& args);
    Bound bind(const Member& m, const std::vector<Param>& params, const Arguments& args, size_t positionalCount) const;
    QString where(const Member& m) const;

    std::vector<Member> mMembers;
    QHash<QString, size_t> mByName;  // lower-case name -> member
    QHash<int, size_t> mById;
};

}  // namespace automation
