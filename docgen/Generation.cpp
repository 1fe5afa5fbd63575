#include "docgen/Generation.h"

#include "app/Clock.h"
#include "app/Environment.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "app/Pointer.h"
#include "app/Random.h"
#include "app/Resources.h"
#include "app/Shared.h"
#include "automation/Registry.h"
#include "automation/WordConstants.h"
#include "docgen/FormattedText.h"
#include "docgen/PreviewPort.h"
#include "meeting/DateText.h"
#include "platform/SafeFile.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

#include <cerrno>
#include <cmath>
#include <optional>
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

ClipboardRead gClipboardRead;

platform::Picture systemClipboardRead(qint32)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        throw std::runtime_error("The clipboard holds nothing");
    if (data->hasFormat(QLatin1String(platform::Picture::kMimeType)))
        return platform::Picture::load(data->data(QLatin1String(platform::Picture::kMimeType)));
    if (data->hasImage())
        return platform::Picture::fromImage(qvariant_cast<QImage>(data->imageData()));
    throw std::runtime_error("The clipboard holds no picture");
}

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

ObjectPtr selection(const ObjectPtr& word)
{
    return get(get(word, QStringLiteral("Application")).toObject(), QStringLiteral("Selection")).toObject();
}

void type(const ObjectPtr& word, const QString& text, qint16 size, bool caps)
{
    setFont(word, text, size, QStringLiteral("Tahoma"), 0, caps, false);
}

// Why a template found in the temporary folder must not be opened; empty
// when it may be. Another user can plant a file there (or keep the right to
// change one), and the minutes would carry their text: only an ordinary file
// of the user's own that nobody else can change or swap is used.
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
    struct stat folder {};
    const QString folderPath = QFileInfo(path).absolutePath();
    if (why.isEmpty() && ::stat(QFile::encodeName(folderPath).constData(), &folder) == 0 && folder.st_uid != ::geteuid()
        && (folder.st_mode & 022) && !(folder.st_mode & S_ISVTX))
        why = QStringLiteral("is in a folder where other users can replace it");
    if (why.isEmpty())
        return why;
    return QStringLiteral("The template file '%1' %2, so it was not used. A fresh copy of the template, kept in "
                          "your private folder '%3', is used instead.")
        .arg(path, why, app::environment::privateTempFolder());
}

// A fresh template in the private per-user folder.
QString privateTemplate(const QByteArray& bytes)
{
    const QString path = app::joinPath(app::environment::privateTempFolder(), QStringLiteral("template.dot"));
    QFile::remove(path);  // only ever one of ours in that folder
    app::WriteBytesToFile(bytes, path);
    return path;
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

// The picture file's name held by another user's file.
struct ForeignName : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Writes a page's picture under `path`, new and private, after any leftover
// of ours under that name is removed.
platform::FileIdentity writePictureFile(const QByteArray& bytes, const QString& path)
{
    QFile::remove(path);
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && st.st_uid != ::geteuid())
        throw ForeignName(QStringLiteral("The picture file '%1' belongs to another user, so it was not used. Pictures "
                                         "of pages are kept in your private folder '%2' instead.")
                              .arg(path, app::environment::privateTempFolder())
                              .toStdString());
    return platform::writeNewFile(path, bytes, 0600);
}

// Reads back the picture this run wrote: never whatever else now has its name
// (a link to a device, a FIFO that would block, a file of another user).
platform::Picture loadPictureFile(const QString& path, const std::optional<platform::FileIdentity>& written)
{
    if (!written)
        throw std::runtime_error(
            QStringLiteral("Can't load the picture '%1': no picture was saved there").arg(path).toStdString());
    return platform::Picture::load(platform::readWrittenFile(path, *written, 256ll << 20));
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
    const automation::Value v = app::NullToDefault(value ? Value(*value) : Value::null(), Value(QString()));
    return v.kind() == automation::Kind::Date ? meeting::dateToText(v.toDateTime()) : v.toString();
}

void setClipboardRead(ClipboardRead read) { gClipboardRead = std::move(read); }

