#pragma once

#include "docgen/PreviewPort.h"
#include "preview/PageView.h"
#include "preview/PictureControl.h"
#include "ui/HoverPointer.h"
#include "ui/Pointer.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QAction;
class QGroupBox;
class QKeyEvent;
class QMenu;
class QWheelEvent;
class QPushButton;
class QScrollBar;
class QTreeWidget;

namespace preview {

// The preview window: the page list, the chosen page on a canvas that zooms,
// scrolls and pans, and the commands to save the document or go back. What it
// shows is its page view's: the handlers call the view's verbs, and every
// change of the view is shown by one pass over the widgets (showView).
class Form2 : public QWidget, public docgen::PreviewPort {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    void Form_Load();
    void Form_Activate();
    void ListView1_Click();
    void ListView1_KeyUp();
    void RedrawImage();
    void SetupScrollBars();
    void StepZoom(qint32 direction);
    void SetZoom(float zoom);
    // The bar argument is kept for the designed signature and never read: the
    // bar set is always the one in the name, whose state the page view keeps.
    void SetHScrollbarByPercent(QScrollBar* /*bar*/, qint16 percent);
    void SetVScrollbarByPercent(QScrollBar* /*bar*/, qint16 percent);
    void ActualSize();  // Ctrl+0: SetZoom(1.0)
    void PushButton1_Click();  // "Zoom In"
    void PushButton2_Click();  // "Zoom Out"
    void PushButton6_Click();  // "Save Results To Word File"
    void PushButton8_Click();  // "< Back"
    // The page menu of the canvas and the page list.
    void mnuSaveAsPdf_Click();  // "Save as PDF…", Ctrl+Shift+S
    void mnuPrint_Click();  // "Print…", Ctrl+P
    void mnuCopyPage_Click();  // "Copy Page"
    void Picture1_MouseDown(float x, float y);
    void Picture1_MouseMove(bool buttonHeld, float x, float y);
    void Picture1_MouseUp();

    // The window that "< Back" shows again.
    void setEntryWindow(QWidget* window) { mEntryWindow = window; }

    const PageView& view() const { return mView; }
    const ZoomGeometry& geometry() const { return mView.geometry(); }
    ui::WindowPointer& pointer() { return mPointer; }
    bool firstActivationPending() const { return mView.firstActivationPending(); }

    // The entries of the page list.
    int pageCount() const;

    // PreviewPort
    void clearPages() override;
    void addPage(const QString& text) override;
    bool hasImage(int index) const override;
    void loadImage(int index) override;
    const platform::Picture& imagePicture(int index) const override;
    void setImagePicture(int index, platform::Picture picture) override;
    void showImage(int index) override;
    void setWordFile(const QString& path) override { mWordFile = path; }
    void setDocumentTitle(const QString& title) override { mDocumentTitle = title; }
    void showPreview() override;

    QString mWordFile;
    QString mDocumentTitle;

    QTreeWidget* ListView1;
    ViewportBox* Picture2;
    PictureControl* Picture1;
    QScrollBar *VScroll1, *HScroll1;
    QGroupBox* Frame1;
    QPushButton *PushButton1, *PushButton2, *PushButton8, *PushButton6;
    QMenu* mnuPage;
    // The window's commands: each one caption, its keys and its handler, for
    // its button, the page menu and the window's keys alike.
    QAction *actZoomIn, *actZoomOut, *actActualSize, *actSave, *actBack, *actSaveAsPdf, *actPrint, *actCopyPage,
        *actPageMenu;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildPageList();
    void buildViewport();
    void buildScrollBars();
    void buildButtons();
    void buildKeyboardAndNames();
    void placeControls();
    void buildCommands();
    void buildPageMenu();
    // The page the list's selected item names; -1 when none is selected.
    int selectedPage() const;
    void Form_QueryUnload();
    void Form_Unload();
    void HScroll1_Change();
    void VScroll1_Change();
    bool wheel(QWheelEvent* e);
    bool scrollKey(QKeyEvent* e);
    // Every widget set from the view, in one pass.
    void showView();
    void popUpPageMenu();

    PageView mView;
    ui::WindowPointer mPointer;
    ui::HoverPointer mHover{this, mPointer};
    QWidget* mViewportInside = nullptr;
    QPointer<QWidget> mEntryWindow;
};

}  // namespace preview
