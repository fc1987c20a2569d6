// Data exchange between a dialog's controls and the members of its object. A
// dialog lists its bindings once, in DoDataExchange, and the same list serves
// both directions:
//     void CMyBox::DoDataExchange(framework::DataExchange& dx) {
//         dx.Integer(1000, lengthFrames);
//         dx.Text(1002, entryText);
//     }
//
// Reading is all or nothing. The framework first reads every binding without
// storing anything; only when all of them read well does it read them again
// into the members. A text that is not a number, in an integer binding, is a
// failed read: no member changes, and the failure names the control, so that
// the dialog can put the focus there and stay open.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

namespace framework {

class DataExchange {
public:
    enum class Direction {
        // Members into the controls.
        ToControls,
        // The controls read and checked; nothing stored.
        Validate,
        // The controls into the members.
        FromControls,
    };

    DataExchange(HWND dialog, Direction direction) : dialog(dialog), direction(direction) {}

    Direction GetDirection() const { return direction; }

    // The control's text.
    void Text(int id, std::u16string& value);
    // A 32-bit integer as the control's text, written as "%d" and "%ld" write
    // it; read back, the text must be a decimal number (see ParseInteger).
    void Integer(int id, int& value);
    // A check box's state: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE. A
    // member outside those three is set to unchecked before it is shown.
    void Check(int id, int& value);
    // The selected index of a list box or of a drop-down (combo box); -1 for no
    // selection. An index without an item shows no selection.
    void ListIndex(int id, int& value);
    void ComboIndex(int id, int& value);

    bool Failed() const { return failedControl != nullptr; }
    // The first control that could not be read (or does not exist: then the
    // dialog itself).
    HWND FailedControl() const { return failedControl; }

private:
    // The control, or null after recording the failure.
    HWND Control(int id);
    void Fail(HWND control);
    bool Storing() const { return direction == Direction::FromControls; }

    HWND dialog;
    Direction direction;
    HWND failedControl = nullptr;
};

// Reads text as a 32-bit decimal integer: blanks, an optional sign, at least
// one digit, blanks, and nothing else. Nothing for any other text, and for a
// number outside the 32-bit range.
std::optional<int> ParseInteger(std::u16string_view text);

} // namespace framework
