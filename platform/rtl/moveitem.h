// platform/rtl/moveitem.h: moving one item of a list's vector to another index, the items
// between shifting up or down by one, as the lists' Move and a collection item's Index do.
#pragma once

#include <algorithm>
#include <vector>

// Both indexes must be valid.
template <class T>
void MoveItem(std::vector<T>& Items, int CurIndex, int NewIndex)
{
    auto Cur = Items.begin() + CurIndex;
    auto New = Items.begin() + NewIndex;
    if (CurIndex < NewIndex)
        std::rotate(Cur, Cur + 1, New + 1);
    else
        std::rotate(New, Cur, Cur + 1);
}
