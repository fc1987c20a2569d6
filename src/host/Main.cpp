// vantrel: runs the player on a simulated Pocket PC.
#include <cstdio>
#include <cstring>

#include "host/Version.h"

namespace {

void PrintUsage(FILE* out) {
    std::fputs("usage: vantrel [OPTIONS] [--] [COMMAND LINE...]\n"
               "  --version   print the version and exit\n"
               "  --help      print this help and exit\n",
               out);
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Vantrel %s\n", host::Version());
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            PrintUsage(stdout);
            return 0;
        }
        std::fprintf(stderr, "vantrel: unknown option '%s'\n", argv[i]);
        PrintUsage(stderr);
        return 2;
    }
    PrintUsage(stdout);
    return 0;
}