platform::Picture GetClipboardPicture(qint32 format)
{
    const ClipboardRead& read = gClipboardRead ? gClipboardRead : ClipboardRead(systemClipboardRead);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        try {
            return read(format);
        } catch (...) {
            // Another program may hold the clipboard: try again at once.
        }
    }
    return platform::Picture();
}

void fillTemplate(GenerationHost& host)
{
    app::Guard g(app::label::Form1_PushButton22_Click);
    g.step(100);
    if (host.busy())
        return;  // a click during a run does nothing
    g.step(102, [&] { host.busy() = true; });
    qint16 intRow = 0;
    g.step(104, [&] { intRow = 12; });
    g.step(106, [&] { host.allowRepaint(false); });
    g.step(108, [&] { host.setMousePointer(app::vbHourglass); });
    ObjectPtr word, doc;
    g.step(110, [&] { word = automation::CreateObject(QStringLiteral("Word.Application")); });
    QByteArray bytes;
    g.step(112, [&] { bytes = app::LoadResData(101, QStringLiteral("CUSTOM")); });
    QString templatePath;
    g.step(114);
    if (g.test([&] {
            templatePath = app::joinPath(app::environment::tempFolder(), QStringLiteral("template.dot"));
            return !app::FileExists(templatePath);
        })) {
        g.act([&] { app::WriteBytesToFile(bytes, templatePath); });
    } else if (const QString refusal = templateRefusal(templatePath); !refusal.isEmpty()) {
        g.act([&] { throw std::runtime_error(refusal.toStdString()); });  // told once, then the run goes on
        g.act([&] { templatePath = privateTemplate(bytes); });
    }
    g.step(116, [&] {
        doc = call(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"),
                   {templatePath, automation::omitted(), true})
                  .toObject();
    });

    // Select a cell, then type into it: two numbered steps, select then type.
    int line = 118;
    auto piece = [&](int table, int r, int cell, const std::function<QString()>& text, qint16 size, bool caps) {
        g.step(line, [&] { selectCell(word, table, r, cell); });
        g.step(line + 2, [&] { type(word, text(), size, caps); });
        line += 4;
    };
    auto field = [&](Field f, int topic = 0) { return [&host, f, topic] { return host.text(f, topic); }; };
    piece(1, 1, 1, field(Field::txtTitle), 20, false);
    piece(
        1, 2, 2, [&] { return meetingDateText(host.meetingDateTime()); }, 8, true);
    piece(
        1, 2, 3, [&] { return meetingTimeText(host.meetingDateTime()); }, 8, true);
    piece(1, 2, 4, field(Field::txtMeetingLocation), 8, true);
    int r = 4;
    for (Field f : {Field::txtMeetingCalledBy, Field::txtTypeOfMeeting, Field::txtFacilitator, Field::txtNoteTaker,
                    Field::txtTimekeeper, Field::txtAttendees})
        piece(1, r++, 2, field(f), 8, false);

    g.step(158);
    const int last = host.lastTopicIndex();  // the bound is read once
    for (int i = 0; i <= last; ++i) {
        g.step(160);
        if (i > 0) {
            g.step(162, [&] { call(row(word, 1, 12), QStringLiteral("Select")); });
            ObjectPtr sel;
            g.step(164, [&] { sel = selection(word); });
            g.step(166, [&] {
                call(sel, QStringLiteral("MoveDown"),
                     {named(QStringLiteral("Unit"), word::wdLine), named(QStringLiteral("count"), qint32(10)),
                      named(QStringLiteral("Extend"), word::wdExtend)});
            });
            g.step(168, [&] { call(selection(word), QStringLiteral("Copy")); });
            g.step(170, [&] {
                const ObjectPtr rows = get(get(get(word, QStringLiteral("ActiveDocument")).toObject(),
                                               QStringLiteral("Tables"), {qint32(1)})
                                               .toObject(),
                                           QStringLiteral("Rows"))
                                           .toObject();
                call(row(word, 1, get(rows, QStringLiteral("count")).toLong()), QStringLiteral("Select"));
            });
            g.step(172, [&] { call(selection(word), QStringLiteral("Paste")); });
        }
        // The topic block: each cell selected, then typed; the row moves on in between.
        line = 174;
        auto cell = [&](int c, const std::function<QString()>& text, bool caps) {
            const int at = intRow;
            g.step(line, [&] { selectCell(word, 1, at, c); });
            g.step(line + 2, [&] { type(word, text(), 8, caps); });
            line += 4;
        };
        auto next = [&](int rows) {
            g.step(line, [&] { intRow = static_cast<qint16>(intRow + rows); });
            line += 2;
        };
        cell(1, field(Field::txtTimeAlloted, i), true);
        cell(2, field(Field::txtTopic, i), true);
        cell(3, field(Field::txtPresenter, i), true);
        next(1);
        cell(2, field(Field::txtDiscussion1, i), false);
        next(1);
        cell(1, field(Field::txtDiscussion2, i), false);
        next(1);
        cell(1, field(Field::txtDiscussion3, i), false);
        next(1);
        cell(2, field(Field::txtConclusion1, i), false);
        next(1);
        cell(1, field(Field::txtConclusion2, i), false);
        next(1);
        cell(1, field(Field::txtConclusion3, i), false);
        next(2);
        cell(1, field(Field::txtAction1, i), false);
        cell(2, field(Field::txtPerson1, i), false);
        cell(
            3, [&] { return deadlineText(host.deadline(Field::dtpDeadlin1, i)); }, false);
        next(1);
        cell(1, field(Field::txtAction2, i), false);
        cell(2, field(Field::txtPerson2, i), false);
        cell(
            3, [&] { return deadlineText(host.deadline(Field::dtpDeadline2, i)); }, false);
        next(2);
    }

    line = 252;
    piece(2, 1, 2, field(Field::txtObservers), 8, false);
    piece(2, 2, 2, field(Field::txtResource), 8, false);
    piece(2, 3, 2, field(Field::txtNotes), 8, false);

    // A fresh name: "kvarne", eight digits 1 to 9, ".doc", drawn again while taken.
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
            strDocFile = app::joinPath(app::environment::tempFolder(), strDocFile + QStringLiteral(".doc"));
        });
        g.step(278);
        bool taken = false;
        g.act([&] { taken = !reserveName(strDocFile); });
        if (!taken)
            break;
    }
    g.step(280, [&] { call(doc, QStringLiteral("SaveAs"), {strDocFile}); });
    g.step(282, [&] { put(word, QStringLiteral("DisplayAlerts"), false); });
    g.step(284, [&] { call(doc, QStringLiteral("Close")); });
    g.step(286, [&] { call(word, QStringLiteral("quit")); });
    g.step(288, [&] { doc.reset(); });
    g.step(290, [&] { word.reset(); });

    g.step(292, [&] { host.preview().clearPages(); });
    g.step(294, [&] { SaveDocAsJPG(host, strDocFile); });
    g.step(296, [&] { host.setMousePointer(app::vbDefault); });
    g.step(298);
    if (g.test([&] { return host.preview().pageCount() > 0; }))
        g.step(300, [&] { host.preview().setShownPicture(host.preview().imagePicture(0)); });
    g.step(302, [&] { host.preview().setWordFile(strDocFile); });
    g.step(304, [&] { host.preview().showPreview(); });
    g.step(306, [&] { host.hideWindow(); });
    g.step(310, [&] { host.allowRepaint(true); });
    g.step(312, [&] { app::RemoveFile(templatePath); });
    g.step(314, [&] { host.busy() = false; });
}

