#include "app/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Nothing in the tests needs a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    app::Application application(argc, argv);
    return RUN_ALL_TESTS();
}
