#pragma once

#include "automation/Object.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace testing_support {

// The lines recorders write, shared by every recorder of one test so the
// order of calls across objects shows.
using CallLog = std::shared_ptr<QStringList>;

inline CallLog makeCallLog() { return std::make_shared<QStringList>(); }

// One call as a recorder received it. A call by dispatch identifier has the
// identifier, written out, as its member.
struct Call {
    QString member;
    automation::CallKind kind;
    const automation::Arguments& args;
};

// A late-bound object that logs every call it receives, by name or by dispatch
// identifier, and then answers as the test tells it; an answer may throw to
// make the call fail after it has been logged. Every line reads alike, so one
// test's expectations read like another's:
//     <object>.<get|put|call> <member>(<arguments>)
// with a positional argument as "<Kind> <value>", an omitted one as
// "<omitted>" and a named one as "<name>=<Kind> <value>".
class RecordingObject : public automation::Object {
public:
    using Answer = std::function<automation::Value(const RecordingObject& self, const Call& call)>;

    // Without an answer every call returns Empty.
    RecordingObject(QString name, CallLog log, Answer answer = {});

    QString typeName() const override { return mName; }
    automation::Value invoke(const QString& member, automation::CallKind kind,
                             const automation::Arguments& args) override;
    automation::Value invoke(int dispatchId, automation::CallKind kind, const automation::Arguments& args) override;

    // A recorder for what `member` returns, named by its path from this one
    // ("Word.Documents") and answering as this one does.
    automation::ObjectPtr child(const QString& member) const;

private:
    automation::Value record(const Call& call);

    QString mName;
    CallLog mLog;
    Answer mAnswer;
};

}  // namespace testing_support
