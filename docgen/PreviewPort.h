#pragma once

#include "platform/Picture.h"

#include <QString>

namespace docgen {

// What document generation reaches of the preview window: the page list, the
// page pictures, the page on show, the document's path and title, and showing it.
class PreviewPort {
public:
    virtual ~PreviewPort() = default;
    virtual void clearPages() = 0;
    virtual void addPage(const QString& text) = 0;
    // Image elements: element 0 always exists; higher ones are created on demand.
    virtual bool hasImage(int index) const = 0;
    virtual void loadImage(int index) = 0;
    virtual const platform::Picture& imagePicture(int index) const = 0;
    virtual void setImagePicture(int index, platform::Picture picture) = 0;
    // The canvas shows image element `index` at its own size.
    virtual void showImage(int index) = 0;
    virtual void setWordFile(const QString& path) = 0;
    // The meeting's title, which the document's exports carry as their own.
    virtual void setDocumentTitle(const QString& title) = 0;
    virtual void showPreview() = 0;
};

}  // namespace docgen
