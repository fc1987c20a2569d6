// Dialog templates in their standard binary form: a DLGTEMPLATE header, the
// menu, class and title fields, the font when DS_SETFONT is set, then one
// DLGITEMTEMPLATE per control, each starting on a 4-byte boundary.
#include "platform/ByteReader.h"
#include "platform/ResourceFormats.h"

namespace res {
namespace {

// A field that is 0 (nothing), 0xFFFF and a number, or a null-terminated string.
bool ReadNumberOrString(ByteReader& reader, ResourceId& out) {
    std::uint16_t first = 0;
    if (!reader.ReadU16(first)) {
        return false;
    }
    if (first == 0) {
        out = ResourceId(WORD{0});
        return true;
    }
    if (first == 0xFFFF) {
        std::uint16_t number = 0;
        if (!reader.ReadU16(number)) {
            return false;
        }
        out = ResourceId(number);
        return true;
    }
    std::u16string rest;
    if (!reader.ReadString(rest)) {
        return false;
    }
    out = ResourceId(static_cast<char16_t>(first) + rest);
    return true;
}

// An item's text: unlike the other fields, an empty text is a string.
bool ReadItemText(ByteReader& reader, ResourceId& out) {
    if (!ReadNumberOrString(reader, out)) {
        return false;
    }
    if (out.IsNumber() && out.Number() == 0) {
        out = ResourceId(std::u16string());
    }
    return true;
}

bool ReadGeometry(ByteReader& reader, SHORT& x, SHORT& y, SHORT& cx, SHORT& cy) {
    return reader.ReadI16(x) && reader.ReadI16(y) && reader.ReadI16(cx) && reader.ReadI16(cy);
}

} // namespace

Result<DialogTemplate> ParseDialogTemplate(std::span<const std::byte> data) {
    ByteReader reader(data);
    DialogTemplate dialog;
    std::uint16_t itemCount = 0;
    if (!reader.ReadU32(dialog.style) || !reader.ReadU32(dialog.exStyle) ||
        !reader.ReadU16(itemCount) ||
        !ReadGeometry(reader, dialog.x, dialog.y, dialog.cx, dialog.cy)) {
        return reader.Fail("truncated dialog header");
    }
    // The extended form starts with version 1 and signature 0xFFFF.
    if ((dialog.style & 0xFFFF0000u) == 0xFFFF0000u && (dialog.style & 0xFFFF) == 1) {
        return Error{"extended dialog templates are not supported", 0};
    }
    if (!ReadNumberOrString(reader, dialog.menu) ||
        !ReadNumberOrString(reader, dialog.windowClass) || !reader.ReadString(dialog.title)) {
        return reader.Fail("truncated dialog menu, class or title");
    }
    if ((dialog.style & DS_SETFONT) != 0) {
        DialogFont font;
        if (!reader.ReadU16(font.pointSize) || !reader.ReadString(font.face)) {
            return reader.Fail("truncated dialog font");
        }
        dialog.font = std::move(font);
    }
    // Each item takes at least 18 bytes after its alignment; a count that the
    // data cannot hold is a damaged template, not a reason to allocate.
    if (itemCount > reader.Remaining() / 18) {
        return reader.Fail("dialog counts more items than it holds");
    }
    dialog.items.reserve(itemCount);
    for (std::uint16_t i = 0; i < itemCount; ++i) {
        DialogItemTemplate item;
        if (!reader.AlignTo(4) || !reader.ReadU32(item.style) || !reader.ReadU32(item.exStyle) ||
            !ReadGeometry(reader, item.x, item.y, item.cx, item.cy) || !reader.ReadU16(item.id)) {
            return reader.Fail("truncated dialog item " + std::to_string(i));
        }
        if (!ReadNumberOrString(reader, item.windowClass) || !ReadItemText(reader, item.text)) {
            return reader.Fail("truncated class or text of dialog item " + std::to_string(i));
        }
        // The creation data's size word counts itself; 0 means there is none.
        std::uint16_t creationSize = 0;
        if (!reader.ReadU16(creationSize)) {
            return reader.Fail("truncated creation data of dialog item " + std::to_string(i));
        }
        if (creationSize > 0) {
            std::span<const std::byte> creation;
            if (creationSize < 2 || !reader.ReadBytes(creationSize - 2u, creation)) {
                return reader.Fail("creation data of dialog item " + std::to_string(i) +
                                   " runs past the end");
            }
            item.creationData.assign(creation.begin(), creation.end());
        }
        dialog.items.push_back(std::move(item));
    }
    return dialog;
}

} // namespace res
