#pragma once
// A stable sort for the toolkit's short lists (a window's children, a list view's rows): an
// insertion sort, a fraction of the code std::stable_sort brings for each element type.
#include <cstddef>
#include <utility>

namespace zq {

template <typename Sequence, typename Less> void StableInsertionSort(Sequence& items, Less less) {
    for (std::size_t i = 1; i < items.size(); ++i)
        for (std::size_t j = i; j > 0 && less(items[j], items[j - 1]); --j)
            std::swap(items[j], items[j - 1]);
}

} // namespace zq
