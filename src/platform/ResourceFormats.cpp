// String tables, menu templates, accelerator tables, toolbar and menu-bar
// resources.
#include "platform/ResourceFormats.h"

#include "platform/ByteReader.h"

namespace res {
namespace {

// Submenus nest; a damaged template must not recurse without end.
constexpr int maximumMenuDepth = 16;

bool ReadMenuItems(ByteReader& reader, int depth, std::vector<MenuItemTemplate>& out,
                   Error& error) {
    if (depth > maximumMenuDepth) {
        error = reader.Fail("menu nested too deeply");
        return false;
    }
    for (;;) {
        MenuItemTemplate item;
        std::uint16_t flags = 0;
        if (!reader.ReadU16(flags)) {
            error = reader.Fail("truncated menu item");
            return false;
        }
        item.flags = static_cast<WORD>(flags & ~MF_END);
        if ((flags & MF_POPUP) == 0 && !reader.ReadU16(item.id)) {
            error = reader.Fail("truncated menu item id");
            return false;
        }
        if (!reader.ReadString(item.text)) {
            error = reader.Fail("unterminated menu item text");
            return false;
        }
        if ((flags & MF_POPUP) != 0 && !ReadMenuItems(reader, depth + 1, item.children, error)) {
            return false;
        }
        out.push_back(std::move(item));
        if ((flags & MF_END) != 0) {
            return true;
        }
    }
}

} // namespace

Result<std::array<std::u16string, 16>> ParseStringBlock(std::span<const std::byte> data) {
    std::array<std::u16string, 16> strings;
    ByteReader reader(data);
    for (std::u16string& entry : strings) {
        std::uint16_t length = 0;
        if (!reader.ReadU16(length)) {
            return reader.Fail("truncated string table");
        }
        entry.reserve(length);
        for (std::uint16_t i = 0; i < length; ++i) {
            std::uint16_t unit = 0;
            if (!reader.ReadU16(unit)) {
                return reader.Fail("string runs past the end of its table");
            }
            entry += static_cast<char16_t>(unit);
        }
    }
    return strings;
}

Result<std::u16string> LoadString(const ResourceFile& file, UINT id) {
    if (id > 0xFFFF) {
        return std::u16string();
    }
    const ResourceEntry* block = file.Find(RT_STRING, static_cast<WORD>(id / 16 + 1));
    if (block == nullptr) {
        return std::u16string();
    }
    auto strings = ParseStringBlock(block->data);
    if (!strings) {
        return strings.GetError();
    }
    return strings.Value()[id % 16];
}

Result<std::vector<MenuItemTemplate>> ParseMenuTemplate(std::span<const std::byte> data) {
    ByteReader reader(data);
    std::uint16_t version = 0;
    std::uint16_t headerExtra = 0;
    if (!reader.ReadU16(version) || !reader.ReadU16(headerExtra)) {
        return reader.Fail("truncated menu header");
    }
    if (version != 0) {
        return Error{"menu template version " + std::to_string(version) + " is not supported", 0};
    }
    if (!reader.Skip(headerExtra)) {
        return reader.Fail("menu header runs past the end");
    }
    std::vector<MenuItemTemplate> items;
    Error error;
    if (!ReadMenuItems(reader, 0, items, error)) {
        return error;
    }
    return items;
}

Result<std::vector<AcceleratorEntry>> ParseAccelerators(std::span<const std::byte> data) {
    constexpr std::uint16_t lastEntry = 0x80;
    ByteReader reader(data);
    std::vector<AcceleratorEntry> entries;
    for (;;) {
        std::uint16_t flags = 0;
        AcceleratorEntry entry;
        std::uint16_t padding = 0;
        if (!reader.ReadU16(flags) || !reader.ReadU16(entry.key) ||
            !reader.ReadU16(entry.command) || !reader.ReadU16(padding)) {
            return reader.Fail("accelerator table ends without its last entry");
        }
        entry.flags = static_cast<BYTE>(flags & ~lastEntry);
        entries.push_back(entry);
        if ((flags & lastEntry) != 0) {
            return entries;
        }
    }
}

Result<ToolbarTemplate> ParseToolbar(std::span<const std::byte> data) {
    ByteReader reader(data);
    ToolbarTemplate toolbar;
    std::uint16_t count = 0;
    if (!reader.ReadU16(toolbar.version) || !reader.ReadU16(toolbar.imageWidth) ||
        !reader.ReadU16(toolbar.imageHeight) || !reader.ReadU16(count)) {
        return reader.Fail("truncated toolbar header");
    }
    if (toolbar.version != 1) {
        return Error{"toolbar version " + std::to_string(toolbar.version) + " is not supported", 0};
    }
    if (count > reader.Remaining() / 2) {
        return reader.Fail("toolbar has fewer items than it counts");
    }
    toolbar.items.resize(count);
    for (WORD& item : toolbar.items) {
        reader.ReadU16(item);
    }
    return toolbar;
}

Result<MenuBarTemplate> ParseMenuBar(std::span<const std::byte> data) {
    constexpr std::size_t wordsPerButton = 7;
    ByteReader reader(data);
    MenuBarTemplate bar;
    std::uint16_t count = 0;
    if (!reader.ReadU16(bar.menuId) || !reader.ReadU16(count)) {
        return reader.Fail("truncated menu bar header");
    }
    if (count > reader.Remaining() / (2 * wordsPerButton)) {
        return reader.Fail("menu bar has fewer buttons than it counts");
    }
    bar.buttons.resize(count);
    for (MenuBarButton& button : bar.buttons) {
        std::uint16_t reserved = 0;
        reader.ReadI16(button.image);
        reader.ReadU16(button.command);
        reader.ReadU16(button.state);
        reader.ReadU16(button.style);
        reader.ReadU16(button.stringId);
        reader.ReadU16(reserved);
        reader.ReadU16(button.submenu);
    }
    return bar;
}

} // namespace res
