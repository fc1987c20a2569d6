// A dialog template's bytes, as a damaged program file would carry them: the
// reader gives a template or an error, never a read past the resource.
#include "platform/ResourceFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)res::ParseDialogTemplate({reinterpret_cast<const std::byte*>(data), size});
    return 0;
}
