# Writes INPUT as a C++ byte array with an accessor NAMESPACE::SYMBOL() into OUTPUT.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
    "// Generated from ${INPUT}; do not edit.\n"
    "#include <array>\n#include <cstddef>\n#include <span>\n\n"
    "namespace ${NAMESPACE} {\nnamespace {\n"
    "constexpr unsigned char data[${size} + 1] = {\n${bytes}0};\n}\n\n"
    "std::span<const std::byte> ${SYMBOL}() {\n"
    "    return {reinterpret_cast<const std::byte*>(data), ${size}};\n}\n}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
