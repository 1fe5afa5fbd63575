#pragma once

#include <QString>
#include <exception>
#include <utility>

namespace app {

// Thrown by the program's ending when a test stands in for it, so that nothing
// runs on past the end; guards let it through.
struct ProgramEnded {};

// The text a failure shows the user.
QString describeFailure(const std::exception& e);

// How a guarded procedure runs its numbered steps. Each action runs through
// act(): when it throws, the procedure's error report is shown with its label
// and the number of the last step begun, and the procedure carries on with the
// next action as if the failed one had completed. A procedure never ends early
// because of a failure.
//
//     Guard g(label::Form1_Form_Load);
//     g.step(104);
//     g.act([&] { setWindowTitle(...); });
//     g.act([&] { SetApplicationTitle(); });   // still runs if the caption failed
//     g.step(108);
//     if (g.test([&] { return FileExists(p); })) { ... }   // a failed test goes inside
class Guard {
public:
    explicit Guard(const char* label) : mLabel(QString::fromLatin1(label)) {}

    // Begins step n; its number is the one reported until the next step begins.
    void step(int n) { mStep = n; }

    // Begins step n and runs its one action.
    template <class F> void step(int n, F&& action)
    {
        step(n);
        act(std::forward<F>(action));
    }

    template <class F> void act(F&& action)
    {
        try {
            std::forward<F>(action)();
        } catch (const ProgramEnded&) {
            throw;
        } catch (const std::exception& e) {
            report(describeFailure(e));
        } catch (...) {
            report(QStringLiteral("Unknown failure"));
        }
    }

    // The test of a conditional step. A test that fails counts as true: the
    // run goes on with the first action the condition guards.
    template <class F> bool test(F&& condition)
    {
        bool result = true;
        act([&] { result = std::forward<F>(condition)(); });
        return result;
    }

    int currentStep() const { return mStep; }
    const QString& label() const { return mLabel; }

private:
    void report(const QString& description) const;

    QString mLabel;
    int mStep = 0;
};

}  // namespace app
