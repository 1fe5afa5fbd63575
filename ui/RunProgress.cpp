#include "ui/RunProgress.h"

#include "app/AppTitle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace ui {

namespace {

// A run can't be stopped halfway without leaving a half-made document, so the
// window refuses every way of closing it: the close button, Alt+F4, Escape.
class ProgressWindow : public QDialog {
public:
    ProgressWindow() : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {}
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

}  // namespace

RunProgress::RunProgress(std::chrono::milliseconds delay) : mDelay(delay) {}

RunProgress::~RunProgress() { delete mWindow; }

QString RunProgress::text(int done, int total) { return QStringLiteral("Page %1 of %2").arg(done).arg(total); }

void RunProgress::begin()
{
    mSince.start();
    end();
}

void RunProgress::report(int done, int total)
{
    if (!mSince.isValid() || total <= 0)
        return;
    if (!mWindow) {
        if (mSince.elapsed() < mDelay.count())
            return;
        auto* window = new ProgressWindow;
        window->setWindowTitle(app::applicationTitle());
        window->setWindowModality(Qt::ApplicationModal);
        window->setCursor(Qt::WaitCursor);
        auto* layout = new QVBoxLayout(window);
        mLabel = new QLabel(window);
        mBar = new QProgressBar(window);
        mBar->setTextVisible(false);
        mBar->setMinimumWidth(320);
        layout->addWidget(mLabel);
        layout->addWidget(mBar);
        mWindow = window;
    }
    mLabel->setText(text(done, total));
    mLabel->setAccessibleName(mLabel->text());
    mBar->setRange(0, total);
    mBar->setValue(std::clamp(done, 0, total));
    // Painting many times a frame would only slow the run it reports on.
    if (mWindow->isVisible() && mPainted.isValid() && mPainted.elapsed() < kFrameMs)
        return;
    if (!mWindow->isVisible()) {
        // Over the window the run was started from, where the user is looking.
        mWindow->adjustSize();
        if (const QWidget* over = QApplication::activeWindow())
            mWindow->move(over->frameGeometry().center() - mWindow->rect().center());
        mWindow->show();
    }
    // Paint now: input stays queued (the modal window would refuse it anyway)
    // until the run is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    mPainted.start();
}

void RunProgress::end()
{
    mPainted.invalidate();
    delete mWindow;
    mLabel = nullptr;
    mBar = nullptr;
}

QDialog* RunProgress::window() const { return mWindow; }

}  // namespace ui
