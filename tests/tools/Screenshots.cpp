// Takes the screenshots of the windows that README shows, the way a user
// gets there: the entry window with the sample meeting, the preview of its
// document, the preview at 400 % scrolled to the bottom right of page 1, and
// the preview after "< Back", a changed title and a new run, then zoomed in,
// and maximised. Run it under a
// real (virtual) display: scripts/screenshots.sh.
#include "app/Application.h"
#include "app/Clock.h"
#include "entry/Form1.h"
#include "preview/Form2.h"
#include "tests/support/Seams.h"
#include "wordproc/WordApplication.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <cstdio>

namespace {

// Whether each shot is of the whole screen (to see how the windows fit on it)
// rather than of the window alone.
bool gWholeScreen = false;

void shoot(QWidget* window, const QDir& out, const char* name)
{
    window->raise();
    window->activateWindow();
    QTest::qWait(300);  // let the window manager and the painting settle
    const QPixmap shot = window->screen()->grabWindow(gWholeScreen ? 0 : window->winId());
    shot.save(out.filePath(QString::fromLatin1(name)));
    std::printf("%s\n", qPrintable(out.filePath(QString::fromLatin1(name))));
}

}  // namespace

int main(int argc, char** argv)
{
    app::Application application(argc, argv);
    gWholeScreen = argc == 3 && qstrcmp(argv[1], "--whole-screen") == 0;
    if (argc != 2 + gWholeScreen) {
        std::fprintf(stderr, "usage: screenshots [--whole-screen] FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[argc - 1]));
    QDir().mkpath(out.path());
    const testing_support::ProgramEndOverride end([] {});
    // The same pictures on every run: the sample meeting takes "now".
    const testing_support::ClockOverride clock([] { return QDateTime(QDate(2026, 12, 7), QTime(13, 5), Qt::UTC); });
    wordproc::registerComponent();

    entry::Form1 form;
    form.Form_Load();
    form.show();
    form.PushButton3->click();  // the sample meeting
    shoot(&form, out, "entry.png");

    form.PushButton22->click();
    preview::Form2* preview = form.previewWindow();
    shoot(preview, out, "preview.png");

    for (int i = 0; i < 12; ++i)
        preview->PushButton1->click();
    preview->HScroll1->setValue(preview->HScroll1->maximum());
    preview->VScroll1->setValue(preview->VScroll1->maximum());
    shoot(preview, out, "preview-400-bottom-right.png");

    preview->PushButton8->click();  // < Back
    form.txtTitle->setText(QStringLiteral("SECOND MEETING"));
    form.PushButton22->click();
    shoot(form.previewWindow(), out, "preview-second-run.png");
    form.previewWindow()->PushButton1->click();  // Zoom In: the new page, at 125 %
    shoot(form.previewWindow(), out, "preview-second-run-zoom-in.png");

    form.previewWindow()->showMaximized();
    shoot(form.previewWindow(), out, "preview-maximised.png");
    form.previewWindow()->PushButton8->click();

    // A meeting of three topics, the second one on show.
    form.PushButton3->click();
    for (int topic = 1; topic <= 2; ++topic) {
        form.addTopic();
        form.txtTimeAlloted[topic]->setText(QStringLiteral("%1 minutes").arg(15 * topic));
        form.txtTopic[topic]->setText(topic == 1 ? QStringLiteral("Budget for the new year")
                                                 : QStringLiteral("Summer outing"));
        form.txtPresenter[topic]->setText(topic == 1 ? QStringLiteral("Hale Dorrance")
                                                     : QStringLiteral("Mira Calloway"));
        form.txtDiscussion1[topic]->setText(topic == 1 ? QStringLiteral("Costs rose by a tenth.")
                                                       : QStringLiteral("The lake or the hills?"));
        form.txtConclusion1[topic]->setText(topic == 1 ? QStringLiteral("The budget stands as proposed.")
                                                       : QStringLiteral("The lake, in July."));
        form.txtAction1[topic]->setText(topic == 1 ? QStringLiteral("Send the budget to the board")
                                                   : QStringLiteral("Book the boats"));
        form.txtPerson1[topic]->setText(topic == 1 ? QStringLiteral("Orrin Vasque") : QStringLiteral("Lio Vasque"));
    }
    // Typing in the second topic: the view follows the keys there.
    form.txtTopic[1]->setFocus(Qt::MouseFocusReason);
    form.VScroll1->setValue(1);
    shoot(&form, out, "entry-three-topics.png");
    form.PushButton22->click();
    shoot(form.previewWindow(), out, "preview-three-topics.png");
    if (qEnvironmentVariableIsSet("SCREENSHOTS_KEEP_DOCUMENT"))
        QFile::copy(form.previewWindow()->mWordFile, out.filePath(QStringLiteral("three-topics.doc")));
    form.previewWindow()->PushButton8->click();
    return 0;
}
