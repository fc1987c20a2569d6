#include "platform/ResourceFile.h"

#include <algorithm>

#include "platform/ByteReader.h"
#include "platform/Text.h"

namespace res {
namespace {

// A type or name field: 0xFFFF and a number, or a null-terminated string.
bool ReadId(ByteReader& reader, ResourceId& out) {
    std::uint16_t first = 0;
    const std::size_t start = reader.Offset();
    if (!reader.ReadU16(first)) {
        return false;
    }
    if (first == 0xFFFF) {
        std::uint16_t number = 0;
        if (!reader.ReadU16(number)) {
            return false;
        }
        out = ResourceId(number);
        return true;
    }
    std::u16string name;
    if (!reader.Seek(start) || !reader.ReadString(name)) {
        return false;
    }
    out = ResourceId(std::move(name));
    return true;
}

} // namespace

ResourceId ResourceId::FromName(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        return ResourceId(static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
    }
    std::u16string textName = text::FromWide(name);
    // "#128" names resource 128, as Win32 reads it.
    if (textName.size() > 1 && textName.size() <= 6 && textName[0] == u'#' &&
        std::all_of(textName.begin() + 1, textName.end(),
                    [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
        unsigned long number = 0;
        for (std::size_t i = 1; i < textName.size(); ++i) {
            number = number * 10 + (textName[i] - u'0');
        }
        if (number <= 0xFFFF) {
            return ResourceId(static_cast<WORD>(number));
        }
    }
    return ResourceId(std::move(textName));
}

bool ResourceId::operator==(const ResourceId& other) const {
    if (IsNumber() != other.IsNumber()) {
        return false;
    }
    return IsNumber() ? Number() == other.Number() : text::EqualsIgnoringCase(Name(), other.Name());
}

Result<ResourceFile> ResourceFile::Parse(std::span<const std::byte> bytes) {
    ResourceFile file;
    ByteReader reader(bytes);
    while (!reader.AtEnd()) {
        const std::size_t start = reader.Offset();
        std::uint32_t dataSize = 0;
        std::uint32_t headerSize = 0;
        if (!reader.ReadU32(dataSize) || !reader.ReadU32(headerSize)) {
            return reader.Fail("truncated resource header");
        }
        ResourceId type(WORD{0});
        ResourceId name(WORD{0});
        if (!ReadId(reader, type) || !ReadId(reader, name)) {
            return reader.Fail("truncated resource type or name");
        }
        // After the name: alignment, data version, memory flags, language,
        // version and characteristics.
        std::uint32_t dataVersion = 0;
        std::uint16_t memoryFlags = 0;
        std::uint16_t language = 0;
        if (!reader.AlignTo(4) || !reader.ReadU32(dataVersion) || !reader.ReadU16(memoryFlags) ||
            !reader.ReadU16(language)) {
            return reader.Fail("truncated resource header");
        }
        if (headerSize < reader.Offset() - start) {
            return Error{"resource header size smaller than the header", start};
        }
        std::span<const std::byte> data;
        if (!reader.Seek(start + headerSize) || !reader.ReadBytes(dataSize, data)) {
            return Error{"resource data runs past the end", start};
        }
        // The first entry of a .res file is an empty marker.
        const bool marker = dataSize == 0 && type.IsNumber() && type.Number() == 0;
        if (!marker) {
            file.entries.push_back(ResourceEntry{std::move(type), std::move(name), language, data});
        }
        // Entries start on 4-byte boundaries; the last one may end unpadded.
        const std::size_t padding = (4 - reader.Offset() % 4) % 4;
        reader.Skip(std::min(padding, reader.Remaining()));
    }
    return file;
}

const ResourceEntry* ResourceFile::Find(const ResourceId& type, const ResourceId& name) const {
    for (const ResourceEntry& entry : entries) {
        if (entry.type == type && entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace res
