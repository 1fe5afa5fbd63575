#pragma once

#include "platform/Picture.h"

#include <vector>

namespace preview {

// The preview's pictures, none of them on screen: one per page as document
// generation renders them, and the holder, the page on show at its natural
// size, from which every zoom is drawn. Element 0 always exists; higher ones
// are created on demand and kept from one run to the next.
class PageStore {
public:
    PageStore() : mPages(1) {}

    int count() const { return static_cast<int>(mPages.size()); }
    bool has(int index) const { return index >= 0 && index < count(); }
    // Creates the elements up to `index`; one that exists is left as it is.
    void load(int index);
    // Both throw std::out_of_range for an element that does not exist.
    const platform::Picture& picture(int index) const;
    void setPicture(int index, const platform::Picture& picture);

    // An empty holder paints as a white page.
    const platform::Picture& holder() const { return mHolder; }
    void setHolder(const platform::Picture& picture) { mHolder = picture; }

private:
    std::vector<platform::Picture> mPages;
    platform::Picture mHolder;
};

}  // namespace preview
