// platform/rtl/mergesort.h: the sort behind the lists' Sort and CustomSort.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// A bottom-up merge sort: stable, and it stays within the list even when Less is not a
// consistent order (a user's compare function may not be; the library sorts may run past the
// ends then).
template <class T, class LessFn>
void MergeSort(std::vector<T>& Items, LessFn Less)
{
    std::vector<T> Buffer(Items.size());
    for (std::size_t Width = 1; Width < Items.size(); Width *= 2) {
        for (std::size_t Lo = 0; Lo < Items.size(); Lo += 2 * Width) {
            std::size_t Mid = std::min(Lo + Width, Items.size());
            std::size_t Hi = std::min(Lo + 2 * Width, Items.size());
            std::merge(Items.begin() + Lo, Items.begin() + Mid, Items.begin() + Mid,
                       Items.begin() + Hi, Buffer.begin() + Lo, Less);
        }
        Items.swap(Buffer);
    }
}
