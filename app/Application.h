#pragma once

#include <QApplication>
#include <QIcon>
#include <functional>

namespace app {

// The one place where a failure that escaped an unguarded handler is caught:
// it is shown to the user with its description and the program keeps running.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Tells the user about a failure no guarded procedure caught.
void reportUnhandledFailure(const QString& description);

// Ends the program at once: no other window's closing behaviour runs. Every
// setting is already on disk, so there is nothing to flush. Tests replace the
// ending with one that records it.
[[noreturn]] void endProgram();
using ProgramEnd = std::function<void()>;
// Returns the ending it replaces; an empty one restores the real ending.
ProgramEnd setProgramEnd(ProgramEnd end);

// The program's icon.
QIcon programIcon();

// Whether a display is named at all; when not, why, and how to get one.
bool displayAvailable(QString* advice);

// Around making the application: when the display named can't be opened
// (empty, unreachable, a platform that fails), the program ends with its own
// message and exit code 2 instead of the platform's abort.
void beginOpeningDisplay();
void endOpeningDisplay();

}  // namespace app
