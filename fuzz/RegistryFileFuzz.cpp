// The device's registry file as a damaged disk or another program may leave
// it: a clean error, or a tree whose text reads back as the same tree.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/sim/RegistryTree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto tree = sim::RegistryTree::Parse(text);
    if (!tree) {
        return 0;
    }
    const std::string written = tree->Serialize();
    const auto reread = sim::RegistryTree::Parse(written);
    if (!reread || !(*reread == *tree)) {
        std::fprintf(stderr, "registry file: the text written does not read back as the tree\n");
        std::abort();
    }
    return 0;
}
