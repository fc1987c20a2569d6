// The text of a single-line edit control and what editing does to it: the
// selection with its anchor and caret, typing over the selection within the
// length limit, deleting, and one level of undo.
#pragma once

#include <string>
#include <string_view>

namespace sim {

class EditBuffer {
public:
    // The limit a new edit control starts with.
    static constexpr int kDefaultLimit = 32767;
    // What a limit of 0 means for a single-line control.
    static constexpr int kMaximumLimit = 0x7FFFFFFE;

    const std::u16string& Text() const { return text; }
    int Length() const { return static_cast<int>(text.size()); }
    // Replaces the whole text (a program's WM_SETTEXT): the caret goes to the
    // start, nothing is selected, undo forgets, and the limit does not apply.
    void SetText(std::u16string newText);

    // The selection as start <= end; the caret is at one of its ends, the
    // anchor at the other.
    int SelectionStart() const;
    int SelectionEnd() const;
    int Caret() const { return caret; }
    bool HasSelection() const { return anchor != caret; }
    std::u16string_view SelectedText() const;
    // Selects from anchor to caret, both kept within the text.
    void Select(int newAnchor, int newCaret);
    // Moves the caret; extend keeps the anchor (a selection grows), otherwise
    // the selection collapses at the new place.
    void MoveCaret(int to, bool extend);

    // Replaces the selection with text, cut to what the limit leaves room
    // for. Returns false when nothing changed; `cut` tells whether the limit
    // cut something off. canUndo records the old text for Undo.
    bool ReplaceSelection(std::u16string_view insert, bool canUndo, bool& cut);
    // Backspace and Delete: the selection if there is one, else one character
    // before or after the caret (a surrogate pair as one).
    bool DeleteBackward();
    bool DeleteForward();

    int Limit() const { return limit; }
    // 0 sets the largest limit. Text already longer stays as it is.
    void SetLimit(int newLimit);

    bool Modified() const { return modified; }
    void SetModified(bool value) { modified = value; }

    bool CanUndo() const { return undoAvailable; }
    // Swaps the text with the one before the last edit (so a second undo
    // redoes it).
    bool Undo();
    void EmptyUndo() { undoAvailable = false; }

private:
    void RememberForUndo();
    void Erase(int from, int to);

    std::u16string text;
    int anchor = 0;
    int caret = 0;
    int limit = kDefaultLimit;
    bool modified = false;
    bool undoAvailable = false;
    std::u16string undoText;
    int undoCaret = 0;
};

} // namespace sim
