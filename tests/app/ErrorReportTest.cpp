#include "app/ErrorReport.h"
#include "app/Dialogs.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

TEST(ErrorReport, TextIsBuiltByteForByte)
{
    const QString text = app::errorReportText(QStringLiteral("Can't create object 'Word.Application'"),
                                              QStringLiteral("in Pondrel2021/08/31.Form1.PushButton22_Click "), 102);
    EXPECT_EQ(text.toUtf8(), QByteArray("Can't create object 'Word.Application'\x0D\x0A"
                                        "in Pondrel2021/08/31.Form1.PushButton22_Click at line 102\x0D\x0D"
                                        "Please email screenshot of this message to support@tessaly.com"));
}

TEST(ErrorReport, IsAnExclamationBoxWithItsOwnCaption)
{
    testing_support::ScriptedDialogs dialogs;
    app::ErrorReport(QStringLiteral("Oops"), QStringLiteral("in X "), 7);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Application Error"));
    EXPECT_EQ(dialogs.boxes[0].style, 48);
    EXPECT_TRUE(dialogs.boxes[0].text.endsWith(QStringLiteral("support@tessaly.com")));
}

TEST(ErrorReport, TheRealBoxShowsEveryCarriageReturnAsALineBreak)
{
    QString shownText, shownTitle;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        shownTitle = box->windowTitle();
        shownIcon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        box->accept();
    });
    app::QtDialogs real;
    {
        testing_support::DialogsOverride realBoxes(&real);
        app::ErrorReport(QStringLiteral("Disk full"), QStringLiteral("in L "), 130);
    }

    EXPECT_EQ(shownTitle, QStringLiteral("Application Error"));
    EXPECT_EQ(shownIcon, QMessageBox::Warning);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(shownText.split(QLatin1Char('\n')),
              QStringList({"Disk full", "in L at line 130", "",
                           "Please email screenshot of this message to support@tessaly.com"}));
}
