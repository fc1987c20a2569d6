#include "platform/sim/EditBuffer.h"

#include <algorithm>

#include "platform/Text.h"

namespace sim {

void EditBuffer::SetText(std::u16string newText) {
    text = std::move(newText);
    anchor = caret = 0;
    undoAvailable = false;
    modified = false;
}

int EditBuffer::SelectionStart() const {
    return std::min(anchor, caret);
}

int EditBuffer::SelectionEnd() const {
    return std::max(anchor, caret);
}

std::u16string_view EditBuffer::SelectedText() const {
    return std::u16string_view(text).substr(
        static_cast<std::size_t>(SelectionStart()),
        static_cast<std::size_t>(SelectionEnd() - SelectionStart()));
}

void EditBuffer::Select(int newAnchor, int newCaret) {
    anchor = std::clamp(newAnchor, 0, Length());
    caret = std::clamp(newCaret, 0, Length());
}

void EditBuffer::MoveCaret(int to, bool extend) {
    caret = std::clamp(to, 0, Length());
    if (!extend) {
        anchor = caret;
    }
}

void EditBuffer::RememberForUndo() {
    undoText = text;
    undoCaret = caret;
    undoAvailable = true;
}

bool EditBuffer::ReplaceSelection(std::u16string_view insert, bool canUndo, bool& cut) {
    const int start = SelectionStart();
    const int end = SelectionEnd();
    const long room = static_cast<long>(limit) - (Length() - (end - start));
    std::size_t take = insert.size();
    cut = false;
    if (room < static_cast<long>(take)) {
        take = room > 0 ? static_cast<std::size_t>(room) : 0;
        // Never split a surrogate pair at the limit.
        if (take > 0 && text::IsHighSurrogate(insert[take - 1])) {
            --take;
        }
        cut = true;
    }
    if (take == 0 && start == end) {
        return false;
    }
    if (canUndo) {
        RememberForUndo();
    }
    text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start),
                 insert.substr(0, take));
    anchor = caret = start + static_cast<int>(take);
    modified = true;
    return true;
}

void EditBuffer::Erase(int from, int to) {
    RememberForUndo();
    text.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    anchor = caret = from;
    modified = true;
}

bool EditBuffer::DeleteBackward() {
    if (HasSelection()) {
        Erase(SelectionStart(), SelectionEnd());
        return true;
    }
    if (caret == 0) {
        return false;
    }
    int from = caret - 1;
    if (from > 0 && text::IsLowSurrogate(text[static_cast<std::size_t>(from)]) &&
        text::IsHighSurrogate(text[static_cast<std::size_t>(from - 1)])) {
        --from;
    }
    Erase(from, caret);
    return true;
}

bool EditBuffer::DeleteForward() {
    if (HasSelection()) {
        Erase(SelectionStart(), SelectionEnd());
        return true;
    }
    if (caret == Length()) {
        return false;
    }
    int to = caret + 1;
    if (to < Length() && text::IsHighSurrogate(text[static_cast<std::size_t>(caret)]) &&
        text::IsLowSurrogate(text[static_cast<std::size_t>(to)])) {
        ++to;
    }
    Erase(caret, to);
    return true;
}

void EditBuffer::SetLimit(int newLimit) {
    limit = newLimit <= 0 ? kMaximumLimit : newLimit;
}

bool EditBuffer::Undo() {
    if (!undoAvailable) {
        return false;
    }
    std::swap(text, undoText);
    const int previousCaret = caret;
    anchor = caret = std::clamp(undoCaret, 0, Length());
    undoCaret = previousCaret;
    modified = true;
    return true;
}

} // namespace sim
