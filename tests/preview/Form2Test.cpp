#include "preview/Form2.h"
#include "app/Application.h"
#include "app/Termination.h"
#include "docgen/PreviewPort.h"
#include "platform/Units.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Ui.h"
#include "ui/Colours.h"
#include "ui/Pointer.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <tuple>
#include <vector>

#include <cerrno>
#include <sys/stat.h>

using preview::Form2;
using testing_support::ProgramFolders;
using testing_support::ScriptedDialogs;

namespace {

// A Letter page whose only content is a coloured band, told apart by colour.
platform::Picture page(QColor colour)
{
    platform::Picture p;
    p.size = QSizeF(12240, 15840);
    p.fills.push_back({QRectF(1440, 1440, 9360, 720), colour});
    return p;
}

// Fills the preview as document generation does, through the port alone.
void produce(docgen::PreviewPort& port, const std::vector<platform::Picture>& pages)
{
    port.clearPages();
    for (int k = 0; k < static_cast<int>(pages.size()); ++k) {
        port.addPage(QStringLiteral("Page %1").arg(k + 1));
        if (!port.hasImage(k))
            port.loadImage(k);
        port.setImagePicture(k, pages[static_cast<size_t>(k)]);
    }
    if (!pages.empty())
        port.showImage(0);
    port.setWordFile(QString());
    port.showPreview();
}

class Preview : public testing::Test {
protected:
    void SetUp() override
    {
        form.Form_Load();
        produce(form, {page(Qt::red), page(Qt::green), page(Qt::blue)});
    }
    QColor shownColour() const { return form.view().holder().fills.front().colour; }
    // A document where template filling leaves one: in the temporary folder,
    // the user's alone, and larger than a failing disk below lets through.
    QString minutes()
    {
        const QString path = QDir(folders.temp()).filePath(QStringLiteral("kvarne12345678.doc"));
        testing_support::writeFile(path, QByteArray("the minutes of the meeting ").repeated(1000));
        ::chmod(QFile::encodeName(path).constData(), 0600);
        form.setWordFile(path);
        return path;
    }
    QStringList reportLines() const { return dialogs.errorReportLines(); }
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
    EXPECT_EQ(form.ListView1->columnWidth(0), platform::units::twipsToPixels(7500));
    EXPECT_EQ(form.pageCount(), 3);
    EXPECT_EQ(form.geometry().zoom(), 1.0f);
    EXPECT_EQ(form.geometry().canvas().left, 0);
    EXPECT_EQ(form.geometry().canvas().top, 0);
    EXPECT_EQ(form.geometry().zoomedWidth(), 12240 - 2);
    EXPECT_EQ(form.Picture1->geometry().topLeft(), QPoint(0, 0));
    EXPECT_TRUE(form.VScroll1->isEnabled());
    EXPECT_EQ(form.geometry().stepY(), 10);
    // What the user sees: page 1's red band where the page has it, at 100 %.
    const QImage view = testing_support::snapshot(form.Picture2);
    const QPoint band = form.Picture1->mapTo(
        form.Picture2, QPoint(platform::units::twipsToPixels(5000), platform::units::twipsToPixels(1800)));
    EXPECT_EQ(QColor(view.pixel(band)), QColor(Qt::red));
    EXPECT_EQ(QColor(view.pixel(band + QPoint(0, platform::units::twipsToPixels(900)))), QColor(Qt::white));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, EveryCaptionReadsAsDesigned)
{
    const std::pair<QString, QString> captions[] = {
        {form.PushButton1->text(), QStringLiteral("Zoom In")},
        {form.PushButton2->text(), QStringLiteral("Zoom Out")},
        {form.PushButton8->text(), QStringLiteral("< Back")},
        {form.PushButton6->text(), QStringLiteral("Save Results To Word File")},
        {form.Frame1->title(), QStringLiteral("Zoom:")},
        {form.ListView1->headerItem()->text(0), QStringLiteral("Page(s)")},
    };
    for (const auto& [shown, designed] : captions)
        EXPECT_EQ(shown, designed);
}

TEST_F(Preview, TheTabOrderIsTheDesignedOne)
{
    const QStringList designed = {"HScroll1",    "VScroll1",    "Picture2",    "Picture1", "PushButton1",
                                  "PushButton2", "PushButton6", "PushButton8", "ListView1"};
    QStringList chain;
    QWidget* w = form.HScroll1;
    for (int i = 0; i < 200 && chain.size() < designed.size(); ++i, w = w->nextInFocusChain())
        if (designed.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
    EXPECT_EQ(chain, designed);
}

// In pixels, as the user sees them: the designed window, and one made wider
// and lower, where the bars keep to the viewport's right and bottom edges and
// the buttons below share the width as designed.
TEST_F(Preview, TheControlsStandAsDesignedAndFollowTheWindowsSize)
{
    // Each control as designed (656 by 730), and in a window of 750 by 580.
    const auto check = [](const Form2& window, bool resized) {
        const std::tuple<QWidget*, QRect, QRect> expected[] = {
            {window.ListView1, {8, 8, 640, 105}, {8, 8, 734, 105}},
            {window.Picture2, {8, 120, 622, 487}, {8, 120, 716, 337}},
            {window.VScroll1, {630, 120, 17, 487}, {724, 120, 17, 337}},
            {window.HScroll1, {8, 607, 622, 17}, {8, 457, 716, 17}},
            {window.Frame1, {8, 628, 640, 57}, {8, 478, 734, 57}},
            {window.PushButton1, {16, 20, 296, 27}, {16, 20, 342, 27}},
            {window.PushButton2, {320, 20, 304, 27}, {366, 20, 352, 27}},
            {window.PushButton8, {8, 694, 312, 27}, {8, 544, 358, 27}},
            {window.PushButton6, {328, 694, 320, 27}, {374, 544, 368, 27}},
        };
        for (const auto& [control, designed, other] : expected)
            EXPECT_EQ(control->geometry(), resized ? other : designed) << control->objectName().toStdString();
    };
    const Form2 designed;
    EXPECT_EQ(designed.size(), QSize(656, 730));
    check(designed, false);
    EXPECT_EQ(designed.HScroll1->orientation(), Qt::Horizontal);
    EXPECT_EQ(designed.VScroll1->orientation(), Qt::Vertical);

    form.resize(750, 580);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.size() == QSize(750, 580); }));
    check(form, true);
}

