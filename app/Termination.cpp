#include "app/Termination.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace app {

namespace {

// A signal handler may do almost nothing, so it only wakes the event loop
// through this pair of sockets.
int gWake[2] = {-1, -1};

void onStopSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gWake[1], &byte, 1);
    errno = saved;
}

void closeWhenNothingIsOpen()
{
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(250, qApp, closeWhenNothingIsOpen);
        return;
    }
    QApplication::closeAllWindows();
}

}  // namespace

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
        closeWhenNothingIsOpen();
    });
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

}  // namespace app
