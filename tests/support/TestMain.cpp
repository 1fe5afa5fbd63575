#include "app/Application.h"
#include "wordproc/WordApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Nothing in the tests needs a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    app::Application application(argc, argv);
    wordproc::registerComponent();
    // The real ending would stop the test run; a test that expects it sets its own.
    app::setProgramEnd([] { ADD_FAILURE() << "the program ended"; });
    return RUN_ALL_TESTS();
}