TEST_F(Preview, PagesAreChosenByClickAndByAnyKeyRelease)
{
    click(1);
    EXPECT_EQ(shownColour(), QColor(Qt::green));
    QTest::keyClick(form.ListView1, Qt::Key_Down);
    EXPECT_EQ(shownColour(), QColor(Qt::blue));
    EXPECT_EQ(form.pointer().shape(), ui::vbDefault);

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
    EXPECT_EQ(form.geometry().zoom(), 4.0f);
    EXPECT_EQ(form.geometry().zoomedWidth(), static_cast<int>((12240 - 2) * 4));
    EXPECT_EQ(form.Picture1->width(), platform::units::twipsToPixels(form.geometry().zoomedWidth()));
    for (int i = 0; i < 20; ++i)
        form.PushButton2->click();
    EXPECT_EQ(form.geometry().zoom(), 0.25f);
    for (const QScrollBar* bar : {form.HScroll1, form.VScroll1}) {
        EXPECT_FALSE(bar->isEnabled());
        EXPECT_EQ(bar->maximum(), 0) << "a bar with nothing to scroll shows no thumb left from 400 %";
    }
    form.StepZoom(0);
    form.StepZoom(-7);  // any direction but 0 zooms out
    EXPECT_EQ(form.geometry().zoom(), 0.25f);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, AtFourTimesTheBarsAndADragReachEveryCornerOfThePageInAnyWindowSize)
{
    // A dark corner at the bottom right of the page.
    platform::Picture corner = page(Qt::red);
    corner.fills.push_back({QRectF(12240 - 600, 15840 - 600, 600, 600), Qt::black});
    form.setImagePicture(0, corner);
    const QSize designed = form.Picture2->size();
    const auto maximise = [&] {
        form.showMaximized();
        // The window system answers in its own time.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return form.Picture2->width() > designed.width() && form.Picture2->height() > designed.height();
        })) << "the viewport takes the room";
    };
    enum class Window { Designed, MaximisedFirst, MaximisedAtFourTimes };
    for (const Window window : {Window::Designed, Window::MaximisedFirst, Window::MaximisedAtFourTimes}) {
        SCOPED_TRACE(static_cast<int>(window));
        form.showNormal();
        EXPECT_TRUE(QTest::qWaitFor([&] { return form.Picture2->size() == designed; }));
        if (window == Window::MaximisedFirst)
            maximise();
        click(0);
        for (int i = 0; i < 12; ++i)
            form.PushButton1->click();
        ASSERT_EQ(form.geometry().zoom(), 4.0f);
        if (window == Window::MaximisedAtFourTimes)
            maximise();

        form.HScroll1->setValue(form.HScroll1->maximum());
        form.VScroll1->setValue(form.VScroll1->maximum());
        const QImage view = testing_support::snapshot(form.Picture2);
        const QRect inside = form.Picture2->contentsRect();
        EXPECT_EQ(view.pixel(inside.right() - 3, inside.bottom() - 3), qRgb(0, 0, 0)) << "the corner is in view";
        // Within a pixel: the bars move the page ten twips at a time.
        const QPoint gap = form.Picture1->geometry().bottomRight() - (inside.bottomRight() - inside.topLeft());
        EXPECT_LE(std::abs(gap.x()) + std::abs(gap.y()), 1) << "the page's corner meets the viewport's";

        // A drag of 375 pixels stays where it was dropped.
        form.HScroll1->setValue(0);
        form.VScroll1->setValue(0);
        EXPECT_EQ(form.Picture1->pos(), QPoint(0, 0));
        testing_support::dragOn(form.Picture1, QPoint(400, 400), QPoint(25, 25));
        EXPECT_NEAR(form.geometry().canvas().left, -375 * 15, 10);
        EXPECT_NEAR(form.geometry().canvas().top, -375 * 15, 10);
        EXPECT_EQ(form.Picture1->pos(), QPoint(-375, -375));
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, TheWheelAndTheKeysScrollByLinesAndPagesAndCtrlWheelZooms)
{
    click(0);
    const auto wheel = [&](int notches, Qt::KeyboardModifiers modifiers) {
        const QPointF at = form.Picture1->rect().center();
        QWheelEvent e(at, form.Picture1->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.Picture1, &e);
    };
    wheel(-1, Qt::NoModifier);
    EXPECT_EQ(form.geometry().canvas().top, -3 * 240) << "one notch: three lines";
    form.PushButton1->click();  // 1.25: wider than the view as well
    wheel(-1, Qt::ShiftModifier);
    EXPECT_EQ(form.geometry().canvas().left, -3 * 240);
    wheel(1, Qt::ControlModifier);
    EXPECT_EQ(form.geometry().zoom(), 1.5f);
    wheel(-2, Qt::ControlModifier);
    EXPECT_EQ(form.geometry().zoom(), 1.25f);

    form.Picture1->setFocus();
    QTest::keyClick(form.Picture1, Qt::Key_Down);
    EXPECT_EQ(form.geometry().canvas().top, -240);
    QTest::keyClick(form.Picture1, Qt::Key_PageDown);
    EXPECT_LT(form.geometry().canvas().top, -240 - 6000);
    QTest::keyClick(form.Picture1, Qt::Key_Right);
    EXPECT_EQ(form.geometry().canvas().left, -240);
    QTest::keyClick(form.HScroll1, Qt::Key_Right);
    EXPECT_EQ(form.geometry().canvas().left, -480);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, TheCanvasShowsTheWholePageAndAPageShownAfterwardsReplacesTheDrawing)
{
    platform::Picture edged = page(Qt::red);
    edged.fills.push_back({QRectF(12240 - 45, 0, 45, 15840), Qt::black});
    edged.fills.push_back({QRectF(0, 15840 - 45, 12240, 45), Qt::black});
    form.setImagePicture(1, edged);
    click(1);
    QImage shot = testing_support::snapshot(form.Picture1);
    EXPECT_EQ(shot.pixel(shot.width() - 1, shot.height() / 2), qRgb(0, 0, 0)) << "the right edge is drawn";
    EXPECT_EQ(shot.pixel(shot.width() / 2, shot.height() - 1), qRgb(0, 0, 0)) << "and the bottom edge";

    // Back and a new run: the new page 1 is assigned to the canvas and shown,
    // from its top left even when the last page was zoomed and scrolled away.
    form.PushButton1->click();
    form.HScroll1->setValue(form.HScroll1->maximum());
    form.VScroll1->setValue(form.VScroll1->maximum());
    form.hide();
    form.setImagePicture(0, page(Qt::blue));
    form.showImage(0);
    form.show();
    const QImage view = testing_support::snapshot(form.Picture2);
    const QPoint band = form.Picture1->mapTo(
        form.Picture2, QPoint(platform::units::twipsToPixels(5000), platform::units::twipsToPixels(1800)));
    ASSERT_TRUE(view.rect().contains(band));
    EXPECT_EQ(QColor(view.pixel(band)), QColor(Qt::blue));
}

