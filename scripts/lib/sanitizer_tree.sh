# Sourced by scripts/test and scripts/fuzz. The sanitizer tree, build-asan/:
# clang with the address and undefined-behaviour sanitizers and libFuzzer's
# coverage, in which the whole test suite and the fuzz targets are built
# from one compilation of the program (so CI builds it under the sanitizers
# once). Optimised lightly, asserts kept, line tables for the reports.
sanitizer_tree=build-asan

# configure_sanitizer_tree [CMAKE OPTIONS...]: configures the tree unless it
# is configured so already (the options count only then). A tree configured
# otherwise (another compiler, no fuzzing) is configured again from scratch.
configure_sanitizer_tree() {
    local cache=$sanitizer_tree/CMakeCache.txt
    if [[ -f $sanitizer_tree/build.ninja ]] && grep -q '^VANTREL_FUZZ:BOOL=ON' "$cache" &&
        grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++' "$cache"; then
        return 0
    fi
    if [[ -f $cache ]]; then
        echo "$sanitizer_tree was configured for another build; configuring it for clang" >&2
        rm -rf "$cache" "$sanitizer_tree/CMakeFiles" "$sanitizer_tree/build.ninja"
    fi
    CC=clang CXX=clang++ cmake -S . -B "$sanitizer_tree" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DVANTREL_FUZZ=ON "$@" >/dev/null
}
