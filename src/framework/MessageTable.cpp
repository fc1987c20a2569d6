#include "framework/MessageTable.h"

namespace framework {

bool MessageEntry::Matches(const Message& m) const {
    if (m.id != message) {
        return false;
    }
    switch (kind) {
    case Kind::WindowMessage:
        return true;
    case Kind::Command:
    case Kind::CommandRange: {
        const UINT id = LOWORD(m.wParam);
        const UINT sentCode = HIWORD(m.wParam);
        // Code 1 is an accelerator only without a control; from a control it is
        // a notification (LBN_SELCHANGE, CBN_SELCHANGE), not a command.
        const bool isCommand =
            sentCode == kMenuCommandCode || (sentCode == kAcceleratorCommandCode && m.lParam == 0);
        return isCommand && id >= first && id <= last;
    }
    case Kind::ControlNotification:
        return m.lParam != 0 && LOWORD(m.wParam) == first && HIWORD(m.wParam) == code;
    case Kind::Notify: {
        if (m.lParam == 0) {
            return false;
        }
        const auto& header = *reinterpret_cast<const NMHDR*>(m.lParam);
        return header.idFrom == first && header.code == code;
    }
    }
    return false;
}

std::optional<LRESULT> MessageTable::Dispatch(CommandTarget& target, const Message& m) const {
    for (const MessageTable* table = this; table != nullptr; table = table->base) {
        for (const MessageEntry& entry : table->entries) {
            if (!entry.Matches(m)) {
                continue;
            }
            // The handler may end the object's window, but not the object: the
            // framework releases objects only once no handler of theirs runs.
            if (const auto result = entry.Invoke(target, m)) {
                return result;
            }
        }
    }
    return std::nullopt;
}

const MessageTable& CommandTarget::Messages() const {
    static const MessageTable root;
    return root;
}

} // namespace framework
