#include "automation/Dispatch.h"
#include "automation/AutomationError.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace automation;

namespace {

// A small object with one of each kind of member, recording what it receives.
class Sample : public Dispatch {
public:
    Sample()
    {
        addMethod(QStringLiteral("Open"),
                  {required(QStringLiteral("FileName"), Kind::String),
                   optionalParam(QStringLiteral("ConfirmConversions"), Kind::Boolean),
                   optionalParam(QStringLiteral("ReadOnly"), Kind::Boolean)},
                  [this](const Bound& a) {
                      lastFile = a[0].toString();
                      confirmGiven = a.has(1);
                      readOnly = a.valueOr(2, false).toBool();
                      return Value(qint32(7));
                  });
        addProperty(
            QStringLiteral("Visible"), Kind::Boolean, {}, [this](const Bound&) { return Value(visible); },
            [this](const Bound&, const Value& v) { visible = v.toBool(); }, 4);
        addProperty(
            QStringLiteral("Item"), Kind::String, {required(QStringLiteral("Index"), Kind::Long)},
            [this](const Bound& a) { return Value(items.at(a[0].toLong() - 1)); },
            [this](const Bound& a, const Value& v) { items[a[0].toLong() - 1] = v.toString(); });
        addProperty(QStringLiteral("Count"), Kind::Long, {},
                    [this](const Bound&) { return Value(qint32(items.size())); });
    }
    QString typeName() const override { return QStringLiteral("Sample.Object"); }

    QString lastFile;
    bool confirmGiven = false;
    bool readOnly = false;
    bool visible = false;
    QStringList items{QStringLiteral("a"), QStringLiteral("b")};
};

QString failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AutomationError& e) {
        return e.description();
    }
    return QStringLiteral("(no failure)");
}

}  // namespace

TEST(Dispatch, MembersAreFoundWithoutRegardToCase)
{
    auto s = std::make_shared<Sample>();
    EXPECT_EQ(call(s, QStringLiteral("oPEN"), {"x.doc"}).toLong(), 7);
    EXPECT_EQ(get(s, QStringLiteral("count")).toLong(), 2);
    EXPECT_EQ(s->lastFile, QStringLiteral("x.doc"));
}

TEST(Dispatch, PositionalOmittedAndNamedArgumentsBind)
{
    auto s = std::make_shared<Sample>();
    call(s, QStringLiteral("Open"), {"a.dot", omitted(), true});
    EXPECT_FALSE(s->confirmGiven);
    EXPECT_TRUE(s->readOnly);

    call(s, QStringLiteral("Open"),
         {named(QStringLiteral("readonly"), "True"), named(QStringLiteral("FileName"), "b.dot")});
    EXPECT_EQ(s->lastFile, QStringLiteral("b.dot"));
    EXPECT_TRUE(s->readOnly);
    EXPECT_FALSE(s->confirmGiven);
}

TEST(Dispatch, PropertiesGetAndPutWithAndWithoutIndex)
{
    auto s = std::make_shared<Sample>();
    put(s, QStringLiteral("visible"), qint32(-1));
    EXPECT_TRUE(get(s, QStringLiteral("Visible")).toBool());
    put(s, QStringLiteral("Item"), "z", {qint32(2)});
    EXPECT_EQ(get(s, QStringLiteral("Item"), {qint16(2)}).toString(), QStringLiteral("z"));
    // A property called like a method reads it, as automation allows.
    EXPECT_EQ(call(s, QStringLiteral("Item"), {1.0}).toString(), QStringLiteral("a"));
    // And by dispatch identifier.
    callById(s, 4, CallKind::PropertyPut, {false});
    EXPECT_FALSE(s->visible);
}

TEST(Dispatch, EveryFailureNamesTheMember)
{
    auto s = std::make_shared<Sample>();
    EXPECT_EQ(failureOf([&] { call(s, QStringLiteral("Frobnicate")); }),
              QStringLiteral("Object 'Sample.Object' doesn't support the member 'Frobnicate'"));
    EXPECT_EQ(failureOf([&] { call(s, QStringLiteral("Open")); }),
              QStringLiteral("Argument 'FileName' of 'Open' of 'Sample.Object' is not optional"));
    EXPECT_EQ(failureOf([&] {
                  call(s, QStringLiteral("Open"), {"a", true, true, true});
              }),
              QStringLiteral("Wrong number of arguments: 'Open' of 'Sample.Object' takes at most 3, got 4"));
    EXPECT_EQ(failureOf([&] {
                  call(s, QStringLiteral("Open"), {"a", named(QStringLiteral("Bogus"), 1.0)});
              }),
              QStringLiteral("Named argument 'Bogus' not found for 'Open' of 'Sample.Object'"));
    EXPECT_EQ(failureOf([&] {
                  call(s, QStringLiteral("Open"), {"a", named(QStringLiteral("FileName"), "b")});
              }),
              QStringLiteral("Argument 'FileName' of 'Open' of 'Sample.Object' is given twice"));
    EXPECT_EQ(failureOf([&] {
                  call(s, QStringLiteral("Open"), {"a", "maybe"});
              }),
              QStringLiteral("Type mismatch: can't convert String \"maybe\" to Boolean "
                             "(argument 'ConfirmConversions' of 'Open' of 'Sample.Object')"));
    EXPECT_EQ(failureOf([&] { put(s, QStringLiteral("Count"), qint32(3)); }),
              QStringLiteral("Property 'Count' of 'Sample.Object' is read-only"));
    EXPECT_EQ(failureOf([&] { put(s, QStringLiteral("Open"), qint32(3)); }),
              QStringLiteral("Can't assign to 'Open' of 'Sample.Object': it is a method"));
    EXPECT_EQ(failureOf([&] { callById(s, 99, CallKind::Method); }),
              QStringLiteral("Object 'Sample.Object' doesn't support the dispatch identifier 99"));
}

TEST(Dispatch, AnEmptyReferenceNamesTheMemberCalled)
{
    EXPECT_EQ(failureOf([] { call(ObjectPtr(), QStringLiteral("Quit")); }),
              QStringLiteral("Object variable not set: can't reach 'Quit' through an empty reference"));
}
