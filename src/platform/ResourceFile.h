// The resources of a program, in the binary .res form that the resource
// compiler writes and the program carries: a sequence of entries, each a header
// (data size, header size, type, name, flags, language) and its data, every
// entry aligned to 4 bytes.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "platform/Result.h"
#include "platform/WinTypes.h"

namespace res {

// Resource types, as Win32 numbers them.
constexpr WORD RT_CURSOR = 1;
constexpr WORD RT_BITMAP = 2;
constexpr WORD RT_ICON = 3;
constexpr WORD RT_MENU = 4;
constexpr WORD RT_DIALOG = 5;
constexpr WORD RT_STRING = 6;
constexpr WORD RT_ACCELERATOR = 9;
constexpr WORD RT_RCDATA = 10;
constexpr WORD RT_GROUP_ICON = 14;
constexpr WORD RT_TOOLBAR = 241;

// A resource type or name: a number, or a text compared without regard to case.
class ResourceId {
public:
    ResourceId(WORD number) : value(number) {}
    ResourceId(std::u16string name) : value(std::move(name)) {}
    // A Win32 name argument: a number made by MAKEINTRESOURCEW, or a string.
    static ResourceId FromName(LPCWSTR name);

    bool IsNumber() const { return value.index() == 0; }
    WORD Number() const { return std::get<0>(value); }
    const std::u16string& Name() const { return std::get<1>(value); }

    bool operator==(const ResourceId& other) const;

private:
    std::variant<WORD, std::u16string> value;
};

struct ResourceEntry {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    // Borrowed from the bytes the ResourceFile was parsed from.
    std::span<const std::byte> data;
};

class ResourceFile {
public:
    // Reads every entry. The bytes must outlive the ResourceFile.
    static Result<ResourceFile> Parse(std::span<const std::byte> bytes);

    // The first entry of that type and name, whatever its language.
    const ResourceEntry* Find(const ResourceId& type, const ResourceId& name) const;
    const std::vector<ResourceEntry>& Entries() const { return entries; }

private:
    std::vector<ResourceEntry> entries;
};

} // namespace res
