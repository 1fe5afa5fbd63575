#include "app/Application.h"
#include "entry/Form1.h"
#include "wordproc/WordApplication.h"

#include <QTimer>

#include <cstdio>

namespace {

// For measuring start-up from outside: with CORVALIN_EXIT_WHEN_SHOWN set, the
// program ends as soon as the entry window has painted for the first time.
class ExitWhenShown : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, [] { app::endProgram(); });
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QString advice;
    if (!app::displayAvailable(&advice)) {
        std::fputs(advice.toLocal8Bit().constData(), stderr);
        return 2;
    }
    app::beginOpeningDisplay();
    app::Application application(argc, argv);
    app::endOpeningDisplay();
    wordproc::registerComponent();
    entry::Form1 form;
    ExitWhenShown probe;
    if (qEnvironmentVariableIsSet("CORVALIN_EXIT_WHEN_SHOWN"))
        form.installEventFilter(&probe);
    form.Form_Load();
    form.show();
    return application.exec();
}
