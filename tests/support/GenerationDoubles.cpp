#include "tests/support/GenerationDoubles.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace testing_support {

void RecordingPreview::clearPages() { pages.clear(); }

void RecordingPreview::addPage(const QString& text)
{
    pages << text;
    if (onAddPage)
        onAddPage();
}

bool RecordingPreview::hasImage(int index) const { return index >= 0 && index < static_cast<int>(images.size()); }

void RecordingPreview::loadImage(int index) { images.resize(std::max(images.size(), static_cast<size_t>(index) + 1)); }

const platform::Picture& RecordingPreview::imagePicture(int index) const
{
    if (!hasImage(index))
        throw std::out_of_range("Control array element doesn't exist");
    return images[static_cast<size_t>(index)];
}

void RecordingPreview::setImagePicture(int index, platform::Picture picture)
{
    if (!hasImage(index))
        throw std::out_of_range("Control array element doesn't exist");
    images[static_cast<size_t>(index)] = std::move(picture);
}

QString RecordingHost::text(meeting::Field f, int topic) const
{
    const auto it = texts.find({f, topic});
    return it == texts.end() ? QString() : it->second;
}

meeting::MaybeDate RecordingHost::deadline(meeting::Field f, int topic) const
{
    const auto it = deadlines.find({f, topic});
    return it == deadlines.end() ? meeting::MaybeDate() : it->second;
}

}  // namespace testing_support
