#pragma once

#include <QDateTime>
#include <QString>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <variant>

namespace automation {

class Object;
using ObjectPtr = std::shared_ptr<Object>;

// The kinds a late-bound argument or result can hold.
enum class Kind { Empty, Null, Boolean, Integer, Long, Single, Double, String, Date, Object };

QString kindName(Kind kind);

// A number as an integer the way automation converts it: halves round to
// even; nothing when it is out of the integer's range or not a number.
template <class Int> std::optional<Int> roundedTo(double d)
{
    const double r = std::nearbyint(d);  // the default rounding mode: halves to even
    if (!(r >= std::numeric_limits<Int>::min() && r <= std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

// A variant as late-bound calls pass it: Integer is 16-bit, Long 32-bit,
// Single and Double are the two floating-point widths. Conversions follow the
// usual automation rules (numbers round half to even, true is -1) and throw
// AutomationError on a type mismatch or an overflow.
class Value {
public:
    Value() = default;  // Empty
    Value(bool v) : mData(v) {}
    Value(qint16 v) : mData(v) {}
    Value(qint32 v) : mData(v) {}
    Value(float v) : mData(v) {}
    Value(double v) : mData(v) {}
    Value(const QString& v) : mData(v) {}
    Value(const char* v) : mData(QString::fromUtf8(v)) {}
    Value(const QDateTime& v) : mData(v) {}
    Value(ObjectPtr v) : mData(std::move(v)) {}

    static Value null();

    Kind kind() const;
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isObject() const { return kind() == Kind::Object; }

    bool toBool() const;
    qint16 toInteger() const;
    qint32 toLong() const;
    float toSingle() const;
    double toDouble() const;
    QString toString() const;
    QDateTime toDateTime() const;
    ObjectPtr toObject() const;

    // This value converted to the given kind (Empty, Null and Object only to themselves).
    Value convertedTo(Kind kind) const;

    // A short form for messages: the kind and, for plain values, the value.
    QString describe() const;

    bool operator==(const Value& other) const;

private:
    struct NullTag {
        bool operator==(const NullTag&) const { return true; }
    };
    using Data =
        std::variant<std::monostate, NullTag, bool, qint16, qint32, float, double, QString, QDateTime, ObjectPtr>;
    explicit Value(Data d) : mData(std::move(d)) {}
    double numeric(Kind target) const;

    Data mData;
};

// The value, or the default when the value is null; nothing else is converted.
Value NullToDefault(const Value& value, const Value& fallback);

}  // namespace automation
