#pragma once

#include <vector>

namespace entry {

// Controls of one name told apart by an index from 0, as the topic panel's
// controls are: readers loop from 0 to UBound().
template <class T> class ControlArray {
public:
    void add(T* control) { mItems.push_back(control); }
    void removeLast() { mItems.pop_back(); }
    T* operator[](int index) const { return mItems.at(static_cast<size_t>(index)); }
    T* operator->() const { return mItems.at(0); }
    int UBound() const { return static_cast<int>(mItems.size()) - 1; }

private:
    std::vector<T*> mItems;
};

}  // namespace entry