void SaveDocAsJPG(GenerationHost& host, const QString& inFile)
{
    app::Guard g(app::label::Form1_SaveDocAsJPG);
    ObjectPtr word, doc;
    g.step(116, [&] { word = automation::CreateObject(QStringLiteral("Word.Application")); });
    g.step(118, [&] {
        doc = call(get(word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"), {inFile}).toObject();
    });
    g.step(120, [&] { call(get(word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("Repaginate")); });
    qint32 pageCount = 0;
    g.step(122, [&] {
        pageCount = get(get(word, QStringLiteral("ActiveDocument")).toObject(),
                        QStringLiteral("BuiltInDocumentProperties"), {qint16(word::wdPropertyPages)})
                        .toLong();
    });
    bool done = false;
    qint32 pagesDone = 0, pageNumber = 0;
    g.step(124, [&] { done = false; });
    g.step(126, [&] { pageNumber = 0; });
    QString tempPicture = [] {
        try {
            return app::joinPath(app::environment::tempFolder(), QStringLiteral("temp.bmp"));
        } catch (...) {
            return QString();  // reported where the file is written
        }
    }();
    std::optional<platform::FileIdentity> written;  // the picture file as this run wrote it
    auto word16 = [](qint32 v) { return Value(static_cast<qint16>(v)); };
    // Each page copied is deleted from the top, so the next one is always the second.
    constexpr qint32 kSecondPage = 2;
    g.step(128);
    while (!done) {
        g.step(130, [&] { host.setMousePointer(app::vbHourglass); });
        g.step(132, [&] { call(call(doc, QStringLiteral("Range")).toObject(), QStringLiteral("CopyAsPicture")); });
        g.step(134, [&] { ++pageNumber; });
        g.step(136);
        if (g.test([&] { return pageCount - pagesDone <= 1; })) {
            g.step(138, [&] { done = true; });
            g.step(140, [&] {
                call(selection(word), QStringLiteral("EndKey"),
                     {named(QStringLiteral("Unit"), word16(word::wdStory)),
                      named(QStringLiteral("Extend"), word16(word::wdExtend))});
            });
        } else {
            g.step(142, [&] {
                call(selection(word), QStringLiteral("GoTo"),
                     {named(QStringLiteral("What"), word16(word::wdGoToPage)),
                      named(QStringLiteral("Which"), word16(word::wdGoToNext)),
                      named(QStringLiteral("Name"), word16(kSecondPage))});
            });
            g.step(144, [&] {
                call(selection(word), QStringLiteral("HomeKey"),
                     {named(QStringLiteral("Unit"), word16(word::wdStory)),
                      named(QStringLiteral("Extend"), word16(word::wdExtend))});
            });
            g.step(146, [&] {
                call(selection(word), QStringLiteral("Delete"),
                     {named(QStringLiteral("Unit"), word16(word::wdCharacter)),
                      named(QStringLiteral("count"), word16(1))});
            });
        }
        g.step(148);
        QString refused;
        g.act([&] {
            written.reset();
            const platform::Picture picture = GetClipboardPicture(0);
            if (picture.isNull())
                throw std::runtime_error("Invalid picture: the clipboard gave no picture to save");
            if (tempPicture.isEmpty())
                app::environment::tempFolder();  // throws with the reason
            const QByteArray bytes = picture.save();
            try {
                written = writePictureFile(bytes, tempPicture);
            } catch (const ForeignName& e) {
                refused = QString::fromStdString(e.what());
                tempPicture = app::joinPath(app::environment::privateTempFolder(), QStringLiteral("temp.bmp"));
                written = writePictureFile(bytes, tempPicture);
            }
        });
        if (!refused.isEmpty())
            g.act([&] { throw std::runtime_error(refused.toStdString()); });
        g.step(150, [&] { host.preview().addPage(QStringLiteral("Page %1").arg(pageNumber)); });
        g.step(152);
        if (pageNumber == 1) {
            g.step(154, [&] { host.preview().setImagePicture(0, loadPictureFile(tempPicture, written)); });
        } else {
            g.step(156, [&] {
                if (!host.preview().hasImage(pageNumber - 1))
                    host.preview().loadImage(pageNumber - 1);
            });
            g.step(158, [&] { host.preview().setImagePicture(pageNumber - 1, loadPictureFile(tempPicture, written)); });
        }
        g.step(162, [&] { app::RemoveFile(tempPicture); });
        g.step(164, [&] { ++pagesDone; });
    }
    g.step(166, [&] {
        call(get(word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("Close"),
             {named(QStringLiteral("savechanges"), word16(word::wdDoNotSaveChanges))});
    });
    g.step(168, [&] { call(word, QStringLiteral("quit")); });
}

}  // namespace docgen
