#include "docgen/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <utility>

#include <stdexcept>

namespace docgen {

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

}  // namespace

ClipboardRead setClipboardRead(ClipboardRead read) { return std::exchange(gClipboardRead, std::move(read)); }

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

}  // namespace docgen