TEST_F(Preview, DraggingTheCanvasPansItAndTheBarsFollow)
{
    form.PushButton1->click();  // 1.25: larger than the view both ways
    const QPoint bandInCanvas(platform::units::twipsToPixels(5000 * 1.25), platform::units::twipsToPixels(1800 * 1.25));
    testing_support::dragOn(form.Picture1, QPoint(300, 300), QPoint(200, 250));
    EXPECT_EQ(form.geometry().canvas().left, -1500);
    EXPECT_EQ(form.geometry().canvas().top, -750);
    EXPECT_EQ(form.HScroll1->value(), 150);
    EXPECT_EQ(form.VScroll1->value(), 75);
    // The band the user dragged is where the pointer took it.
    const QImage view = testing_support::snapshot(form.Picture2);
    const QPoint band = form.Picture1->mapTo(form.Picture2, bandInCanvas);
    EXPECT_EQ(form.Picture1->mapTo(form.Picture2, QPoint(0, 0)),
              QPoint(-100, -50) + form.Picture2->contentsRect().topLeft());
    EXPECT_EQ(QColor(view.pixel(band)), QColor(Qt::red));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Preview, TheViewersKeysRunTheButtonsOwnHandlers)
{
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    click(0);  // a page chosen in the list, which keeps the focus
    QTest::keyClick(form.ListView1, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(form.geometry().zoom(), 1.25f) << "and letting the keys go in the list chose nothing again";
    QTest::keyClick(form.ListView1, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(form.geometry().zoom(), 1.5f);
    QTest::keyClick(form.ListView1, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(form.geometry().zoom(), 1.25f);
    QTest::keyClick(form.ListView1, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(form.geometry().zoom(), 1.0f);

    // The page keys go on to the next page from the page's bottom, back from its top.
    click(0);
    form.Picture1->setFocus();
    QTest::keyClick(form.Picture1, Qt::Key_PageDown);
    EXPECT_EQ(shownColour(), QColor(Qt::red)) << "not yet at the bottom";
    form.VScroll1->setValue(form.VScroll1->maximum());
    QTest::keyClick(form.Picture1, Qt::Key_PageDown);
    EXPECT_EQ(shownColour(), QColor(Qt::green));
    QTest::keyClick(form.Picture1, Qt::Key_PageUp);
    EXPECT_EQ(shownColour(), QColor(Qt::red));

    dialogs.fileNames = {QString()};  // Ctrl+S asks where to save; cancelled
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.fileDialogTitles, QStringList({"Save File"}));
    dialogs.fileNames = {QString()};  // Ctrl+Shift+S asks where to save the PDF; cancelled
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs.fileDialogTitles, QStringList({"Save File", "Save as PDF"}));
    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);  // the print dialog, cancelled
    EXPECT_EQ(dialogs.printDialogsShown, 1);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible()) << "Escape is < Back";
}

