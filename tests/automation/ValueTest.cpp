#include "automation/Value.h"
#include "automation/AutomationError.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using automation::AutomationError;
using automation::Kind;
using automation::Value;

TEST(Value, HoldsEachKind)
{
    EXPECT_EQ(Value().kind(), Kind::Empty);
    EXPECT_EQ(Value::null().kind(), Kind::Null);
    EXPECT_EQ(Value(true).kind(), Kind::Boolean);
    EXPECT_EQ(Value(qint16(3)).kind(), Kind::Integer);
    EXPECT_EQ(Value(qint32(3)).kind(), Kind::Long);
    EXPECT_EQ(Value(1.5f).kind(), Kind::Single);
    EXPECT_EQ(Value(1.5).kind(), Kind::Double);
    EXPECT_EQ(Value("text").kind(), Kind::String);
    EXPECT_EQ(Value(QDateTime(QDate(1601, 1, 1), QTime(0, 0))).kind(), Kind::Date);
    EXPECT_EQ(Value(automation::ObjectPtr()).kind(), Kind::Object);
}

TEST(Value, NumbersConvertAsAutomationDoes)
{
    EXPECT_EQ(Value(2.5).toInteger(), 2);  // half to even
    EXPECT_EQ(Value(3.5).toInteger(), 4);
    EXPECT_EQ(Value(-2.5).toLong(), -2);
    EXPECT_EQ(Value(true).toLong(), -1);
    EXPECT_EQ(Value(false).toInteger(), 0);
    EXPECT_EQ(Value(" 12 ").toLong(), 12);
    EXPECT_EQ(Value().toLong(), 0);
    EXPECT_EQ(Value().toString(), QString());
    EXPECT_TRUE(Value(qint32(-1)).toBool());
    EXPECT_FALSE(Value(0.0).toBool());
    EXPECT_TRUE(Value("True").toBool());
    EXPECT_EQ(Value(qint32(0xFF000000u)).toLong(), qint32(0xFF000000u));
    EXPECT_EQ(Value(11.25f).toString(), QStringLiteral("11.25"));
}

TEST(Value, MismatchAndOverflowSayWhat)
{
    try {
        Value("abc").toLong();
        FAIL() << "no failure";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("Type mismatch: can't convert String \"abc\" to Long"));
    }
    try {
        Value(qint32(40000)).toInteger();
        FAIL() << "no failure";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("Overflow: Long 40000 does not fit in Integer"));
    }
    EXPECT_THROW(Value::null().toString(), AutomationError);
    EXPECT_THROW(Value(1.0).toObject(), AutomationError);
    EXPECT_THROW(Value(1e300).toSingle(), AutomationError);
}
