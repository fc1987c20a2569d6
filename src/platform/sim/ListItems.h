// The items of a list box, and of a combo box's list: texts with their data,
// kept sorted or in the order given, with the current item, the selection of
// a multiple-selection list and the first visible item.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

namespace sim {

struct ListItem {
    std::u16string text;
    LPARAM data = 0;
    // Only multiple-selection lists select items one by one.
    bool selected = false;
};

class ListItems {
public:
    explicit ListItems(bool sorted) : sorted(sorted) {}

    bool Sorted() const { return sorted; }
    int Count() const { return static_cast<int>(items.size()); }
    const ListItem* At(int index) const;
    ListItem* At(int index);

    // Adds at its sorted place (after equal texts) or at the end; returns the
    // index it got.
    int Add(std::u16string text);
    // Inserts before index, or at the end for -1, even in a sorted list (as
    // Win32 does); -1 when index is past the end.
    int Insert(int index, std::u16string text);
    // Returns the count left, or -1 when there is no such item.
    int Remove(int index);
    void Clear();

    // The first item after `after` (-1: from the start) whose text begins with
    // prefix, or equals text, ignoring letter case; the search wraps round to
    // the start. -1 when none does.
    int FindPrefix(int after, std::u16string_view prefix) const;
    int FindExact(int after, std::u16string_view text) const;

    // The current item: the selection of a single-selection list, the caret
    // (focus) item of a multiple-selection one. -1 for none.
    int Current() const { return current; }
    // -1 clears it; false (and nothing changes) for an index out of range.
    bool SetCurrent(int index);

    int SelectedCount() const;

    // The first visible item, kept within the items.
    int Top() const { return top; }
    void SetTop(int index);
    // Scrolls so that index is among `visible` rows from the top.
    void EnsureVisible(int index, int visible);

private:
    int Find(int after, std::u16string_view text, bool whole) const;
    // Keeps current and top right after an item came in at index.
    void ItemInserted(int index);

    bool sorted;
    std::vector<ListItem> items;
    int current = -1;
    int top = 0;
};

// Compares list texts the way a sorted list orders them: letters without
// regard to case, then code unit by code unit. Negative, zero or positive.
int CompareListText(std::u16string_view a, std::u16string_view b);

} // namespace sim
