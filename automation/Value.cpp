#include "Value.h"

#include "AutomationError.h"

#include <cmath>
#include <limits>

namespace automation {

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Empty: return QStringLiteral("Empty");
    case Kind::Null: return QStringLiteral("Null");
    case Kind::Boolean: return QStringLiteral("Boolean");
    case Kind::Integer: return QStringLiteral("Integer");
    case Kind::Long: return QStringLiteral("Long");
    case Kind::Single: return QStringLiteral("Single");
    case Kind::Double: return QStringLiteral("Double");
    case Kind::String: return QStringLiteral("String");
    case Kind::Date: return QStringLiteral("Date");
    case Kind::Object: return QStringLiteral("Object");
    }
    return {};
}

Value Value::null() { return Value(Data(NullTag{})); }

Kind Value::kind() const
{
    static constexpr Kind kinds[] = {Kind::Empty,  Kind::Null,   Kind::Boolean, Kind::Integer, Kind::Long,
                                     Kind::Single, Kind::Double, Kind::String,  Kind::Date,    Kind::Object};
    return kinds[mData.index()];
}

namespace {

[[noreturn]] void mismatch(const Value& v, Kind target)
{
    throw AutomationError(QStringLiteral("Type mismatch: can't convert %1 to %2").arg(v.describe(), kindName(target)));
}

[[noreturn]] void overflow(const Value& v, Kind target)
{
    throw AutomationError(QStringLiteral("Overflow: %1 does not fit in %2").arg(v.describe(), kindName(target)));
}

}  // namespace

double Value::numeric(Kind target) const
{
    switch (kind()) {
    case Kind::Empty: return 0;
    case Kind::Boolean: return std::get<bool>(mData) ? -1 : 0;
    case Kind::Integer: return std::get<qint16>(mData);
    case Kind::Long: return std::get<qint32>(mData);
    case Kind::Single: return std::get<float>(mData);
    case Kind::Double: return std::get<double>(mData);
    case Kind::String: {
        bool ok = false;
        const double d = std::get<QString>(mData).trimmed().toDouble(&ok);
        if (!ok)
            mismatch(*this, target);
        return d;
    }
    default: mismatch(*this, target);
    }
}

bool Value::toBool() const
{
    if (kind() == Kind::Boolean)
        return std::get<bool>(mData);
    if (kind() == Kind::String) {
        const QString s = std::get<QString>(mData).trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return numeric(Kind::Boolean) != 0;
}

qint16 Value::toInteger() const
{
    const std::optional<qint16> i = roundedTo<qint16>(numeric(Kind::Integer));
    if (!i)
        overflow(*this, Kind::Integer);
    return *i;
}

qint32 Value::toLong() const
{
    const std::optional<qint32> l = roundedTo<qint32>(numeric(Kind::Long));
    if (!l)
        overflow(*this, Kind::Long);
    return *l;
}

float Value::toSingle() const
{
    const double d = numeric(Kind::Single);
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
        overflow(*this, Kind::Single);
    return static_cast<float>(d);
}

double Value::toDouble() const { return numeric(Kind::Double); }

QString Value::toString() const
{
    switch (kind()) {
    case Kind::Empty: return QString();
    case Kind::Boolean: return std::get<bool>(mData) ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Integer: return QString::number(std::get<qint16>(mData));
    case Kind::Long: return QString::number(std::get<qint32>(mData));
    case Kind::Single: return QString::number(std::get<float>(mData), 'g', 7);
    case Kind::Double: return QString::number(std::get<double>(mData), 'g', 15);
    case Kind::String: return std::get<QString>(mData);
    case Kind::Date: return std::get<QDateTime>(mData).toString(Qt::ISODate);
    default: mismatch(*this, Kind::String);
    }
}

QDateTime Value::toDateTime() const
{
    if (kind() == Kind::Date)
        return std::get<QDateTime>(mData);
    if (kind() == Kind::String) {
        const QDateTime d = QDateTime::fromString(std::get<QString>(mData).trimmed(), Qt::ISODate);
        if (d.isValid())
            return d;
    }
    mismatch(*this, Kind::Date);
}

ObjectPtr Value::toObject() const
{
    if (kind() == Kind::Object)
        return std::get<ObjectPtr>(mData);
    mismatch(*this, Kind::Object);
}

Value Value::convertedTo(Kind target) const
{
    if (kind() == target)
        return *this;
    switch (target) {
    case Kind::Boolean: return Value(toBool());
    case Kind::Integer: return Value(toInteger());
    case Kind::Long: return Value(toLong());
    case Kind::Single: return Value(toSingle());
    case Kind::Double: return Value(toDouble());
    case Kind::String: return Value(toString());
    case Kind::Date: return Value(toDateTime());
    default: mismatch(*this, target);
    }
}

QString Value::describe() const
{
    switch (kind()) {
    case Kind::Empty:
    case Kind::Null:
    case Kind::Object: return kindName(kind());
    case Kind::String: {
        QString s = std::get<QString>(mData);
        if (s.size() > 40)
            s = s.left(40) + QStringLiteral("...");
        return QStringLiteral("String \"%1\"").arg(s);
    }
    default: return kindName(kind()) + QLatin1Char(' ') + toString();
    }
}

bool Value::operator==(const Value& other) const { return mData == other.mData; }

Value NullToDefault(const Value& value, const Value& fallback) { return value.isNull() ? fallback : value; }

}  // namespace automation
