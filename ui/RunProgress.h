#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <chrono>

class QDialog;
class QLabel;
class QProgressBar;

namespace ui {

// How far a long run has come ("Page 37 of 300"), so that it never looks
// hung. The run keeps the event loop; the window appears only once the run has
// taken longer than `delay`, is modal to every window of the program so that
// no input reaches them while it lasts, and has no way to cancel or close it.
class RunProgress {
public:
    explicit RunProgress(std::chrono::milliseconds delay = std::chrono::milliseconds(500));
    ~RunProgress();
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    // A run begins: the delay counts from here.
    void begin();
    // `done` of `total` pages are rendered; shows the window once the delay is
    // over and paints it at once, since the run does not return to the loop.
    void report(int done, int total);
    // The run is over: the window goes.
    void end();

    // The window while it shows, for tests and screenshots; null otherwise.
    QDialog* window() const;
    static QString text(int done, int total);

private:
    std::chrono::milliseconds mDelay;
    static constexpr qint64 kFrameMs = 40;
    QElapsedTimer mSince;
    QElapsedTimer mPainted;  // since the window was last painted
    QPointer<QDialog> mWindow;
    QLabel* mLabel = nullptr;
    QProgressBar* mBar = nullptr;
};

}  // namespace ui
