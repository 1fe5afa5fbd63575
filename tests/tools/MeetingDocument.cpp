// Makes a meeting's minutes as the program does and writes them out twice, for
// setting beside what another word processor makes of the same file:
//
//   meeting_document MEETING OUTDIR     MEETING is a store file (Tessaly.ini);
//                                       writes OUTDIR/NAME.doc, the document the
//                                       run saved, and OUTDIR/NAME.corvalin.pdf,
//                                       its pages as "Save as PDF" writes them
//   meeting_document --examples OUTDIR  writes the example meetings the
//                                       comparison is measured on, as store files
//
// The meeting is read by the restore of start-up from a copy of the file, so
// the file itself is never written. Whatever the run would have shown in a
// message box goes to standard error, and the exit code is then 1.
#include "app/Dialogs.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "docgen/TemplateFilling.h"
#include "meeting/RecordStorage.h"
#include "meeting/SettingsStore.h"
#include "platform/SafeFile.h"
#include "preview/PageOutput.h"
#include "tests/support/GenerationDoubles.h"
#include "wordproc/WordApplication.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

using meeting::Field;

// Every box the run would show, told on standard error instead.
class PrintedDialogs : public app::Dialogs {
public:
    int messageBox(const QString& text, int, const QString&) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        ++shown;
        return app::vbOK;
    }
    QString saveFileName(const app::SaveDialogSetup&) override { return {}; }
    bool print(QPrinter&, int) override { return false; }
    int shown = 0;
};

// A sentence of ordinary prose, different for each call.
QString sentence(int n)
{
    static const char* const kWords[] = {"the",    "committee", "agreed",  "to",      "review", "budget",
                                         "before", "next",      "quarter", "while",   "staff",  "proposals",
                                         "remain", "open",      "pending", "further", "notice", "from",
                                         "all",    "members",   "present", "today"};
    constexpr int kCount = static_cast<int>(std::size(kWords));
    QString s;
    const int length = 8 + n % 7;
    for (int i = 0; i < length; ++i) {
        QString word = QString::fromLatin1(kWords[(n * 7 + i * 5) % kCount]);
        if (i == 0)
            word[0] = word[0].toUpper();
        s += (i ? QStringLiteral(" ") : QString()) + word;
    }
    return s + QLatin1Char('.');
}

QString prose(int sentences, int& counter)
{
    QStringList parts;
    for (int i = 0; i < sentences; ++i)
        parts << sentence(counter++);
    return parts.join(QLatin1Char(' '));
}

// The sample meeting, changed by `edit`, written as the store file `path`.
void writeMeeting(const QString& path, const std::function<void(testing_support::RecordingHost&)>& edit)
{
    QTemporaryDir folder;
    const QString previous = meeting::setSettingsFolder(folder.path());
    testing_support::RecordingHost host;
    {
        app::Guard g(app::label::Form1_PushButton3_Click);
        meeting::loadSampleRecord(host, g);
    }
    edit(host);
    // The number first: it writes the keys of the topics it adds empty.
    meeting::saveTopicCount(host.topicCount(), 1);
    for (const auto& [key, text] : host.texts)
        meeting::saveText(key.first, key.second, text);
    for (const auto& [key, when] : host.deadlines)
        meeting::saveDeadline(key.first, key.second, when);
    meeting::saveDateTime(host.dateTime);
    const bool written = meeting::settingsStore().flush();
    meeting::reopenSettingsStore();
    meeting::setSettingsFolder(previous);
    if (!written)
        throw std::runtime_error(qPrintable(path + QStringLiteral(": the meeting can't be written")));
    platform::copyFile(QDir(folder.path()).filePath(QStringLiteral("Tessaly.ini")), path, platform::defaultFileMode());
}

