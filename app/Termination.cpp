#include "app/Termination.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace app {

namespace {

// A signal handler may do almost nothing, so it only wakes the event loop
// through this pair of sockets.
int gWake[2] = {-1, -1};
bool gStopRequested = false;
WorkUnderWay gWorkUnderWay;

// Often enough that a stop at logout is quick, seldom enough to cost nothing.
constexpr int kPollMs = 50;

void onStopSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gWake[1], &byte, 1);
    errno = saved;
}

// Every box or dialog waiting for an answer gets its safe one. A window that
// can't be cancelled (a run's progress) refuses, as it refuses the user.
// Returns whether any was open.
bool dismissOpenDialogs()
{
    bool any = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) {
            dialog->reject();
            any = true;
        }
    return any;
}

void closeWhenIdle()
{
    if (!gStopRequested)
        return;  // taken back (a test that raised the signal has ended)
    // A run finishes first; a box that was just dismissed unwinds first; and
    // a stop that came before the first window showed waits for it.
    const bool working = gWorkUnderWay && gWorkUnderWay();
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool shown = std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* w) { return w->isVisible(); });
    if (working || QApplication::activeModalWidget() || !shown) {
        dismissOpenDialogs();  // a box the run raised meanwhile
        QTimer::singleShot(kPollMs, qApp, closeWhenIdle);
        return;
    }
    QApplication::closeAllWindows();
}

}  // namespace

bool stopRequested() { return gStopRequested; }

bool setStopRequested(bool requested) { return std::exchange(gStopRequested, requested); }

WorkUnderWay setWorkUnderWay(WorkUnderWay query) { return std::exchange(gWorkUnderWay, std::move(query)); }

void closeWindowsOnStopSignals()
{
    if (gWake[0] >= 0)
        return;
    // Without the sockets the signals keep their default, ending the program as before.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, gWake) != 0)
        return;
    auto* notifier = new QSocketNotifier(gWake[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char drained[64];
        while (::read(gWake[0], drained, sizeof drained) > 0) {}
        const bool already = std::exchange(gStopRequested, true);
        // A dismissed box returns to the code that asked (a window's closing,
        // say) only once this has returned: the windows are closed after it.
        const bool dismissed = dismissOpenDialogs();
        if (already)
            return;
        if (dismissed)
            QTimer::singleShot(kPollMs, qApp, closeWhenIdle);
        else
            closeWhenIdle();
    });
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

}  // namespace app
