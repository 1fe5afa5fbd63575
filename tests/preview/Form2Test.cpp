#include "app/Application.h"
#include "app/Colours.h"
#include "app/Pointer.h"
#include "app/Twips.h"
#include "preview/Form2.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGroupBox>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using preview::Form2;
using testing_support::ProgramFolders;
using testing_support::ScriptedDialogs;

namespace {

// A Letter page whose only content is a coloured band, told apart by colour.
automation::Picture page(QColor colour)
{
    automation::Picture p;
    p.size = QSizeF(12240, 15840);
    p.fills.push_back({QRectF(1440, 1440, 9360, 720), colour});
    return p;
}

class Preview : public testing::Test {
protected:
    void SetUp() override
    {
        form.Form_Load();
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
        for (int k = 0; k < 3; ++k) {
            form.addPage(QStringLiteral("Page %1").arg(k + 1));
            form.loadImage(k);
            form.setImagePicture(k, page(colours[k]));
        }
        form.setShownPicture(form.imagePicture(0));
        form.show();
    }
    QColor shownColour() const { return form.Zoom_Ori->picture().fills.front().colour; }
    void click(int item)
    {
        const QRect r = form.ListView1->visualItemRect(form.ListView1->topLevelItem(item));
        QTest::mouseClick(form.ListView1->viewport(), Qt::LeftButton, {}, r.center());
    }

    testing_support::ProgramFolders folders;
    ScriptedDialogs dialogs;
    Form2 form;
};

}  // namespace

