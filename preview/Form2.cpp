#include "preview/Form2.h"

#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/Files.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "meeting/SaveFolder.h"
#include "meeting/SettingsStore.h"
#include "platform/SafeFile.h"
#include "platform/Units.h"
#include "preview/PageOutput.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/WindowLook.h"

#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QWheelEvent>

namespace preview {

using Axis = ZoomGeometry::Axis;

namespace {

// The designed window, in twips. The window can be resized: the page list
// keeps its height, the viewport and its bars take the rest, and the zoom
// frame and the two buttons below keep to the bottom, sharing the width as
// designed.
constexpr int kDesignWidth = 9840, kDesignHeight = 10950;
struct Place {
    int left, top, width, height;
};
constexpr Place kListView1{120, 120, 9600, 1575};
constexpr Place kPicture2{120, 1800, 9330, 7305};
constexpr Place kVScroll1{9450, 1800, 255, 7305};
constexpr Place kHScroll1{120, 9105, 9330, 255};
constexpr Place kFrame1{120, 9420, 9600, 855};
constexpr Place kPushButton1{240, 300, 4440, 405};  // in Frame1
constexpr Place kPushButton2{4800, 300, 4560, 405};  // in Frame1
constexpr Place kPushButton8{120, 10410, 4680, 405};
constexpr Place kPushButton6{4920, 10410, 4800, 405};
constexpr Place kPicture1{0, 0, 2340, 3435};  // in the viewport, until a page is shown
// Smaller than this, the viewport would be too small to show a page.
constexpr int kMinimumWidth = 6000, kMinimumHeight = 6000;

// A control where the design has it, moved and grown by what the window has grown.
void place(QWidget* w, const Place& p, int grownLeft, int grownTop, int grownWidth, int grownHeight)
{
    ui::placeInTwips(w, p.left + grownLeft, p.top + grownTop, p.width + grownWidth, p.height + grownHeight);
}

// Of `growth`, the share of the first of two side by side, as their designed widths share.
int firstShare(int growth, const Place& first, const Place& second)
{
    return growth * first.width / (first.width + second.width);
}

}  // namespace

Form2::Form2(QWidget* parent) : QWidget(parent), mPointer(this)
{
    setObjectName(QStringLiteral("Form2"));
    setFont(ui::designFont(9));
    setMinimumSize(platform::units::twipsToPixels(kMinimumWidth), platform::units::twipsToPixels(kMinimumHeight));
    resize(platform::units::twipsToPixels(kDesignWidth), platform::units::twipsToPixels(kDesignHeight));
    mView.setPointer([this](int shape) { mPointer.setShape(shape); });
    mView.setOnChange([this] { showView(); });
    buildCommands();
    buildLayout();
    buildPageMenu();
    placeControls();
}

// Each command once: its caption, its keys and its handler. The buttons show
// the caption and run the command; the window takes the keys wherever the
// focus is; the page menu lists the command with its keys.
void Form2::buildCommands()
{
    const auto command = [this](const QString& caption, const QList<QKeySequence>& keys, void (Form2::*handler)()) {
        auto* action = new QAction(caption, this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
        return action;
    };
    actZoomIn = command(QStringLiteral("Zoom In"), {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                        &Form2::PushButton1_Click);
    actZoomOut = command(QStringLiteral("Zoom Out"), {QKeySequence::ZoomOut}, &Form2::PushButton2_Click);
    actActualSize = command(QStringLiteral("Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, &Form2::ActualSize);
    actSave = command(QStringLiteral("Save Results To Word File"), {QKeySequence::Save}, &Form2::PushButton6_Click);
    actBack = command(QStringLiteral("< Back"), {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::ALT | Qt::Key_Left)},
                      &Form2::PushButton8_Click);
    actSaveAsPdf = command(QStringLiteral("Save as PDF\u2026"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                           &Form2::mnuSaveAsPdf_Click);
    actPrint = command(QStringLiteral("Print\u2026"), {QKeySequence::Print}, &Form2::mnuPrint_Click);
    actCopyPage = command(QStringLiteral("Copy Page"), {}, &Form2::mnuCopyPage_Click);
    actPageMenu = command(QStringLiteral("Page Menu"),
                          {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}, &Form2::popUpPageMenu);
}

// The controls, in the order the design creates them, so that they stack as designed.
void Form2::buildLayout()
{
    buildPageList();
    buildViewport();
    buildScrollBars();
    buildButtons();
    buildKeyboardAndNames();
}

void Form2::buildPageList()
{
    ListView1 = ui::namedControl<QTreeWidget>(this, QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setColumnCount(0);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setUniformRowHeights(true);
    ListView1->header()->setStretchLastSection(false);
    ListView1->installEventFilter(this);
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListView1_Click(); });
}

// The viewport: a sunken white box whose inside clips the canvas.
void Form2::buildViewport()
{
    Picture2 = ui::namedControl<ViewportBox>(this, QStringLiteral("Picture2"));
    Picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture2->setLineWidth(platform::units::twipsToPixels(ZoomGeometry::kViewportBorder));
    ui::setBackColour(Picture2, Qt::white);
    mViewportInside = new QWidget(Picture2);
    // A click beside the page gives the viewport the keys, as one on the page gives them to the page.
    mViewportInside->setFocusProxy(Picture2);
    mViewportInside->setFocusPolicy(Qt::ClickFocus);
    Picture1 = ui::namedControl<PictureControl>(mViewportInside, QStringLiteral("Picture1"));
    place(Picture1, kPicture1, 0, 0, 0, 0);
    connect(Picture1, &PictureControl::mouseDown, this, &Form2::Picture1_MouseDown);
    connect(Picture1, &PictureControl::mouseMove, this, &Form2::Picture1_MouseMove);
    connect(Picture1, &PictureControl::mouseUp, this, [this] { Picture1_MouseUp(); });
}

void Form2::buildScrollBars()
{
    VScroll1 = ui::namedControl<FocusScrollBar>(this, QStringLiteral("VScroll1"));
    VScroll1->setOrientation(Qt::Vertical);
    HScroll1 = ui::namedControl<FocusScrollBar>(this, QStringLiteral("HScroll1"));
    HScroll1->setOrientation(Qt::Horizontal);
    for (QScrollBar* bar : {HScroll1, VScroll1}) {
        bar->setRange(0, 32767);
        bar->setTracking(false);  // the canvas moves when the thumb is let go
    }
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
}

// The zoom frame with its two buttons, and the two below it, each running its command.
void Form2::buildButtons()
{
    Frame1 = ui::namedControl<QGroupBox>(this, QStringLiteral("Frame1"));
    Frame1->setTitle(QStringLiteral("Zoom:"));
    PushButton1 = ui::namedControl<QPushButton>(Frame1, QStringLiteral("PushButton1"));
    PushButton2 = ui::namedControl<QPushButton>(Frame1, QStringLiteral("PushButton2"));
    PushButton8 = ui::namedControl<QPushButton>(this, QStringLiteral("PushButton8"));
    PushButton6 = ui::namedControl<QPushButton>(this, QStringLiteral("PushButton6"));
    const std::pair<QPushButton*, QAction*> buttons[] = {
        {PushButton1, actZoomIn}, {PushButton2, actZoomOut}, {PushButton8, actBack}, {PushButton6, actSave}};
    for (const auto& [button, action] : buttons) {
        button->setText(action->text());
        button->setAccessibleName(action->text());
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        mHover.watch(button, ui::vbCustom);
    }
    ui::setButtonFont({PushButton1, PushButton2, PushButton8, PushButton6});
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(Frame1), static_cast<QWidget*>(ListView1)})
        mHover.watch(w, ui::vbDefault);
}

// Who takes the keys, in what order, and what a screen reader announces.
void Form2::buildKeyboardAndNames()
{
    // The page and the viewport take the keys by Tab and by a click.
    for (QWidget* w : {static_cast<QWidget*>(Picture2), static_cast<QWidget*>(Picture1)})
        w->setFocusPolicy(Qt::StrongFocus);
    for (QWidget* w : {static_cast<QWidget*>(HScroll1), static_cast<QWidget*>(VScroll1)})
        w->setFocusPolicy(Qt::TabFocus);
    for (QWidget* w :
         {static_cast<QWidget*>(Picture2), static_cast<QWidget*>(mViewportInside), static_cast<QWidget*>(Picture1),
          static_cast<QWidget*>(HScroll1), static_cast<QWidget*>(VScroll1)})
        w->installEventFilter(this);

    // What a screen reader announces: the caption, or what the control shows.
    const std::pair<QWidget*, const char*> names[] = {
        {ListView1, "Page(s)"},        {Picture2, "Page view"},          {Picture1, "Page"},
        {HScroll1, "Scroll sideways"}, {VScroll1, "Scroll up and down"}, {Frame1, "Zoom:"},
    };
    for (const auto& [w, name] : names)
        w->setAccessibleName(QString::fromLatin1(name));

    QWidget* const order[] = {HScroll1,    VScroll1,    Picture2,    Picture1, PushButton1,
                              PushButton2, PushButton6, PushButton8, ListView1};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form2::placeControls()
{
    const int dw = platform::units::pixelsToTwips(width()) - kDesignWidth;
    const int dh = platform::units::pixelsToTwips(height()) - kDesignHeight;
    place(ListView1, kListView1, 0, 0, dw, 0);
    place(Picture2, kPicture2, 0, 0, dw, dh);
    place(VScroll1, kVScroll1, dw, 0, 0, dh);
    place(HScroll1, kHScroll1, 0, dh, dw, 0);
    place(Frame1, kFrame1, 0, dh, dw, 0);
    const int zoomIn = firstShare(dw, kPushButton1, kPushButton2);
    place(PushButton1, kPushButton1, 0, 0, zoomIn, 0);
    place(PushButton2, kPushButton2, zoomIn, 0, dw - zoomIn, 0);
    const int back = firstShare(dw, kPushButton8, kPushButton6);
    place(PushButton8, kPushButton8, 0, dh, back, 0);
    place(PushButton6, kPushButton6, back, dh, dw - back, 0);
    mViewportInside->setGeometry(Picture2->contentsRect());
    mView.resizeViewport(platform::units::pixelsToTwips(Picture2->width()),
                         platform::units::pixelsToTwips(Picture2->height()));
}

void Form2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void Form2::buildPageMenu()
{
    mnuPage = new QMenu(this);
    mnuPage->setObjectName(QStringLiteral("mnuPage"));
    mnuPage->addActions({actSaveAsPdf, actPrint, actCopyPage});
    for (QWidget* w : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(mViewportInside),
                       static_cast<QWidget*>(Picture2), static_cast<QWidget*>(ListView1)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
            // In the page list the menu is about the page under the pointer.
            QWidget* from = w;
            if (w == ListView1) {
                from = ListView1->viewport();
                if (QTreeWidgetItem* under = ListView1->itemAt(at); under && under != ListView1->currentItem())
                    mView.choosePage(ListView1->indexOfTopLevelItem(under));
            }
            mnuPage->popup(from->mapToGlobal(at));
        });
    }
}

// From the keyboard (Shift+F10, the Menu key) the menu opens over the page
// view, or over the page on show in the list when the list has the focus.
void Form2::popUpPageMenu()
{
    QPoint at = Picture2->mapToGlobal(Picture2->rect().center());
    if (ListView1->hasFocus() && ListView1->currentItem())
        at = ListView1->viewport()->mapToGlobal(ListView1->visualItemRect(ListView1->currentItem()).center());
    mnuPage->popup(at);
}

// ---- Load, activation, choosing a page ---------------------------------------

void Form2::Form_Load()
{
    app::Guard g(app::label::Form2_Form_Load);
    g.step(100, [&] { mView.awaitFirstActivation(); });
    g.step(102, [&] { ui::paintButtonFace(this, ui::FaceWalk::Standard); });
    ui::setUpWindow(g, this, mPointer);  // steps 104 to 110
    g.step(112, [&] {
        ListView1->setColumnCount(1);
        ListView1->setHeaderLabels({QStringLiteral("Page(s)")});
    });
    g.step(114, [&] { ListView1->setColumnWidth(0, platform::units::twipsToPixels(7500)); });
}

void Form2::Form_Activate()
{
    app::Guard g(app::label::Form2_Form_Activate);
    mView.activate(g);
}

int Form2::selectedPage() const
{
    QTreeWidgetItem* item = ListView1->currentItem();
    return item && item->isSelected() ? ListView1->indexOfTopLevelItem(item) : -1;
}

// A click chooses the page again even when it is on show (back to 100 % at
// the top left); a key let go chooses only when the list has moved to another
// page, so that letting go of Ctrl or Shift after the wheel keeps the zoom.
void Form2::ListView1_Click()
{
    if (const int n = selectedPage(); n >= 0)
        mView.choosePage(n);
}

void Form2::ListView1_KeyUp()
{
    if (const int n = selectedPage(); n >= 0 && n != mView.pageOnShow())
        mView.choosePage(n);
}

void Form2::RedrawImage() { mView.redraw(); }

void Form2::SetupScrollBars() { mView.setupScrollBars(); }

// ---- Zoom ------------------------------------------------------------------

void Form2::StepZoom(qint32 direction) { mView.stepZoom(direction); }

void Form2::SetZoom(float zoom) { mView.setZoom(zoom); }

void Form2::ActualSize() { SetZoom(1.0f); }

void Form2::PushButton1_Click()
{
    app::Guard g(app::label::Form2_PushButton1_Click);
    g.step(100, [&] { StepZoom(0); });
}

void Form2::PushButton2_Click()
{
    app::Guard g(app::label::Form2_PushButton2_Click);
    g.step(100, [&] { StepZoom(1); });
}

// ---- Scroll bars and panning -------------------------------------------------

void Form2::HScroll1_Change() { mView.scrollTo(Axis::Horizontal, HScroll1->value()); }
void Form2::VScroll1_Change() { mView.scrollTo(Axis::Vertical, VScroll1->value()); }

void Form2::SetHScrollbarByPercent(QScrollBar*, qint16 percent) { mView.setBarByPercent(Axis::Horizontal, percent); }
void Form2::SetVScrollbarByPercent(QScrollBar*, qint16 percent) { mView.setBarByPercent(Axis::Vertical, percent); }

void Form2::Picture1_MouseDown(float x, float y)
{
    app::Guard g(app::label::Form2_Picture1_MouseDown);
    g.step(100, [&] { mView.beginDrag(x, y); });  // both coordinates at once (steps 100 and 102)
}

void Form2::Picture1_MouseMove(bool buttonHeld, float x, float y)
{
    app::Guard g(app::label::Form2_Picture1_MouseMove);
    g.step(100);
    if (!buttonHeld)
        return;
    g.step(102, [&] { mView.moveDrag(true, x, y); });
    g.step(124);  // the canvas goes where the view now has it
}

void Form2::Picture1_MouseUp()
{
    // The bars take the values that match where the canvas was dropped (a
    // whole percentage of a zoomed page would throw it back by hundreds of
    // twips); the canvas then stands within half a scroll step of the drop.
    app::Guard g(app::label::Form2_Picture1_MouseUp);
    std::pair<qint32, qint32> values{-1, -1};
    g.step(100, [&] { values.first = mView.endDrag().first; });
    g.step(102, [&] { values.second = mView.endDrag().second; });
    g.step(104);
    if (values.first >= 0)  // only where the canvas is wider than the view
        g.act([&] { mView.snapBar(Axis::Horizontal, values.first); });
    g.step(106);
    if (values.second >= 0)
        g.act([&] { mView.snapBar(Axis::Vertical, values.second); });
}

void Form2::showView()
{
    // The page list: an item a page, the page on show the current one.
    while (ListView1->topLevelItemCount() > mView.pageCount())
        delete ListView1->takeTopLevelItem(ListView1->topLevelItemCount() - 1);
    for (int k = ListView1->topLevelItemCount(); k < mView.pageCount(); ++k)
        new QTreeWidgetItem(ListView1, QStringList{mView.pageName(k)});
    QTreeWidgetItem* shown = mView.pageOnShow() >= 0 ? ListView1->topLevelItem(mView.pageOnShow()) : nullptr;
    if (shown && ListView1->currentItem() != shown)
        ListView1->setCurrentItem(shown);

    // The canvas: what it shows, where it stands.
    const ZoomGeometry& geo = mView.geometry();
    Picture1->show(mView.canvas());
    const ZoomGeometry::Rect& c = geo.canvas();
    ui::placeInTwips(Picture1, c.left, c.top, c.width, c.height);
    if (Picture1->hasFocus())
        Picture1->update();  // its focus frame follows the part in view

    // The bars. Setting them is not the user moving them: they tell nothing back.
    const std::pair<QScrollBar*, const ZoomGeometry::ScrollBar*> bars[] = {{HScroll1, &geo.hBar()},
                                                                           {VScroll1, &geo.vBar()}};
    for (const auto& [widget, state] : bars) {
        const QSignalBlocker quiet(widget);
        // A disabled bar keeps its last range in the model; shown, it would keep its thumb.
        widget->setRange(0, state->enabled ? state->maximum : 0);
        widget->setSingleStep(state->singleStep);
        widget->setPageStep(state->pageStep);
        widget->setValue(state->value);
        widget->setEnabled(state->enabled);
    }
}

// The wheel over the page scrolls it (sideways with Shift); with Ctrl it
// zooms by the buttons' steps, through their own handlers.
bool Form2::wheel(QWheelEvent* e)
{
    const QPoint delta = e->angleDelta();
    if (e->modifiers() & Qt::ControlModifier) {
        if (delta.y() > 0)
            PushButton1_Click();
        else if (delta.y() < 0)
            PushButton2_Click();
        return true;
    }
    const bool sideways = (e->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    QScrollBar* bar = sideways ? HScroll1 : VScroll1;
    const int notches = (sideways && delta.x() != 0 ? delta.x() : delta.y()) / 120;
    if (bar->isEnabled() && notches != 0)
        bar->setValue(bar->value() - notches * QApplication::wheelScrollLines() * bar->singleStep());
    return true;
}

// The arrow and page keys scroll the page when the canvas, the viewport or a
// bar has the focus: up and down, the page keys, Home and End move the page
// vertically, left and right sideways.
bool Form2::scrollKey(QKeyEvent* e)
{
    if (e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    using A = QAbstractSlider::SliderAction;
    QScrollBar* bar = VScroll1;
    A action;
    switch (e->key()) {
    case Qt::Key_Left:
        bar = HScroll1;
        action = A::SliderSingleStepSub;
        break;
    case Qt::Key_Right:
        bar = HScroll1;
        action = A::SliderSingleStepAdd;
        break;
    case Qt::Key_Up: action = A::SliderSingleStepSub; break;
    case Qt::Key_Down: action = A::SliderSingleStepAdd; break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // At the page's top (bottom) the page keys go on to the page before (after).
        const bool down = e->key() == Qt::Key_PageDown;
        const bool atEdge =
            !VScroll1->isEnabled()
            || (down ? VScroll1->value() >= VScroll1->maximum() : VScroll1->value() <= VScroll1->minimum());
        if (atEdge && e->modifiers() == Qt::NoModifier) {
            const int next = mView.pageOnShow() + (down ? 1 : -1);
            if (mView.pageOnShow() >= 0 && next >= 0 && next < mView.pageCount())
                mView.choosePage(next);
            return true;
        }
        action = down ? A::SliderPageStepAdd : A::SliderPageStepSub;
        break;
    }
    case Qt::Key_Home: action = A::SliderToMinimum; break;
    case Qt::Key_End: action = A::SliderToMaximum; break;
    default: return false;
    }
    if (bar->isEnabled())
        bar->triggerAction(action);
    return true;
}

// ---- Saving and leaving ------------------------------------------------------

namespace {

// Asked before any file of the user's is replaced, in the one wording both saves use.
QString overwriteQuestion(const QString& name)
{
    return QStringLiteral("Are you sure you wish to overwrite ") + name + QStringLiteral(" ?");
}

}  // namespace

void Form2::PushButton6_Click()
{
    app::Guard g(app::label::Form2_PushButton6_Click);
    QString name;
    qint16 answer = 0;
    bool copyFailed = false;
    g.step(112, [&] {
        name = app::dialogs().saveFileName(
            {QStringLiteral("Save File"), QStringLiteral("Word Files (*.doc)"), meeting::saveFolder(), QString()});
    });
    g.step(116);
    if (!name.isEmpty()) {
        g.step(118);
        if (g.test([&] { return app::FileExists(name); })) {
            g.step(120, [&] { answer = static_cast<qint16>(app::MsgBox(overwriteQuestion(name), app::vbYesNo)); });
            // The old file is not removed first: the copy replaces it only once
            // it is whole, so a failing copy leaves the user's file as it was.
            g.step(122);
        } else {
            g.step(126, [&] { answer = app::vbYes; });
        }
        g.step(128);
        if (answer == app::vbYes) {
            copyFailed = true;
            g.step(130, [&] {
                platform::copyFile(mWordFile, name, platform::defaultFileMode());
                copyFailed = false;
                meeting::rememberSaveFolder(name);
            });
        }
    }
    // A failed copy has been reported; "Done." would call it a success.
    if (!copyFailed)
        g.step(132, [&] { app::MsgBox(QStringLiteral("Done.")); });
}

void Form2::mnuSaveAsPdf_Click()
{
    app::Guard g(app::label::Form2_mnuSaveAsPdf_Click);
    QString name;
    qint16 answer = 0;
    bool saved = false;
    g.step(100, [&] {
        name = app::dialogs().saveFileName({QStringLiteral("Save as PDF"), QStringLiteral("PDF Files (*.pdf)"),
                                            meeting::saveFolder(), pdfFileName(mDocumentTitle)});
        // A name typed bare gets the suffix that lets other programs open it as a PDF.
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".pdf");
    });
    g.step(102);
    if (name.isEmpty())
        return;
    g.step(104);
    if (g.test([&] { return app::FileExists(name); })) {
        g.step(106, [&] { answer = static_cast<qint16>(app::MsgBox(overwriteQuestion(name), app::vbYesNo)); });
    } else {
        g.step(108, [&] { answer = app::vbYes; });
    }
    g.step(110);
    if (answer != app::vbYes)
        return;
    QByteArray pdf;
    g.step(112, [&] { pdf = pdfOfPages(mView.documentPages(), mDocumentTitle); });
    g.step(114);
    if (pdf.isEmpty())
        return;  // the writer's failure has been reported
    // Written beside the target and renamed over it once whole: a failing
    // disk leaves the old file.
    g.step(116, [&] {
        platform::replaceFile(name, pdf, platform::defaultFileMode());
        saved = true;
        meeting::rememberSaveFolder(name);
    });
    if (saved)
        g.step(118, [&] { app::MsgBox(QStringLiteral("Done.")); });
}

void Form2::mnuPrint_Click()
{
    app::Guard g(app::label::Form2_mnuPrint_Click);
    Pages pages;
    g.step(100, [&] { pages = mView.documentPages(); });
    g.step(102);
    if (pages.empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    bool chosen = false;
    g.step(104, [&] { preparePrinter(printer, pages, mDocumentTitle, meeting::saveFolder()); });
    g.step(106, [&] { chosen = app::dialogs().print(printer, static_cast<int>(pages.size())); });
    g.step(108);
    if (!chosen)
        return;
    QString file;
    g.step(110, [&] {
        mPointer.setShape(ui::vbHourglass);
        file = printPages(printer, pages, mDocumentTitle);
    });
    g.step(112, [&] { mPointer.setShape(ui::vbDefault); });
    if (file.isEmpty())
        return;  // sent to a printer, or the failure has been reported
    g.step(114, [&] {
        meeting::rememberSaveFolder(file);
        app::MsgBox(QStringLiteral("Printed to ") + file + QStringLiteral("."));
    });
}

void Form2::mnuCopyPage_Click()
{
    app::Guard g(app::label::Form2_mnuCopyPage_Click);
    g.step(100);
    if (mView.holder().isNull())
        return;  // no page on show
    g.step(102, [&] { copyPageToClipboard(mView.holder()); });
}

void Form2::PushButton8_Click()
{
    app::Guard g(app::label::Form2_PushButton8_Click);
    g.step(102, [&] { app::RemoveFile(mWordFile); });
    g.step(104, [&] {
        if (mEntryWindow)
            mEntryWindow->show();
    });
    g.step(106, [&] { hide(); });
}

void Form2::Form_QueryUnload()
{
    app::Guard g(app::label::Form2_Form_QueryUnload);
    g.step(100, [&] { app::RemoveFile(mWordFile); });
    g.step(102, [] { QCoreApplication::processEvents(); });
    g.step(104, [] { QCoreApplication::processEvents(); });
}

void Form2::Form_Unload() { app::endProgram(); }

void Form2::showEvent(QShowEvent* event)
{
    // No larger than the screen has room for, so that every button can be reached.
    resize(size().boundedTo(ui::roomOnScreen(this)));
    ui::keepOnScreen(this);
    QWidget::showEvent(event);
    Form_Activate();
}

void Form2::closeEvent(QCloseEvent* event)
{
    // What the entry window could not save yet is lost with the program.
    if (!meeting::mayEndProgram()) {
        event->ignore();
        return;
    }
    event->accept();
    Form_QueryUnload();
    Form_Unload();
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView1 && event->type() == QEvent::KeyRelease)
        ListView1_KeyUp();
    const bool onPage = watched == Picture1 || watched == Picture2 || watched == mViewportInside;
    if (onPage && event->type() == QEvent::Wheel)
        return wheel(static_cast<QWheelEvent*>(event));
    const bool scrolls = watched == Picture1 || watched == Picture2 || watched == HScroll1 || watched == VScroll1;
    if (scrolls && event->type() == QEvent::KeyPress && scrollKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

// ---- PreviewPort -------------------------------------------------------------

void Form2::clearPages() { mView.clearPages(); }
int Form2::pageCount() const { return mView.pageCount(); }
void Form2::addPage(const QString& text) { mView.addPage(text); }
bool Form2::hasImage(int index) const { return mView.hasImage(index); }
void Form2::loadImage(int index) { mView.loadImage(index); }
const platform::Picture& Form2::imagePicture(int index) const { return mView.imagePicture(index); }
void Form2::setImagePicture(int index, platform::Picture picture) { mView.setImagePicture(index, std::move(picture)); }
void Form2::showImage(int index) { mView.showImage(index); }
void Form2::showPreview() { show(); }

}  // namespace preview
