#include "docgen/TemplateFilling.h"

#include "app/Clock.h"
#include "app/Environment.h"
#include "app/Files.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "app/Random.h"
#include "app/Resources.h"
#include "automation/Registry.h"
#include "automation/WordConstants.h"
#include "docgen/FormattedText.h"
#include "docgen/GenerationHost.h"
#include "docgen/PageRendering.h"
#include "docgen/PreviewPort.h"
#include "meeting/DateText.h"
#include "platform/SafeFile.h"
#include "ui/Pointer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cmath>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace docgen {

using automation::call;
using automation::get;
using automation::named;
namespace word = automation::word;
using automation::ObjectPtr;
using automation::put;
using automation::Value;
using meeting::Field;

namespace {

// The template is typed from top to bottom and left to right: the header,
// each topic's block, then the footer.
constexpr Field kHeader[] = {
    Field::txtTitle,           Field::dtpDateTime,      Field::txtMeetingLocation,
    Field::txtMeetingCalledBy, Field::txtTypeOfMeeting, Field::txtFacilitator,
    Field::txtNoteTaker,       Field::txtTimekeeper,    Field::txtAttendees,
};
constexpr Field kTopicBlock[] = {
    Field::txtTimeAlloted, Field::txtTopic,       Field::txtPresenter,   Field::txtDiscussion1, Field::txtDiscussion2,
    Field::txtDiscussion3, Field::txtConclusion1, Field::txtConclusion2, Field::txtConclusion3, Field::txtAction1,
    Field::txtPerson1,     Field::dtpDeadlin1,    Field::txtAction2,     Field::txtPerson2,     Field::dtpDeadline2,
};
constexpr Field kFooter[] = {Field::txtObservers, Field::txtResource, Field::txtNotes};

// The template's own topic: where it starts in table 1, and its rows; each
// further topic is a copy of it pasted below the last.
constexpr int kFirstTopicRow = 12;
constexpr int kTopicRows = 11;

// In the header, a topic block and the footer alike the rows only move down,
// so a topic block's row steps are moves forward, and the block begins on its
// first row. The header's pieces (the meeting's date and time are two) are the
// steps 118 to 156.
template <std::size_t N> constexpr bool inReadingOrder(const Field (&order)[N])
{
    for (std::size_t k = 1; k < N; ++k) {
        const meeting::TemplateCell& a = meeting::facts(order[k - 1]).cell;
        const meeting::TemplateCell& b = meeting::facts(order[k]).cell;
        if (b.table != a.table || b.row < a.row || (b.row == a.row && b.cell <= a.cell))
            return false;
    }
    return true;
}
static_assert(inReadingOrder(kHeader) && inReadingOrder(kTopicBlock) && inReadingOrder(kFooter));
static_assert(std::size(kHeader) + 1 == 10);
static_assert(meeting::facts(kTopicBlock[0]).cell.row == kFirstTopicRow
              && meeting::facts(std::end(kTopicBlock)[-1]).cell.row < kFirstTopicRow + kTopicRows);

// ActiveDocument.Tables(t).Rows(r) of the application.
ObjectPtr row(const ObjectPtr& word, int table, int r)
{
    const ObjectPtr doc = get(word, QStringLiteral("ActiveDocument")).toObject();
    const ObjectPtr t = get(doc, QStringLiteral("Tables"), {qint32(table)}).toObject();
    return get(t, QStringLiteral("Rows"), {qint32(r)}).toObject();
}

void selectCell(const ObjectPtr& word, int table, int r, int cell)
{
    call(get(row(word, table, r), QStringLiteral("Cells"), {qint32(cell)}).toObject(), QStringLiteral("Select"));
}

void type(const ObjectPtr& word, const QString& text, qint16 size, bool caps)
{
    setFont(word, text, size, QStringLiteral("Tahoma"), 0, caps, false);
}

// What a field's cell receives, read from the window when it is typed.
QString typedText(const GenerationHost& host, Field f, int topic)
{
    if (meeting::kindOf(f) == meeting::FieldKind::Deadline)
        return deadlineText(host.deadline(f, topic));
    return host.text(f, topic);
}

// Why a template found in the user's own temporary folder must not be opened;
// empty when it may be. The minutes would carry the text of whoever could
// change it: only an ordinary file of the user's own that nobody else can
// change is used.
QString templateRefusal(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();  // gone again: opening it says so
    QString why;
    if (S_ISLNK(st.st_mode))
        why = QStringLiteral("is a link");
    else if (!S_ISREG(st.st_mode))
        why = QStringLiteral("is not an ordinary file");
    else if (st.st_uid != ::geteuid())
        why = QStringLiteral("belongs to another user");
    else if (st.st_mode & 022)
        why = QStringLiteral("can be changed by other users");
    if (why.isEmpty())
        return why;
    return QStringLiteral("The template file '%1' %2, so it was not used. A fresh copy of the template, kept in "
                          "your private folder '%3', is used instead.")
        .arg(path, why, app::environment::privateTempFolder());
}

// A fresh template in the private per-user folder, under a name of this run's
// own: two copies of the program running at once share that folder, and each
// removes its template when its run ends.
QString privateTemplate(const QByteArray& bytes)
{
    for (int attempt = 0;; ++attempt) {
        const QString path =
            app::joinPath(app::environment::privateTempFolder(),
                          QStringLiteral("template-%1.dot")
                              .arg(QRandomGenerator::global()->bounded(1u << 30), 6, 36, QLatin1Char('0')));
        try {
            app::WriteBytesToFile(bytes, path);
            return path;
        } catch (const platform::FileError& e) {
            if (e.code() != EEXIST || attempt == 100)
                throw;
        }
    }
}

// Takes the document's name for this run: the file is made at once, empty
// and private, so that nobody can slip another file under the name between
// the test and the save. False when the name is taken.
bool reserveName(const QString& path)
{
    if (QDir::isRelativePath(path))
        return !app::FileExists(path);  // no folder to make it in: saving reports that
    try {
        platform::FileDescriptor file(platform::createExclusive(path, 0600));
        return true;
    } catch (const platform::FileError& e) {
        if (e.code() == EEXIST)
            return false;
        throw;
    }
}

}  // namespace

