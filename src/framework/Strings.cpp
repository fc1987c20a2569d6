#include "framework/Strings.h"

#include <array>

#include "platform/Program.h"
#include "platform/Resources.h"

namespace framework {

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

std::u16string LoadString(UINT id) {
    // With no buffer the device hands out the string in place, so a long
    // string is never cut.
    LPCWSTR text = nullptr;
    const int length = LoadStringW(ProgramInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        return {};
    }
    return std::u16string(text, static_cast<std::size_t>(length));
}

std::u16string ModuleBaseName() {
    std::array<WCHAR, 261> buffer{};
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::u16string path(buffer.data(), length < buffer.size() ? length : 0);
    const auto slash = path.find_last_of(u"\\/");
    if (slash != std::u16string::npos) {
        path.erase(0, slash + 1);
    }
    const auto dot = path.find_last_of(u'.');
    if (dot != std::u16string::npos && dot > 0) {
        path.erase(dot);
    }
    return path;
}

} // namespace framework
