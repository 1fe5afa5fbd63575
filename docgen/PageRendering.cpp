#include "docgen/PageRendering.h"

#include "app/Environment.h"
#include "app/Files.h"
#include "app/Guard.h"
#include "app/Labels.h"
#include "automation/Registry.h"
#include "automation/WordConstants.h"
#include "docgen/Clipboard.h"
#include "docgen/FormattedText.h"
#include "docgen/GenerationHost.h"
#include "docgen/PreviewPort.h"
#include "platform/SafeFile.h"
#include "ui/Pointer.h"

#include <QFile>
#include <QFileInfo>

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
using automation::Value;

namespace {

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
    return platform::Picture::load(platform::readWrittenFile(path, *written, platform::Picture::kLargestFileBytes));
}

Value word16(qint32 v) { return Value(static_cast<qint16>(v)); }

// Each page copied is deleted from the top, so the next one is always the second.
constexpr qint32 kSecondPage = 2;

// What one rendering carries from page to page.
struct Rendering {
    ObjectPtr word, doc;
    qint32 pageCount = 0;
    qint32 pagesDone = 0;
    qint32 pageNumber = 0;
    bool done = false;
    QString tempPicture;
    std::optional<platform::FileIdentity> written;  // the picture file as this run wrote it
    int pagesAdded = 0;  // to the preview's page list
};

// Steps 116 to 122: the document opened, laid out, and its pages counted.
void openDocument(app::Guard& g, Rendering& r, const QString& inFile)
{
    g.step(116, [&] { r.word = automation::CreateObject(QStringLiteral("Word.Application")); });
    g.step(118, [&] {
        r.doc = call(get(r.word, QStringLiteral("Documents")).toObject(), QStringLiteral("Open"), {inFile}).toObject();
    });
    g.step(120, [&] { call(get(r.word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("Repaginate")); });
    g.step(122, [&] {
        r.pageCount = get(get(r.word, QStringLiteral("ActiveDocument")).toObject(),
                          QStringLiteral("BuiltInDocumentProperties"), {qint16(word::wdPropertyPages)})
                          .toLong();
    });
}

// Steps 130 to 146: the document, whose first page is the next, copied as a
// picture; then that page cut away, or, when it is the last, the rest selected.
void copyNextPage(app::Guard& g, GenerationHost& host, Rendering& r)
{
    g.step(130, [&] { host.setMousePointer(ui::vbHourglass); });
    g.step(132, [&] { call(call(r.doc, QStringLiteral("Range")).toObject(), QStringLiteral("CopyAsPicture")); });
    g.step(134, [&] { ++r.pageNumber; });
    g.step(136);
    if (g.test([&] { return r.pageCount - r.pagesDone <= 1; })) {
        g.step(138, [&] { r.done = true; });
        g.step(140, [&] {
            call(selection(r.word), QStringLiteral("EndKey"),
                 {named(QStringLiteral("Unit"), word16(word::wdStory)),
                  named(QStringLiteral("Extend"), word16(word::wdExtend))});
        });
    } else {
        g.step(142, [&] {
            call(selection(r.word), QStringLiteral("GoTo"),
                 {named(QStringLiteral("What"), word16(word::wdGoToPage)),
                  named(QStringLiteral("Which"), word16(word::wdGoToNext)),
                  named(QStringLiteral("Name"), word16(kSecondPage))});
        });
        g.step(144, [&] {
            call(selection(r.word), QStringLiteral("HomeKey"),
                 {named(QStringLiteral("Unit"), word16(word::wdStory)),
                  named(QStringLiteral("Extend"), word16(word::wdExtend))});
        });
        g.step(146, [&] {
            call(selection(r.word), QStringLiteral("Delete"),
                 {named(QStringLiteral("Unit"), word16(word::wdCharacter)), named(QStringLiteral("count"), word16(1))});
        });
    }
}

// Step 148: the clipboard's picture written to the picture file.
void savePicture(app::Guard& g, Rendering& r)
{
    g.step(148);
    QString refused;
    g.act([&] {
        r.written.reset();
        const platform::Picture picture = GetClipboardPicture(0);
        if (picture.isNull())
            throw std::runtime_error("Invalid picture: the clipboard gave no picture to save");
        const QByteArray bytes = picture.save();
        try {
            r.written = writePictureFile(bytes, r.tempPicture);
        } catch (const ForeignName& e) {
            refused = QString::fromStdString(e.what());
            r.tempPicture = app::joinPath(app::environment::privateTempFolder(), QStringLiteral("temp.bmp"));
            r.written = writePictureFile(bytes, r.tempPicture);
        }
    });
    if (!refused.isEmpty())
        g.act([&] { throw std::runtime_error(refused.toStdString()); });
}

// Steps 150 to 158: the page's entry in the page list, and its picture read back.
void addPageToPreview(app::Guard& g, GenerationHost& host, Rendering& r)
{
    g.step(150, [&] {
        host.preview().addPage(QStringLiteral("Page %1").arg(r.pageNumber));
        ++r.pagesAdded;
    });
    g.step(152);
    if (r.pageNumber == 1) {
        g.step(154, [&] { host.preview().setImagePicture(0, loadPictureFile(r.tempPicture, r.written)); });
    } else {
        g.step(156, [&] {
            if (!host.preview().hasImage(r.pageNumber - 1))
                host.preview().loadImage(r.pageNumber - 1);
        });
        g.step(158,
               [&] { host.preview().setImagePicture(r.pageNumber - 1, loadPictureFile(r.tempPicture, r.written)); });
    }
}

}  // namespace

int SaveDocAsJPG(GenerationHost& host, const QString& inFile)
{
    app::Guard g(app::label::Form1_SaveDocAsJPG);
    Rendering r;
    openDocument(g, r, inFile);
    host.reportProgress(0, r.pageCount);
    g.step(124, [&] { r.done = false; });
    g.step(126, [&] { r.pageNumber = 0; });
    // Beside the document: where the run found it safe to keep its files.
    r.tempPicture = app::joinPath(QFileInfo(inFile).absolutePath(), QStringLiteral("temp.bmp"));
    g.step(128);
    while (!r.done) {
        copyNextPage(g, host, r);
        savePicture(g, r);
        addPageToPreview(g, host, r);
        g.step(162, [&] { app::RemoveFile(r.tempPicture); });
        g.step(164, [&] { ++r.pagesDone; });
        host.reportProgress(r.pagesDone, r.pageCount);
    }
    host.endProgress();
    g.step(166, [&] {
        call(get(r.word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("Close"),
             {named(QStringLiteral("savechanges"), word16(word::wdDoNotSaveChanges))});
    });
    g.step(168, [&] { call(r.word, QStringLiteral("quit")); });
    return r.pagesAdded;
}

}  // namespace docgen
