#include "ui/Pointer.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>
#include <stdexcept>

TEST(CursorFile, LoadsThePictureAndItsHotSpot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HAND-M.CUR"));
    testing_support::writeFile(path, testing_support::makeCursorFile(32, 9, 3));
    const QCursor cursor = ui::loadCursorFile(path);
    EXPECT_EQ(cursor.hotSpot(), QPoint(9, 3));
    EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
}

TEST(CursorFile, AnythingElseIsRefusedWithItsName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HAND-M.CUR"));
    for (const QByteArray& bytes : {QByteArray(), QByteArray("not a cursor at all, just some text"),
                                    testing_support::makeCursorFile(32, 40, 3),  // hot spot outside
                                    testing_support::makeCursorFile(32, 1, 1).left(40)}) {
        testing_support::writeFile(path, bytes);
        try {
            ui::loadCursorFile(path);
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Invalid picture: '%1'").arg(path)))
                << e.what();
        }
    }
}

TEST(WindowPointer, HoverSwitchesOnlyWhileNotBusy)
{
    QWidget window;
    ui::WindowPointer pointer(&window);
    pointer.hover(ui::vbCustom);
    EXPECT_EQ(pointer.shape(), ui::vbCustom);
    // No picture loaded: the platform's pointing hand stands in.
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
    pointer.hover(ui::vbDefault);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

    pointer.setShape(ui::vbHourglass);
    pointer.hover(ui::vbCustom);
    pointer.hover(ui::vbDefault);
    EXPECT_EQ(pointer.shape(), ui::vbHourglass);
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);

    pointer.setShape(ui::vbDefault);
    pointer.setCustomPicture(QCursor(QPixmap(16, 16), 2, 2));
    pointer.hover(ui::vbCustom);
    EXPECT_EQ(window.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window.cursor().hotSpot(), QPoint(2, 2));
}
