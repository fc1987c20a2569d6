#include "framework/DataExchange.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace framework {
namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string ReadText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) {
        return {};
    }
    std::vector<WCHAR> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()));
    return std::u16string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

} // namespace

std::optional<int> ParseInteger(std::u16string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    const std::size_t digitsStart = at;
    // Beyond 32 bits already; kept well inside 64 bits while digits go on.
    constexpr std::int64_t kLimit = std::int64_t{1} << 32;
    std::int64_t magnitude = 0;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
        magnitude = magnitude * 10 + (text[at] - u'0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
        ++at;
    }
    if (at == digitsStart) {
        return std::nullopt;
    }
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

HWND DataExchange::Control(int id) {
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        Fail(dialog);
    }
    return control;
}

void DataExchange::Fail(HWND control) {
    if (failedControl == nullptr) {
        failedControl = control;
    }
}

void DataExchange::Text(int id, std::u16string& value) {
    const HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    if (direction == Direction::ToControls) {
        SetWindowTextW(control, value.c_str());
    } else if (Storing()) {
        value = ReadText(control);
    }
}

void DataExchange::Integer(int id, int& value) {
    const HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    if (direction == Direction::ToControls) {
        SetWindowTextW(control, text::FromInt(value).c_str());
        return;
    }
    const auto read = ParseInteger(ReadText(control));
    if (!read) {
        Fail(control);
    } else if (Storing()) {
        value = *read;
    }
}

void DataExchange::Check(int id, int& value) {
    const HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    if (direction == Direction::ToControls) {
        if (value < static_cast<int>(BST_UNCHECKED) ||
            value > static_cast<int>(BST_INDETERMINATE)) {
            value = BST_UNCHECKED;
        }
        SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    } else if (Storing()) {
        value = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
    }
}

void DataExchange::ListIndex(int id, int& value) {
    const HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    if (direction == Direction::ToControls) {
        SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
    } else if (Storing()) {
        value = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
    }
}

void DataExchange::ComboIndex(int id, int& value) {
    const HWND control = Control(id);
    if (control == nullptr) {
        return;
    }
    if (direction == Direction::ToControls) {
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    } else if (Storing()) {
        value = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    }
}

} // namespace framework