QString meetingDateText(const QDateTime& value)
{
    return meeting::regionalLocale().toString(value.date(), QStringLiteral("dd-MMM-yyyy"));
}

QString meetingTimeText(const QDateTime& value)
{
    // "AM" and "PM" whatever the regional settings.
    return QLocale::c().toString(value.time(), QStringLiteral("hh:mm AP"));
}

QString deadlineText(const meeting::MaybeDate& value)
{
    const automation::Value v = automation::NullToDefault(value ? Value(*value) : Value::null(), Value(QString()));
    return v.kind() == automation::Kind::Date ? meeting::dateToText(v.toDateTime()) : v.toString();
}

namespace {

// Step 114: the template written where this run may open it; its path.
QString writeTemplate(app::Guard& g, const QByteArray& bytes)
{
    QString templatePath;
    g.step(114);
    // Where others can put files, what is checked under a name may not be what
    // is then opened: the template under the name is never used there.
    if (g.test([&] {
            return app::environment::sharingOf(app::environment::tempFolder()) != app::environment::Sharing::Private;
        })) {
        g.act([&] { templatePath = privateTemplate(bytes); });
    } else if (g.test([&] {
                   templatePath = app::joinPath(app::environment::tempFolder(), QStringLiteral("template.dot"));
                   return !app::FileExists(templatePath);
               })) {
        g.act([&] { app::WriteBytesToFile(bytes, templatePath); });
    } else if (const QString refusal = templateRefusal(templatePath); !refusal.isEmpty()) {
        g.act([&] { throw std::runtime_error(refusal.toStdString()); });  // told once, then the run goes on
        g.act([&] { templatePath = privateTemplate(bytes); });
    }
    return templatePath;
}

// Select a cell, then type into it: two numbered steps from `line`, select then type.
void typePiece(app::Guard& g, int& line, const ObjectPtr& word, const meeting::TemplateCell& at,
               const std::function<QString()>& text, qint16 points, bool caps)
{
    g.step(line, [&] { selectCell(word, at.table, at.row, at.cell); });
    g.step(line + 2, [&] { type(word, text(), points, caps); });
    line += 4;
}

// Steps 118 to 156.
void typeHeader(app::Guard& g, const ObjectPtr& word, const GenerationHost& host)
{
    int line = 118;
    for (const Field f : kHeader) {
        const meeting::FieldFacts& field = meeting::facts(f);
        if (field.kind == meeting::FieldKind::DateTime) {
            typePiece(
                g, line, word, field.cell, [&] { return meetingDateText(host.meetingDateTime()); }, field.points,
                field.caps);
            typePiece(
                g, line, word, field.timeCell, [&] { return meetingTimeText(host.meetingDateTime()); }, field.points,
                field.caps);
        } else {
            typePiece(
                g, line, word, field.cell, [&] { return typedText(host, f, 0); }, field.points, field.caps);
        }
    }
}

// Steps 162 to 172: the template's own topic block copied below the last row of the table.
void copyTopicBlock(app::Guard& g, const ObjectPtr& word)
{
    g.step(162, [&] { call(row(word, 1, kFirstTopicRow), QStringLiteral("Select")); });
    ObjectPtr sel;
    g.step(164, [&] { sel = selection(word); });
    g.step(166, [&] {
        call(sel, QStringLiteral("MoveDown"),
             {named(QStringLiteral("Unit"), word::wdLine), named(QStringLiteral("count"), qint32(10)),
              named(QStringLiteral("Extend"), word::wdExtend)});
    });
    g.step(168, [&] { call(selection(word), QStringLiteral("Copy")); });
    g.step(170, [&] {
        const ObjectPtr rows =
            get(get(get(word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("Tables"), {qint32(1)})
                    .toObject(),
                QStringLiteral("Rows"))
                .toObject();
        call(row(word, 1, get(rows, QStringLiteral("count")).toLong()), QStringLiteral("Select"));
    });
    g.step(172, [&] { call(selection(word), QStringLiteral("Paste")); });
}

// Steps 174 to 250: topic `topic` typed into the block that starts at `intRow`,
// which is left at the first row after the block.
void typeTopic(app::Guard& g, const ObjectPtr& word, const GenerationHost& host, int topic, qint16& intRow)
{
    // Each cell selected, then typed; the row moves on in between.
    int line = 174;
    int templateRow = kFirstTopicRow;  // the row of the template's own topic that intRow stands for
    auto next = [&](int rows) {
        g.step(line, [&] { intRow = static_cast<qint16>(intRow + rows); });
        line += 2;
        templateRow += rows;
    };
    for (const Field f : kTopicBlock) {
        const meeting::FieldFacts& field = meeting::facts(f);
        if (field.cell.row != templateRow)
            next(field.cell.row - templateRow);
        const int at = intRow;
        g.step(line, [&] { selectCell(word, field.cell.table, at, field.cell.cell); });
        g.step(line + 2, [&] { type(word, typedText(host, f, topic), field.points, field.caps); });
        line += 4;
    }
    next(kFirstTopicRow + kTopicRows - templateRow);
}

// Steps 158 to 250: each topic after the first is typed into a copy of the template's own.
void typeTopics(app::Guard& g, const ObjectPtr& word, const GenerationHost& host, qint16& intRow)
{
    g.step(158);
    const int last = host.lastTopicIndex();  // the bound is read once
    for (int i = 0; i <= last; ++i) {
        g.step(160);
        if (i > 0)
            copyTopicBlock(g, word);
        typeTopic(g, word, host, i, intRow);
    }
}

// Steps 252 to 262.
void typeFooter(app::Guard& g, const ObjectPtr& word, const GenerationHost& host)
{
    int line = 252;
    for (const Field f : kFooter) {
        const meeting::FieldFacts& field = meeting::facts(f);
        typePiece(
            g, line, word, field.cell, [&] { return typedText(host, f, 0); }, field.points, field.caps);
    }
}

// Steps 264 to 278: a fresh name, "kvarne", eight digits 1 to 9, ".doc", drawn
// again while taken, and held for this run.
QString claimDocumentName(app::Guard& g)
{
    QString strDocFile;
    for (;;) {
        g.step(264, [&] { strDocFile = QStringLiteral("kvarne"); });
        for (int k = 0; k < 8; ++k) {
            g.step(268, [] {
                const QTime t = app::clock::now().time();
                app::random::Randomize(t.msecsSinceStartOfDay() / 1000.0);
            });
            int d = 1;
            g.step(270, [&] { d = static_cast<int>(std::floor(app::random::Rnd() * 9)) + 1; });
            g.step(272, [&] { strDocFile += QString::number(d); });
        }
        g.step(276, [&] {
            strDocFile = app::joinPath(app::environment::documentFolder(), strDocFile + QStringLiteral(".doc"));
        });
        g.step(278);
        bool taken = false;
        g.act([&] { taken = !reserveName(strDocFile); });
        if (!taken)
            return strDocFile;
    }
}

// Steps 280 to 290: the document saved under its name, and the word processor let go.
void saveAndQuit(app::Guard& g, ObjectPtr& word, ObjectPtr& doc, const QString& strDocFile)
{
    g.step(280, [&] { call(doc, QStringLiteral("SaveAs"), {strDocFile}); });
    g.step(282, [&] { put(word, QStringLiteral("DisplayAlerts"), false); });
    g.step(284, [&] { call(doc, QStringLiteral("Close")); });
    g.step(286, [&] { call(word, QStringLiteral("quit")); });
    g.step(288, [&] { doc.reset(); });
    g.step(290, [&] { word.reset(); });
}

// Steps 292 to 306: the saved document rendered into the preview, which shows
// its first page in place of the entry window.
void showDocument(app::Guard& g, GenerationHost& host, const QString& strDocFile)
{
    g.step(292, [&] { host.preview().clearPages(); });
    int pages = 0;
    g.step(294, [&] { pages = SaveDocAsJPG(host, strDocFile); });
    g.step(296, [&] { host.setMousePointer(ui::vbDefault); });
    g.step(298);
    if (g.test([&] { return pages > 0; }))
        g.step(300, [&] { host.preview().showImage(0); });
    g.step(302, [&] { host.preview().setWordFile(strDocFile); });
    g.act([&] { host.preview().setDocumentTitle(host.text(Field::txtTitle)); });
    g.step(304, [&] { host.preview().showPreview(); });
    g.step(306, [&] { host.hideWindow(); });
}

}  // namespace

void fillTemplate(GenerationHost& host)
{
    app::Guard g(app::label::Form1_PushButton22_Click);
    g.step(100);
    if (host.runUnderWay())
        return;  // a click during a run does nothing
    g.step(102, [&] { host.beginRun(); });
    qint16 intRow = 0;
    g.step(104, [&] { intRow = kFirstTopicRow; });
    g.step(106, [&] { host.allowRepaint(false); });
    g.step(108, [&] { host.setMousePointer(ui::vbHourglass); });
    ObjectPtr word, doc;
    g.step(110, [&] { word = automation::CreateObject(QStringLiteral("Word.Application")); });
    QByteArray bytes;
    g.step(112, [&] { bytes = app::LoadResData(101, QStringLiteral("CUSTOM")); });
    const QString templatePath = writeTemplate(g, bytes);
    g.step(116, [&] {
        doc = call(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"),
                   {templatePath, automation::omitted(), true})
                  .toObject();
    });
    typeHeader(g, word, host);
    typeTopics(g, word, host, intRow);
    typeFooter(g, word, host);
    const QString strDocFile = claimDocumentName(g);
    saveAndQuit(g, word, doc, strDocFile);
    showDocument(g, host, strDocFile);
    g.step(310, [&] { host.allowRepaint(true); });
    g.step(312, [&] { app::RemoveFile(templatePath); });
    g.step(314, [&] { host.endRun(); });
}

}  // namespace docgen