int writeExamples(const QDir& out)
{
    int counter = 0;
    const struct {
        const char* name;
        std::function<void(testing_support::RecordingHost&)> edit;
    } examples[] = {
        {"sample", [](testing_support::RecordingHost&) {}},
        {"sentences",
         [&](testing_support::RecordingHost& host) {
             for (const meeting::FieldFacts& f : meeting::kFields)
                 if (f.kind == meeting::FieldKind::Text)
                     host.texts[{f.field, 0}] = prose(2 + counter % 2, counter);
         }},
        {"long",
         [&](testing_support::RecordingHost& host) {
             QString notes;
             while (notes.size() < 30000)
                 notes += sentence(counter++) + QLatin1Char(' ');
             host.texts[{Field::txtNotes, 0}] = notes.left(30000);
         }},
        {"two-fields",
         [&](testing_support::RecordingHost& host) {
             for (const auto& [field, length] : {std::pair{Field::txtDiscussion1, 5000}, {Field::txtNotes, 12000}}) {
                 QString text;
                 while (text.size() < length)
                     text += sentence(counter++) + QLatin1Char(' ');
                 host.texts[{field, 0}] = text.left(length);
             }
         }},
        {"twelve-topics",
         [&](testing_support::RecordingHost& host) {
             constexpr int kTopics = 12;
             host.setTopicCount(kTopics);
             for (int topic = 0; topic < kTopics; ++topic)
                 for (const meeting::FieldFacts& f : meeting::kFields)
                     if (f.kind == meeting::FieldKind::Text && (f.topic || topic == 0))
                         host.texts[{f.field, topic}] = prose(2 + counter % 2, counter);
         }},
        {"scripts",
         [](testing_support::RecordingHost& host) {
             host.texts[{Field::txtTitle, 0}] = QStringLiteral("Quarterly review \u5B63\u5EA6\u5BE9\u67FB");
             host.texts[{Field::txtAttendees, 0}] =
                 QStringLiteral("\u7530\u4E2D\u592A\u90CE, \u738B\u4F1F, \uAE40\uBBFC\uC900, "
                                "\u05D3\u05D5\u05D3 \u05DC\u05D5\u05D9, \u0641\u0627\u0637\u0645\u0629 "
                                "\u0627\u0644\u0632\u0647\u0631\u0627\u0621, Mira Calloway");
             host.texts[{Field::txtDiscussion1, 0}] = QStringLiteral(
                 "\u4F1A\u8B70\u306F\u4E88\u5B9A\u901A\u308A\u306B\u59CB\u307E\u308A\u307E\u3057\u305F\u3002 "
                 "The budget was read out in three languages.");
             host.texts[{Field::txtDiscussion2, 0}] =
                 QStringLiteral("\u05D4\u05EA\u05E7\u05E6\u05D9\u05D1 \u05D0\u05D5\u05E9\u05E8 "
                                "\u05D1\u05D0\u05D5\u05E4\u05DF \u05E4\u05D4 \u05D0\u05D7\u05D3.");
             host.texts[{Field::txtConclusion1, 0}] =
                 QStringLiteral("\u062A\u0645\u062A \u0627\u0644\u0645\u0648\u0627\u0641\u0642\u0629 "
                                "\u0639\u0644\u0649 \u0627\u0644\u0645\u064A\u0632\u0627\u0646\u064A\u0629.");
             host.texts[{Field::txtNotes, 0}] =
                 QStringLiteral("\uB2E4\uC74C \uD68C\uC758\uB294 \uB2E4\uC74C \uC8FC\uC5D0 "
                                "\uC5F4\uB9BD\uB2C8\uB2E4. Next meeting next week.");
         }},
    };
    for (const auto& e : examples) {
        const QString path = out.filePath(QLatin1String(e.name) + QStringLiteral(".ini"));
        writeMeeting(path, e.edit);
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}

int writeDocuments(const QString& meetingFile, const QDir& out)
{
    QTemporaryDir settings;
    platform::copyFile(meetingFile, QDir(settings.path()).filePath(QStringLiteral("Tessaly.ini")),
                       platform::defaultFileMode());
    meeting::setSettingsFolder(settings.path());
    PrintedDialogs dialogs;
    app::setDialogs(&dialogs);
    testing_support::RecordingHost host;
    {
        app::Guard g(app::label::Form1_Form_Load);
        meeting::restoreRecord(host, g);
    }
    docgen::fillTemplate(host);
    app::setDialogs(nullptr);
    if (dialogs.shown > 0 || host.port.wordFile.isEmpty())
        return 1;

    const QString name = QFileInfo(meetingFile).completeBaseName();
    const QString doc = out.filePath(name + QStringLiteral(".doc"));
    platform::copyFile(host.port.wordFile, doc, platform::defaultFileMode());
    preview::Pages pages;
    for (int i = 0; i < host.port.pageCount(); ++i)
        pages.push_back(std::make_shared<const platform::Picture>(host.port.imagePicture(i)));
    const QString pdf = out.filePath(name + QStringLiteral(".corvalin.pdf"));
    platform::replaceFile(pdf, preview::pdfOfPages(pages, host.text(Field::txtTitle)), platform::defaultFileMode());
    std::printf("%s\n%s\n", qPrintable(doc), qPrintable(pdf));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    wordproc::registerComponent();
    const QStringList args = application.arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: meeting_document MEETING OUTDIR | --examples OUTDIR\n");
        return 2;
    }
    const QDir out(args[1]);
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "%s: can't be made\n", qPrintable(out.path()));
        return 1;
    }
    try {
        return args[0] == QStringLiteral("--examples") ? writeExamples(out) : writeDocuments(args[0], out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
