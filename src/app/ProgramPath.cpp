#include "app/ProgramPath.h"

#include <vector>

#include "platform/Program.h"

namespace player {

std::u16string ProgramPath() {
    // A buffer the path fills completely may have been cut: try a larger one.
    for (DWORD size = 512; size <= 32768; size *= 4) {
        std::vector<WCHAR> buffer(size, u'\0');
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size - 1) {
            return std::u16string(buffer.data(), length);
        }
    }
    return {};
}

} // namespace player
