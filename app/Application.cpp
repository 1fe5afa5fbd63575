#include "app/Application.h"

#include "app/Dialogs.h"
#include "app/Guard.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

static void initResources() { Q_INIT_RESOURCE(corvalin); }

namespace app {

namespace {

ProgramEnd gProgramEnd;

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    initResources();
    setApplicationName(QStringLiteral("Corvalin"));
    setOrganizationName(QStringLiteral("Tessaly"));
    setWindowIcon(programIcon());
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramEnded&) {
        return true;
    } catch (const std::exception& e) {
        reportUnhandledFailure(describeFailure(e));
    } catch (...) {
        reportUnhandledFailure(QStringLiteral("Unknown failure"));
    }
    return false;
}

void reportUnhandledFailure(const QString& description) { MsgBox(description, vbExclamation); }

void endProgram()
{
    if (gProgramEnd) {
        gProgramEnd();
        // A test's ending returns; nothing may run on past the end, so the
        // unwinding stops at the event dispatch.
        throw ProgramEnded{};
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

ProgramEnd setProgramEnd(ProgramEnd end) { return std::exchange(gProgramEnd, std::move(end)); }

QIcon programIcon()
{
    initResources();
    return QIcon(QStringLiteral(":/corvalin/corvalin.png"));
}

bool displayAvailable(QString* advice)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return true;
    if (advice)
        *advice = QStringLiteral(
            "Corvalin is a desktop program and needs a graphical display, but none was found\n"
            "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
            "Start it from a desktop session, or under a virtual display:\n"
            "  xvfb-run -a build/corvalin\n");
    return false;
}

}  // namespace app
