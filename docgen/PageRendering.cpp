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
    return platform::Picture::load(platform::readWrittenFile(path, *written, 256ll << 20));
}

}  // namespace

int SaveDocAsJPG(GenerationHost& host, const QString& inFile)
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
    host.reportProgress(0, pageCount);
    bool done = false;
    qint32 pagesDone = 0, pageNumber = 0;
    int pagesAdded = 0;
    g.step(124, [&] { done = false; });
    g.step(126, [&] { pageNumber = 0; });
    // Beside the document: where the run found it safe to keep its files.
    QString tempPicture = app::joinPath(QFileInfo(inFile).absolutePath(), QStringLiteral("temp.bmp"));
    std::optional<platform::FileIdentity> written;  // the picture file as this run wrote it
    auto word16 = [](qint32 v) { return Value(static_cast<qint16>(v)); };
    // Each page copied is deleted from the top, so the next one is always the second.
    constexpr qint32 kSecondPage = 2;
    g.step(128);
    while (!done) {
        g.step(130, [&] { host.setMousePointer(ui::vbHourglass); });
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
        g.step(150, [&] {
            host.preview().addPage(QStringLiteral("Page %1").arg(pageNumber));
            ++pagesAdded;
        });
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
        host.reportProgress(pagesDone, pageCount);
    }
    host.endProgress();
    g.step(166, [&] {
        call(get(word, QStringLiteral("ActiveDocument")).toObject(), QStringLiteral("Close"),
             {named(QStringLiteral("savechanges"), word16(word::wdDoNotSaveChanges))});
    });
    g.step(168, [&] { call(word, QStringLiteral("quit")); });
    return pagesAdded;
}

}  // namespace docgen
