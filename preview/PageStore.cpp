#include "preview/PageStore.h"

#include <stdexcept>

namespace preview {

namespace {
[[noreturn]] void noSuchElement() { throw std::out_of_range("Control array element doesn't exist"); }
}  // namespace

void PageStore::load(int index)
{
    if (index >= count())
        mPages.resize(static_cast<size_t>(index) + 1);
}

const platform::Picture& PageStore::picture(int index) const
{
    if (!has(index))
        noSuchElement();
    return mPages[static_cast<size_t>(index)];
}

void PageStore::setPicture(int index, const platform::Picture& picture)
{
    if (!has(index))
        noSuchElement();
    mPages[static_cast<size_t>(index)] = picture;
}

}  // namespace preview
