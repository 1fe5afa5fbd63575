#include "ui/RunProgress.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(RunProgress, ALongRunShowsHowFarItHasComeInAWindowNothingGetsPast)
{
    ui::RunProgress progress(0ms);
    progress.report(1, 3);
    EXPECT_EQ(progress.window(), nullptr) << "shown before any run began";

    progress.begin();
    progress.report(0, 300);
    QDialog* window = progress.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), window);
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    progress.report(37, 300);
    EXPECT_EQ(window->findChild<QLabel*>()->text(), QStringLiteral("Page 37 of 300"));

    // No way out while the run lasts: no close button, no Alt+F4, no Escape.
    EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint);
    window->close();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());

    progress.end();
    EXPECT_EQ(progress.window(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(RunProgress, AShortRunShowsNoWindow)
{
    ui::RunProgress progress(1h);
    progress.begin();
    progress.report(0, 2);
    progress.report(2, 2);
    EXPECT_EQ(progress.window(), nullptr);
}
