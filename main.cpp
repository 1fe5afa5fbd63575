#include "app/Application.h"
#include "app/Termination.h"
#include "entry/Form1.h"
#include "platform/Product.h"
#include "wordproc/WordApplication.h"

#include <QTimer>

#include <cstdio>

namespace {

// For measuring start-up from outside: with CORVALIN_EXIT_WHEN_SHOWN set, the
// program ends as soon as the entry window has painted for the first time.
// Its controls paint over it, so the first paint of any of them counts.
class ExitWhenShown : public QObject {
public:
    explicit ExitWhenShown(const QWidget* window) : mWindow(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == mWindow) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, [] { app::endProgram(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QWidget* mWindow;
};

}  // namespace

int main(int argc, char** argv)
{
    // Asked of the program itself, these need no display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--version") {
            std::printf("%s %s\n", platform::kProductName, CORVALIN_VERSION);
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::printf("Usage: corvalin\n"
                        "Type a meeting into one window and turn it into a minutes document: preview its\n"
                        "pages, zoom and pan, and save it as a Word file where you choose.\n\n"
                        "The meeting is kept in $XDG_CONFIG_HOME/Tessaly.ini (~/.config/Tessaly.ini),\n"
                        "every field saved as it changes. Documents are made in $TEMP, or in a private\n"
                        "folder of the system's temporary folder ($TMPDIR, /tmp) when TEMP is not set or\n"
                        "other users could replace files in it.\n\n"
                        "Environment: DISPLAY or WAYLAND_DISPLAY (the display to use), TEMP, TMPDIR,\n"
                        "XDG_CONFIG_HOME, QT_QPA_PLATFORM.\n\n"
                        "  --help     show this text\n"
                        "  --version  show the version\n");
            return 0;
        }
    }
    QString advice;
    if (!app::displayAvailable(&advice)) {
        std::fputs(advice.toLocal8Bit().constData(), stderr);
        return 2;
    }
    app::beginOpeningDisplay();
    app::Application application(argc, argv);
    app::endOpeningDisplay();
    wordproc::registerComponent();
    app::closeWindowsOnStopSignals();
    entry::Form1 form;
    ExitWhenShown probe(&form);
    if (qEnvironmentVariableIsSet("CORVALIN_EXIT_WHEN_SHOWN"))
        application.installEventFilter(&probe);
    form.Form_Load();
    form.show();
    return application.exec();
}
