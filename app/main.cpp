#include "app/Application.h"
#include "entry/Form1.h"
#include "wordproc/WordApplication.h"

#include <cstdio>

int main(int argc, char** argv)
{
    QString advice;
    if (!app::displayAvailable(&advice)) {
        std::fputs(advice.toLocal8Bit().constData(), stderr);
        return 2;
    }
    app::Application application(argc, argv);
    wordproc::registerComponent();
    entry::Form1 form;
    form.Form_Load();
    form.show();
    return application.exec();
}
