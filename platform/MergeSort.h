#pragma once
// A stable merge sort that stays safe whatever the comparison answers. Comparisons written
// by users (a sort event handler, a "smart" order that mixes numbers, dates and text) need
// not be consistent; std::sort and std::stable_sort may then read or write outside the
// range. This sort only ever indexes inside the range and its buffer, makes O(n log n)
// comparisons, and always ends with a permutation of the input.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace ondrex {

// `less(a, b)` answers whether a must come before b. Equal elements keep their order.
template <class T, class Less> void MergeSort(std::vector<T>& items, Less&& less) {
    const std::size_t n = items.size();
    if (n < 2) return;
    // Runs of this length are sorted by insertion first: fewer passes over the buffer.
    constexpr std::size_t kRun = 16;
    for (std::size_t start = 0; start < n; start += kRun) {
        const std::size_t end = std::min(start + kRun, n);
        for (std::size_t i = start + 1; i < end; ++i) {
            T value = std::move(items[i]);
            std::size_t j = i;
            while (j > start && less(value, items[j - 1])) {
                items[j] = std::move(items[j - 1]);
                --j;
            }
            items[j] = std::move(value);
        }
    }
    std::vector<T> buffer(n);
    std::vector<T>* from = &items;
    std::vector<T>* to = &buffer;
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t left = 0; left < n; left += 2 * width) {
            const std::size_t mid = std::min(left + width, n);
            const std::size_t right = std::min(left + 2 * width, n);
            std::size_t i = left, j = mid, k = left;
            while (i < mid && j < right) {
                // Taking from the right only when it is strictly before keeps the sort stable.
                if (less((*from)[j], (*from)[i]))
                    (*to)[k++] = std::move((*from)[j++]);
                else
                    (*to)[k++] = std::move((*from)[i++]);
            }
            while (i < mid) (*to)[k++] = std::move((*from)[i++]);
            while (j < right) (*to)[k++] = std::move((*from)[j++]);
        }
        std::swap(from, to);
    }
    if (from != &items) items = std::move(*from);
}

} // namespace ondrex