TEST_F(Preview, TheFirstShowListsThePagesAndShowsPage1AtItsOwnSize)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Corvalin"));
    EXPECT_EQ(form.ListView1->headerItem()->text(0), QStringLiteral("Page(s)"));
    EXPECT_EQ(form.ListView1->columnWidth(0), app::twipsToPixels(7500));
    EXPECT_EQ(form.pageCount(), 3);
    EXPECT_EQ(form.geometry().mZoom, 1.0f);
    EXPECT_EQ(form.geometry().canvasLeft, 0);
    EXPECT_EQ(form.geometry().canvasTop, 0);
    EXPECT_EQ(form.geometry().mCurWidth, 12240 - 62);
    EXPECT_EQ(form.Picture1->geometry().topLeft(), QPoint(0, 0));
    EXPECT_TRUE(form.VScroll1->isEnabled());
    EXPECT_EQ(form.geometry().mStepY, 10);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, TheTabOrderIsTheDesignedOne)
{
    const QStringList designed = {"HScroll1", "VScroll1", "Picture2", "Picture1", "PushButton1",
                                  "PushButton2", "PushButton6", "PushButton8", "ListView1"};
    QStringList chain;
    QWidget* w = form.HScroll1;
    for (int i = 0; i < 200 && chain.size() < designed.size(); ++i, w = w->nextInFocusChain())
        if (designed.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
    EXPECT_EQ(chain, designed);
}

TEST_F(Preview, PagesAreChosenByClickAndByAnyKeyRelease)
{
    click(1);
    EXPECT_EQ(shownColour(), QColor(Qt::green));
    QTest::keyClick(form.ListView1, Qt::Key_Down);
    EXPECT_EQ(shownColour(), QColor(Qt::blue));
    EXPECT_EQ(form.pointer().shape(), app::vbDefault);

    // Nothing selected, or no picture for the item: nothing happens.
    form.ListView1->clearSelection();
    form.ListView1_Click();
    EXPECT_EQ(shownColour(), QColor(Qt::blue));
    form.addPage(QStringLiteral("Page 4"));
    form.ListView1->setCurrentItem(form.ListView1->topLevelItem(3));
    form.ListView1_Click();
    EXPECT_EQ(shownColour(), QColor(Qt::blue));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, ZoomRunsFromAQuarterToFourTimesWithoutAFallback)
{
    for (int i = 0; i < 13; ++i)
        form.PushButton1->click();
    EXPECT_EQ(form.geometry().mZoom, 4.0f);
    EXPECT_EQ(form.geometry().mCurWidth, static_cast<int>((12240 - 62) * 4));
    EXPECT_EQ(form.Picture1->width(), app::twipsToPixels(form.geometry().mCurWidth));
    for (int i = 0; i < 20; ++i)
        form.PushButton2->click();
    EXPECT_EQ(form.geometry().mZoom, 0.25f);
    // The bars keep the maxima of the page choice; each is enabled only when needed.
    EXPECT_FALSE(form.HScroll1->isEnabled());
    EXPECT_FALSE(form.VScroll1->isEnabled());
    EXPECT_EQ(form.geometry().mStepY, 10);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, DraggingTheCanvasPansItAndTheBarsFollow)
{
    form.PushButton1->click();  // 1.25: larger than the view both ways
    QTest::mousePress(form.Picture1, Qt::LeftButton, {}, QPoint(300, 300));
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 250), form.Picture1->mapToGlobal(QPointF(200, 250)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.Picture1, &move);
    EXPECT_EQ(form.geometry().canvasLeft, -1500);
    EXPECT_EQ(form.geometry().canvasTop, -750);
    QTest::mouseRelease(form.Picture1, Qt::LeftButton, {}, QPoint(100, 200));
    EXPECT_GT(form.VScroll1->value(), 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, TheFirstActivationRunsOnce)
{
    form.PushButton1->click();
    form.hide();
    form.setShownPicture(form.imagePicture(2));
    form.show();
    EXPECT_FALSE(form.firstActivationPending());
    EXPECT_EQ(form.geometry().mZoom, 1.25f);  // kept from before: no setup again
}

TEST_F(Preview, ClosingRemovesTheDocumentAndEndsTheProgram)
{
    const QString doc = folders.temp() + QStringLiteral("/kvarne11111111.doc");
    testing_support::writeFile(doc, "doc");
    form.setWordFile(doc);
    int ended = 0;
    const app::ProgramEnd previous = app::setProgramEnd([&] { ++ended; });
    form.close();
    app::setProgramEnd(previous);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(QFile::exists(doc));
}

TEST_F(Preview, TheHandShowsOverTheButtonsExceptWhileBusyAndColoursAreStandard)
{
    auto hover = [](QWidget* w) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(w, &e);
    };
    hover(form.PushButton6);
    EXPECT_EQ(form.pointer().shape(), app::vbCustom);
    hover(form.Frame1);
    EXPECT_EQ(form.pointer().shape(), app::vbDefault);
    hover(form.PushButton8);
    hover(form.Picture1);  // the canvas leaves the pointer as it is
    EXPECT_EQ(form.pointer().shape(), app::vbCustom);
    form.pointer().setShape(app::vbHourglass);
    hover(form.PushButton1);
    hover(form.ListView1);
    EXPECT_EQ(form.pointer().shape(), app::vbHourglass);

    const QColor face = app::platformColour(app::kButtonFace);
    EXPECT_EQ(app::backColour(&form), face);
    EXPECT_EQ(app::backColour(form.Frame1), face);
    EXPECT_EQ(app::backColour(form.Picture2), QColor(Qt::white));  // picture boxes keep theirs
}

TEST(PreviewLoad, AnUnreadableCursorFileIsReportedAtStep110)
{
    ProgramFolders folders;
    folders.writeProgramFile(QStringLiteral("HAND-M.CUR"), "not a cursor");
    ScriptedDialogs dialogs;
    Form2 form;
    form.Form_Load();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.contains(QStringLiteral("\r\nin Pondrel2021/08/31.Form2.Form_Load at line 110\r\r")));
    EXPECT_EQ(form.ListView1->headerItem()->text(0), QStringLiteral("Page(s)"));  // the load went on
}

TEST(PreviewWithoutPages, RedrawingWithNothingInTheHolderPaintsWhite)
{
    ScriptedDialogs dialogs;
    Form2 form;
    form.Form_Load();
    form.show();  // no page was ever rendered
    form.PushButton2->click();
    QImage shot(form.Picture1->size(), QImage::Format_RGB32);
    form.Picture1->render(&shot);
    EXPECT_EQ(shot.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_TRUE(dialogs.boxes.empty());
}
