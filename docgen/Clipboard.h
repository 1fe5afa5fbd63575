#pragma once

#include "platform/Picture.h"

#include <functional>

namespace docgen {

// The picture the clipboard holds, in up to 1000 tries without waiting; a
// null picture when every try failed.
platform::Picture GetClipboardPicture(qint32 format);

// The clipboard read of one try: throws when the clipboard holds no picture.
// Tests stand their own in; an empty one restores the system clipboard's.
using ClipboardRead = std::function<platform::Picture(qint32)>;
ClipboardRead setClipboardRead(ClipboardRead read);

}  // namespace docgen