// Letting go of Ctrl after Ctrl+wheel, or of Shift after Shift+wheel, in
// the page list chooses nothing: the zoom and the scroll stay. Moving
// through the list with the arrows still shows each page.
TEST_F(Preview, LettingGoOfAModifierInTheListKeepsTheZoom)
{
    click(1);
    const auto wheel = [&](Qt::KeyboardModifiers modifiers) {
        const QPointF at = form.Picture1->rect().center();
        QWheelEvent e(at, form.Picture1->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.Picture1, &e);
    };
    wheel(Qt::ControlModifier);
    QTest::keyRelease(form.ListView1, Qt::Key_Control);
    wheel(Qt::ControlModifier);
    form.HScroll1->setValue(20);
    QTest::keyRelease(form.ListView1, Qt::Key_Shift);
    EXPECT_EQ(form.geometry().zoom(), 1.5f);
    EXPECT_EQ(form.HScroll1->value(), 20);
    EXPECT_EQ(shownColour(), QColor(Qt::green));
    QTest::keyClick(form.ListView1, Qt::Key_Down);
    EXPECT_EQ(shownColour(), QColor(Qt::blue));
    EXPECT_EQ(form.geometry().zoom(), 1.0f);
}

// A click on the page, or beside it in the viewport, gives it the keys; and
// each of the page view's Tab stops shows when it has the focus.
TEST_F(Preview, AClickGivesThePageTheKeysAndEveryTabStopShowsItsFocus)
{
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    click(0);
    form.PushButton1->click();
    form.PushButton1->click();
    form.PushButton1->click();
    form.PushButton1->click();  // 200 %
    ASSERT_TRUE(form.ListView1->hasFocus());
    testing_support::clickOn(form.Picture1, QPoint(50, 50));
    EXPECT_TRUE(form.Picture1->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(form.geometry().canvas().top, -240) << "Down scrolls the page";
    EXPECT_EQ(shownColour(), QColor(Qt::red));
    EXPECT_EQ(form.geometry().zoom(), 2.0f);
    for (QWidget* stop : {static_cast<QWidget*>(form.HScroll1), static_cast<QWidget*>(form.VScroll1),
                          static_cast<QWidget*>(form.Picture2), static_cast<QWidget*>(form.Picture1)}) {
        form.PushButton6->setFocus();
        const QImage without = testing_support::snapshot(stop);
        stop->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(stop->hasFocus()) << stop->objectName().toStdString();
        EXPECT_NE(testing_support::snapshot(stop), without) << stop->objectName().toStdString() << " shows no focus";
    }

    for (int i = 0; i < 8; ++i)
        form.PushButton2->click();  // 25 %: the viewport shows beside the page
    const QPoint beside = form.Picture2->contentsRect().bottomRight() - QPoint(5, 5);
    testing_support::clickOn(form.Picture2, beside);
    EXPECT_TRUE(form.Picture2->hasFocus());
}

// The page menu opens from the keyboard too: Shift+F10 and the Menu key.
TEST_F(Preview, ThePageMenuOpensFromTheKeyboard)
{
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (const QKeyCombination keys : {QKeyCombination(Qt::SHIFT, Qt::Key_F10), QKeyCombination(Qt::Key_Menu)}) {
        QTest::keyClick(&form, keys.key(), keys.keyboardModifiers());
        EXPECT_TRUE(form.mnuPage->isVisible());
        form.mnuPage->close();
    }
    EXPECT_EQ(form.mnuPage->actions(), QList<QAction*>({form.actSaveAsPdf, form.actPrint, form.actCopyPage}));
}

TEST_F(Preview, EveryControlHasANameForScreenReaders)
{
    for (QWidget* w : {static_cast<QWidget*>(form.ListView1), static_cast<QWidget*>(form.Picture2),
                       static_cast<QWidget*>(form.Picture1), static_cast<QWidget*>(form.HScroll1),
                       static_cast<QWidget*>(form.VScroll1), static_cast<QWidget*>(form.PushButton1),
                       static_cast<QWidget*>(form.PushButton2), static_cast<QWidget*>(form.PushButton6),
                       static_cast<QWidget*>(form.PushButton8)})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    EXPECT_EQ(form.PushButton6->accessibleName(), QStringLiteral("Save Results To Word File"));
}

// After "< Back" and a new run, the new page 1 is the page on show: every
// zoom draws it, and Copy Page copies it. The first activation's setup does
// not run again.
TEST_F(Preview, ANewRunsFirstPageIsWhatEveryZoomAndCopyUse)
{
    form.PushButton1->click();
    form.PushButton8->click();
    form.clearPages();
    form.addPage(QStringLiteral("Page 1"));
    form.setImagePicture(0, page(Qt::blue));
    form.showImage(0);
    form.showPreview();
    EXPECT_FALSE(form.firstActivationPending());
    EXPECT_EQ(form.geometry().zoom(), 1.0f) << "shown at its own size, as chosen";

    const auto bandColour = [&](double zoom) {
        const QImage shot = testing_support::snapshot(form.Picture1);
        return QColor(
            shot.pixel(platform::units::twipsToPixels(5000 * zoom), platform::units::twipsToPixels(1800 * zoom)));
    };
    for (const auto& [zoom, action] : std::initializer_list<std::pair<float, std::function<void()>>>{
             {1.25f, [&] { form.PushButton1->click(); }},
             {1.0f, [&] { QTest::keyClick(&form, Qt::Key_Minus, Qt::ControlModifier); }},
             {1.25f, [&] { QTest::keyClick(&form, Qt::Key_Plus, Qt::ControlModifier); }},
             {1.0f, [&] { QTest::keyClick(&form, Qt::Key_0, Qt::ControlModifier); }},
         }) {
        action();
        EXPECT_EQ(form.geometry().zoom(), zoom);
        EXPECT_EQ(bandColour(zoom), QColor(Qt::blue)) << "at " << zoom;
    }
    form.actCopyPage->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(QColor(copied.pixel(copied.width() * 5000 / 12240, copied.height() * 1800 / 15840)), QColor(Qt::blue));
}

TEST_F(Preview, PageElementsBeyondTheLoadedOnesDoNotExist)
{
    docgen::PreviewPort& port = form;
    EXPECT_FALSE(port.hasImage(3));
    EXPECT_THROW(port.imagePicture(3), std::out_of_range);
    EXPECT_THROW(port.setImagePicture(-1, page(Qt::red)), std::out_of_range);
    port.loadImage(5);
    EXPECT_TRUE(port.hasImage(5));
    EXPECT_TRUE(port.imagePicture(4).isNull());
    EXPECT_EQ(port.imagePicture(2).fills.front().colour, QColor(Qt::blue));  // loaded ones are kept
}

// Closing ends the program; with a change of the meeting that could not be
// saved yet, only once the user has agreed to lose it.
TEST_F(Preview, ClosingRemovesTheDocumentAndEndsTheProgramOnceNothingUnsavedIsLeft)
{
    const QString doc = folders.temp() + QStringLiteral("/kvarne11111111.doc");
    testing_support::writeFile(doc, "doc");
    form.setWordFile(doc);
    form.show();
    int ended = 0;
    const testing_support::ProgramEndOverride end([&] { ++ended; });
    testing_support::FailingWrites disk(ENOSPC, 0, folders.settings());
    meeting::SaveSetting(QStringLiteral("Tessaly"), QStringLiteral("Corvalin"), QStringLiteral("txtTitle"),
                         QStringLiteral("typed before the run"));
    dialogs.answers = {app::vbNo, app::vbYes};
    form.close();
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(QFile::exists(doc)) << "the document goes only with the window";
    form.close();
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(QFile::exists(doc));
    EXPECT_EQ(dialogs.boxes.size(), 2u);
}

// Asked by the system to stop (at logout, from kill), the program closes as
// the user would close it, and the document goes. Nobody may be there to
// answer: a box or dialog on screen is closed with its safe answer, through
// the real boxes, and the stop is over within moments.
TEST_F(Preview, AStopSignalClosesAnOpenBoxWithItsSafeAnswerAndTheDocumentGoes)
{
    const QString doc = minutes();
    form.show();
    app::closeWindowsOnStopSignals();
    const testing_support::StopRequestOverride notYetStopped(false);
    const testing_support::DialogsOverride realBoxes(nullptr);
    int ended = 0;
    const testing_support::ProgramEndOverride end([&] { ++ended; });
    QElapsedTimer since;
    QTimer::singleShot(200, [&] {
        ASSERT_NE(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()), nullptr) << "no box on screen";
        since.start();
        ::raise(SIGTERM);
    });
    QTimer unanswered;  // a box left waiting would hold the test for ever
    unanswered.setSingleShot(true);
    QObject::connect(&unanswered, &QTimer::timeout, [] {
        ADD_FAILURE() << "the box waited for an answer after the stop";
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    unanswered.start(3000);
    const int answer = app::MsgBox(QStringLiteral("Are you sure you wish to overwrite /tmp/minutes.doc ?"),
                                   app::vbYesNo | app::vbExclamation);
    EXPECT_EQ(answer, app::vbNo);
    EXPECT_EQ(app::MsgBox(QStringLiteral("Done.")), app::vbOK) << "a later box waits for nobody";
    QTRY_COMPARE_WITH_TIMEOUT(ended, 1, 2000);
    EXPECT_LT(since.elapsed(), 2000);
    EXPECT_FALSE(QFile::exists(doc));
}

TEST_F(Preview, TheHandShowsOverTheButtonsExceptWhileBusyAndColoursAreStandard)
{
    using testing_support::movePointerOver;
    const std::pair<QWidget*, int> path[] = {
        {form.PushButton6, ui::vbCustom},
        {form.Frame1, ui::vbDefault},
        {form.PushButton1, ui::vbCustom},
        {form.ListView1, ui::vbDefault},
        {form.PushButton8, ui::vbCustom},
        {form.Picture1, ui::vbCustom},  // the canvas and the bars leave the pointer as it is
        {form.VScroll1, ui::vbCustom},
        {&form, ui::vbDefault},
    };
    for (const auto& [w, shape] : path) {
        movePointerOver(w, w == &form ? QPoint(3, 3) : QPoint(-1, -1));
        EXPECT_EQ(form.pointer().shape(), shape) << w->objectName().toStdString();
    }
    form.pointer().setShape(ui::vbHourglass);
    movePointerOver(form.PushButton1);
    movePointerOver(form.ListView1);
    EXPECT_EQ(form.pointer().shape(), ui::vbHourglass);

    const QColor face = ui::platformColour(ui::kButtonFace);
    EXPECT_EQ(ui::backColour(&form), face);
    EXPECT_EQ(ui::backColour(form.Frame1), face);
    EXPECT_EQ(ui::backColour(form.Picture2), QColor(Qt::white));  // picture boxes keep theirs
}

// ---- The document of a run, saved and left ---------------------------------

TEST_F(Preview, SavingCopiesTheDocumentAndAsksBeforeOverwriting)
{
    const QString generated = minutes();
    const QByteArray bytes = testing_support::readAll(generated);
    const QString target = folders.program() + QStringLiteral("/minutes");  // no extension is added

    dialogs.fileNames = {target};
    form.PushButton6->click();
    EXPECT_EQ(testing_support::readAll(target), bytes);
    EXPECT_EQ(dialogs.fileDialogTitles, QStringList({"Save File"}));
    EXPECT_EQ(dialogs.fileDialogFilters, QStringList({"Word Files (*.doc)"}));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Done."));
    EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Corvalin"));

    testing_support::writeFile(target, "old");
    dialogs.fileNames = {target};
    dialogs.answers = {app::vbNo};
    form.PushButton6->click();
    EXPECT_EQ(testing_support::readAll(target), QByteArray("old"));
    EXPECT_EQ(dialogs.boxes[1].text, QStringLiteral("Are you sure you wish to overwrite %1 ?").arg(target));
    EXPECT_EQ(dialogs.boxes[1].style, app::vbYesNo);
    EXPECT_EQ(dialogs.boxes[2].text, QStringLiteral("Done."));

    dialogs.fileNames = {target};
    dialogs.answers = {app::vbYes};
    form.PushButton6->click();
    EXPECT_EQ(testing_support::readAll(target), bytes);
    EXPECT_EQ(dialogs.boxes.back().text, QStringLiteral("Done."));

    const size_t before = dialogs.boxes.size();
    form.PushButton6->click();  // cancelled: nothing written, still "Done."
    EXPECT_EQ(dialogs.boxes.size(), before + 1);
    EXPECT_EQ(dialogs.boxes.back().text, QStringLiteral("Done."));
    EXPECT_EQ(dialogs.fileDialogTitles.size(), 4);
}

TEST_F(Preview, AFailedCopyIsReportedAndNotCalledDone)
{
    minutes();
    dialogs.fileNames = {folders.program() + QStringLiteral("/no/such/folder/minutes.doc")};
    form.PushButton6->click();
    EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form2.PushButton6_Click at line 130"}));
    EXPECT_NE(dialogs.boxes.back().text, QStringLiteral("Done."));
}

TEST_F(Preview, SavingOverAFileReplacesItOnlyWhenTheCopyIsWhole)
{
    const QString generated = minutes();
    const QString target = folders.program() + QStringLiteral("/minutes.doc");
    const auto saveOver = [&](const std::function<void()>& during) {
        testing_support::writeFile(target, "the user's old minutes");
        dialogs.boxes.clear();
        dialogs.fileNames = {target};
        dialogs.answers = {app::vbYes};
        during();
    };
    // A disk that fills up during the copy, and a generated file that vanished.
    saveOver([&] {
        testing_support::FailingWrites disk(ENOSPC, 1000);
        form.PushButton6->click();
    });
    EXPECT_EQ(testing_support::readAll(target), QByteArray("the user's old minutes"));
    EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form2.PushButton6_Click at line 130"}));
    EXPECT_EQ(QDir(folders.program()).entryList(QDir::Files | QDir::Hidden), QStringList({"minutes.doc"}));

    const QByteArray bytes = testing_support::readAll(generated);
    QFile::rename(generated, generated + QStringLiteral(".away"));
    saveOver([&] { form.PushButton6->click(); });
    EXPECT_EQ(testing_support::readAll(target), QByteArray("the user's old minutes"));
    EXPECT_EQ(reportLines(), QStringList({"in Pondrel2021/08/31.Form2.PushButton6_Click at line 130"}));
    EXPECT_NE(dialogs.boxes.back().text, QStringLiteral("Done."));
    QFile::rename(generated + QStringLiteral(".away"), generated);

    // A saved file has the permissions of the one it replaces, or those of
    // any new file; never the private ones of the temporary folder.
    ::chmod(QFile::encodeName(target).constData(), 0640);
    saveOver([&] { form.PushButton6->click(); });
    EXPECT_EQ(testing_support::readAll(target), bytes);
    struct stat st {};
    ::stat(QFile::encodeName(target).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    const mode_t mask = ::umask(022);
    dialogs.fileNames = {target + QStringLiteral(".new")};
    form.PushButton6->click();
    ::umask(mask);
    ::stat(QFile::encodeName(target + QStringLiteral(".new")).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(Preview, SavingToADiskWithoutPermissionsSucceedsWhenTheBytesAreWritten)
{
    // A USB stick's file system refuses every mode change.
    const testing_support::ModeCallOverride refused([](int, mode_t) {
        errno = EPERM;
        return -1;
    });
    const QString generated = minutes();
    const QString target = folders.program() + QStringLiteral("/minutes.doc");
    testing_support::writeFile(target, "the user's old minutes");
    dialogs.fileNames = {target};
    dialogs.answers = {app::vbYes};
    form.PushButton6->click();
    EXPECT_EQ(testing_support::readAll(target), testing_support::readAll(generated));
    EXPECT_EQ(reportLines(), QStringList());
    EXPECT_EQ(dialogs.boxes.back().text, QStringLiteral("Done."));
}

TEST_F(Preview, SavingOverALinkOfTheUsersWritesTheFileItLeadsToAndKeepsTheLink)
{
    const QByteArray bytes = testing_support::readAll(minutes());
    // The links on the desktop lead to a stick: another disk, where one can be mounted.
    const testing_support::SmallDisk stick("1m");
    const QDir desk(folders.program()), away(stick.path());
    const auto save = [&](const QString& name) {
        dialogs.fileNames = {desk.filePath(name)};
        dialogs.answers = {app::vbYes};
        form.PushButton6->click();
        EXPECT_EQ(reportLines(), QStringList()) << name.toStdString();
    };

    // A link to a link, the second one relative: every level is followed.
    testing_support::writeFile(away.filePath(QStringLiteral("minutes-v3.doc")), "the old minutes");
    ASSERT_TRUE(QFile::link(QStringLiteral("minutes-v3.doc"), away.filePath(QStringLiteral("latest.doc"))));
    ASSERT_TRUE(QFile::link(away.filePath(QStringLiteral("latest.doc")), desk.filePath(QStringLiteral("minutes.doc"))));
    save(QStringLiteral("minutes.doc"));
    EXPECT_EQ(testing_support::readAll(away.filePath(QStringLiteral("minutes-v3.doc"))), bytes);
    EXPECT_TRUE(QFileInfo(desk.filePath(QStringLiteral("minutes.doc"))).isSymLink());
    EXPECT_TRUE(QFileInfo(away.filePath(QStringLiteral("latest.doc"))).isSymLink());
    EXPECT_EQ(away.entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList({"latest.doc", "minutes-v3.doc"}));

    // A link to a file not made yet: the file is made where the link says.
    ASSERT_TRUE(QFile::link(away.filePath(QStringLiteral("next.doc")), desk.filePath(QStringLiteral("next.doc"))));
    save(QStringLiteral("next.doc"));
    EXPECT_EQ(testing_support::readAll(away.filePath(QStringLiteral("next.doc"))), bytes);
    EXPECT_TRUE(QFileInfo(desk.filePath(QStringLiteral("next.doc"))).isSymLink());

    // Another user's link, as a shared folder may hold: replaced, never written through.
    testing_support::writeFile(away.filePath(QStringLiteral("theirs.doc")), "their file");
    ASSERT_TRUE(QFile::link(away.filePath(QStringLiteral("theirs.doc")), desk.filePath(QStringLiteral("planted.doc"))));
    if (!testing_support::giveToAnotherUser(desk.filePath(QStringLiteral("planted.doc"))))
        GTEST_SKIP() << "a link of another user's can't be made here (needs root)";
    save(QStringLiteral("planted.doc"));
    EXPECT_EQ(testing_support::readAll(away.filePath(QStringLiteral("theirs.doc"))), QByteArray("their file"));
    EXPECT_FALSE(QFileInfo(desk.filePath(QStringLiteral("planted.doc"))).isSymLink());
    EXPECT_EQ(testing_support::readAll(desk.filePath(QStringLiteral("planted.doc"))), bytes);
}

// The user's folders are found from HOME, as on their desktop: a test's own.
TEST_F(Preview, BothSaveDialogsOpenInTheFolderLastSavedToAndOnlyThePdfProposesAName)
{
    minutes();
    static_cast<docgen::PreviewPort&>(form).setDocumentTitle(QStringLiteral("Q3/Q4 review"));
    const QTemporaryDir home;
    const testing_support::ScopedEnv homeVariable("HOME", QFile::encodeName(home.path()));
    const testing_support::ScopedEnv configVariable("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/.config"));
    const QDir desk(home.path());
    for (const char* folder : {"Documents", "Q3 minutes", "letters"})
        ASSERT_TRUE(desk.mkpath(QLatin1String(folder)));

    struct Press {
        const char* what;
        std::function<void()> before;
        bool pdf;
        QString chosen;  // under HOME; empty cancels
        QString opensIn;
    };
    const Press presses[] = {
        {"the first save", [] {}, false, "Q3 minutes/minutes.doc", "Documents"},
        {"the PDF after the Word file", [] {}, true, "letters/minutes.pdf", "Q3 minutes"},
        {"the next run of the program", [&] { folders.restart(); }, false, "", "letters"},
        {"a folder since removed", [&] { QDir(desk.filePath("letters")).removeRecursively(); }, true, "", "Documents"},
    };
    for (const Press& p : presses) {
        p.before();
        dialogs.fileNames = {p.chosen.isEmpty() ? QString() : desk.filePath(p.chosen)};
        p.pdf ? form.mnuSaveAsPdf_Click() : form.PushButton6->click();
        EXPECT_EQ(dialogs.fileDialogFolders.back(), desk.filePath(p.opensIn)) << p.what;
        EXPECT_EQ(dialogs.fileDialogProposals.back(), p.pdf ? QStringLiteral("Q3-Q4 review.pdf") : QString()) << p.what;
    }
    EXPECT_EQ(reportLines(), QStringList());
}

TEST_F(Preview, BackRemovesTheDocumentAndShowsTheEntryWindow)
{
    QWidget entryWindow;
    form.setEntryWindow(&entryWindow);
    const QString generated = minutes();
    form.PushButton8->click();
    EXPECT_FALSE(QFile::exists(generated));
    EXPECT_TRUE(entryWindow.isVisible());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(QDir(folders.temp()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // A second run fills the same window as template filling does; its
    // first-activation setup does not run again.
    form.clearPages();
    form.addPage(QStringLiteral("Page 1"));
    form.setImagePicture(0, page(Qt::blue));
    form.showImage(0);
    form.setWordFile(minutes());
    form.showPreview();
    EXPECT_EQ(form.ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(form.ListView1->headerItem()->text(0), QStringLiteral("Page(s)"));
}

TEST(PreviewLoad, AnUnreadableCursorFileIsReportedAtStep110)
{
    ProgramFolders folders;
    folders.writeProgramFile(QStringLiteral("HAND-M.CUR"), "not a cursor");
    ScriptedDialogs dialogs;
    Form2 form;
    form.Form_Load();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(
        dialogs.boxes[0].text.contains(QStringLiteral("\r\nin Pondrel2021/08/31.Form2.Form_Load at line 110\r\r")));
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
