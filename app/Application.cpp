#include "app/Application.h"

#include "app/Dialogs.h"
#include "app/Guard.h"
#include "platform/Product.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

static void initResources() { Q_INIT_RESOURCE(corvalin); }

namespace app {

namespace {

ProgramEnd gProgramEnd;

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    initResources();
    setApplicationName(QString::fromLatin1(platform::kProductName));
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

namespace {

QString displayAdvice(const QString& problem)
{
    return QStringLiteral("Corvalin is a desktop program and needs a graphical display, but %1.\n"
                          "Start it from a desktop session, or under a virtual display:\n"
                          "  sudo apt-get install xvfb xauth\n"
                          "  xvfb-run -a corvalin\n"
                          "(from its source folder: xvfb-run -a scripts/run.sh)\n")
        .arg(problem);
}

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler gPreviousHandler = nullptr;
std::vector<HeldMessage> gHeld;

// While the platform is being opened its complaints are held back; when it
// can't be opened, Qt's last word is an abort with advice that does not fit
// this program, so the program says what is wrong and how to get a display.
void whileOpening(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        QString reason;
        for (const HeldMessage& m : gHeld)
            if (m.type >= QtWarningMsg && !m.text.isEmpty()) {
                reason = m.text.section(QLatin1Char('\n'), 0, 0);
                break;
            }
        if (reason.isEmpty())
            reason = text.section(QLatin1Char('\n'), 0, 0);
        const QString display = qEnvironmentVariable("DISPLAY");
        const QString problem = display.isEmpty()
                                    ? QStringLiteral("none can be opened (%1)").arg(reason)
                                    : QStringLiteral("the display '%1' can't be opened (%2)").arg(display, reason);
        std::fputs(displayAdvice(problem).toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        std::_Exit(2);
    }
    gHeld.push_back({type, QByteArray(context.category ? context.category : ""), text});
}

}  // namespace

bool displayAvailable(QString* advice)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    if (advice)
        *advice = displayAdvice(QStringLiteral("none was found (neither DISPLAY nor WAYLAND_DISPLAY is set)"));
    return false;
}

void beginOpeningDisplay()
{
    gHeld.clear();
    gPreviousHandler = qInstallMessageHandler(whileOpening);
}

void endOpeningDisplay()
{
    qInstallMessageHandler(gPreviousHandler);
    // What was said on the way is still worth seeing once the window is up.
    for (const HeldMessage& m : gHeld) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
        if (gPreviousHandler)
            gPreviousHandler(m.type, context, m.text);
        else
            qt_message_output(m.type, context, m.text);
    }
    gHeld.clear();
}

}  // namespace app
