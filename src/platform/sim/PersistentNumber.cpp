#include "platform/sim/PersistentNumber.h"

#include <charconv>

#include "platform/sim/DurableFile.h"

namespace sim {

PersistentNumber::PersistentNumber(std::filesystem::path folder, std::string name)
    : file(folder / name), name(std::move(name)) {}

std::optional<std::uint64_t> PersistentNumber::Read() const {
    const auto text = ReadWholeFile(file);
    const std::string prefix = name + " ";
    if (!text || !text->starts_with(prefix) || !text->ends_with("\n")) {
        return std::nullopt;
    }
    const char* first = text->data() + prefix.size();
    const char* last = text->data() + text->size() - 1;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) {
        return std::nullopt;
    }
    return value;
}

Result<bool> PersistentNumber::Write(std::uint64_t value) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    const FileLock lock(std::filesystem::path(file) += ".lock", FileLock::Mode::Exclusive);
    if (!lock.Held()) {
        return Error{lock.Problem()};
    }
    return ReplaceFile(file, name + " " + std::to_string(value) + "\n");
}

} // namespace sim
