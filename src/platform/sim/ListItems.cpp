#include "platform/sim/ListItems.h"

#include <algorithm>

namespace sim {
namespace {

char16_t Fold(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Fold(text[i]) != Fold(prefix[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

int CompareListText(std::u16string_view a, std::u16string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t x = Fold(a[i]);
        const char16_t y = Fold(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return 0;
}

const ListItem* ListItems::At(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return &items[static_cast<std::size_t>(index)];
}

ListItem* ListItems::At(int index) {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return &items[static_cast<std::size_t>(index)];
}

int ListItems::Add(std::u16string text) {
    if (!sorted) {
        return Insert(-1, std::move(text));
    }
    // After the last item that does not sort after the new one, so that equal
    // texts keep the order they were added in.
    const auto place = std::upper_bound(items.begin(), items.end(), text,
                                        [](const std::u16string& value, const ListItem& item) {
                                            return CompareListText(value, item.text) < 0;
                                        });
    const int index = static_cast<int>(place - items.begin());
    items.insert(place, ListItem{std::move(text)});
    ItemInserted(index);
    return index;
}

int ListItems::Insert(int index, std::u16string text) {
    if (index == -1) {
        index = Count();
    }
    if (index < 0 || index > Count()) {
        return -1;
    }
    items.insert(items.begin() + index, ListItem{std::move(text)});
    ItemInserted(index);
    return index;
}

void ListItems::ItemInserted(int index) {
    if (current >= index) {
        ++current;
    }
}

int ListItems::Remove(int index) {
    if (At(index) == nullptr) {
        return -1;
    }
    items.erase(items.begin() + index);
    if (current == index) {
        current = -1;
    } else if (current > index) {
        --current;
    }
    SetTop(top);
    return Count();
}

void ListItems::Clear() {
    items.clear();
    current = -1;
    top = 0;
}

int ListItems::Find(int after, std::u16string_view text, bool whole) const {
    const int count = Count();
    if (count == 0) {
        return -1;
    }
    // A start outside the items searches the whole list from the top.
    const int start = (after < 0 || after >= count) ? 0 : after + 1;
    for (int step = 0; step < count; ++step) {
        const int index = (start + step) % count;
        const std::u16string& candidate = items[static_cast<std::size_t>(index)].text;
        const bool match =
            whole ? CompareListText(candidate, text) == 0 : StartsWithFolded(candidate, text);
        if (match) {
            return index;
        }
    }
    return -1;
}

int ListItems::FindPrefix(int after, std::u16string_view prefix) const {
    return Find(after, prefix, false);
}

int ListItems::FindExact(int after, std::u16string_view text) const {
    return Find(after, text, true);
}

bool ListItems::SetCurrent(int index) {
    if (index < -1 || index >= Count()) {
        return false;
    }
    current = index;
    return true;
}

int ListItems::SelectedCount() const {
    return static_cast<int>(std::count_if(items.begin(), items.end(),
                                          [](const ListItem& item) { return item.selected; }));
}

void ListItems::SetTop(int index) {
    top = std::clamp(index, 0, std::max(0, Count() - 1));
}

void ListItems::EnsureVisible(int index, int visible) {
    if (index < 0 || index >= Count()) {
        return;
    }
    visible = std::max(1, visible);
    if (index < top) {
        SetTop(index);
    } else if (index >= top + visible) {
        SetTop(index - visible + 1);
    }
}

} // namespace sim
