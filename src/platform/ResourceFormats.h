// Readers for the resource formats a program uses: string tables, menu
// templates, dialog templates, accelerator tables, the toolbar and menu-bar
// resources, bitmaps and icons. Each takes the resource's bytes and checks
// every read: a damaged or truncated resource is an Error, never a read out of
// bounds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/ResourceFile.h"
#include "platform/Result.h"
#include "platform/WinTypes.h"

namespace res {

// String tables: strings are stored in blocks of 16; string id n is entry
// n % 16 of block n / 16 + 1 (the resource named n / 16 + 1).
Result<std::array<std::u16string, 16>> ParseStringBlock(std::span<const std::byte> data);
// The string with that id, or an empty string where the table has none.
Result<std::u16string> LoadString(const ResourceFile& file, UINT id);

// Menu templates (the standard form, version 0).
constexpr WORD MF_GRAYED = 0x0001;
constexpr WORD MF_DISABLED = 0x0002;
constexpr WORD MF_CHECKED = 0x0008;
constexpr WORD MF_POPUP = 0x0010;
constexpr WORD MF_MENUBARBREAK = 0x0020;
constexpr WORD MF_MENUBREAK = 0x0040;
constexpr WORD MF_END = 0x0080;
constexpr WORD MF_SEPARATOR = 0x0800;

struct MenuItemTemplate {
    // The item's flags without MF_END; MF_POPUP for a submenu.
    WORD flags = 0;
    // 0 for a separator and for a submenu.
    WORD id = 0;
    std::u16string text;
    std::vector<MenuItemTemplate> children;

    bool IsSeparator() const {
        return (flags & MF_SEPARATOR) != 0 || (!IsPopup() && id == 0 && text.empty());
    }
    bool IsPopup() const { return (flags & MF_POPUP) != 0; }
};
Result<std::vector<MenuItemTemplate>> ParseMenuTemplate(std::span<const std::byte> data);

// Dialog templates (the standard form: DLGTEMPLATE and DLGITEMTEMPLATE).
constexpr DWORD DS_SETFONT = 0x40;

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    // A class number (0x0080 button, 0x0081 edit, 0x0082 static, 0x0083 list
    // box, 0x0084 scroll bar, 0x0085 combo box) or a class name.
    ResourceId windowClass{WORD{0}};
    // A text, or a resource number (an icon or bitmap for a static control).
    ResourceId text{std::u16string{}};
    std::vector<std::byte> creationData;
};

struct DialogFont {
    WORD pointSize = 0;
    std::u16string face;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    SHORT x = 0, y = 0, cx = 0, cy = 0;
    // Number 0 when the dialog has no menu, no class of its own.
    ResourceId menu{WORD{0}};
    ResourceId windowClass{WORD{0}};
    std::u16string title;
    // Present when the style has DS_SETFONT.
    std::optional<DialogFont> font;
    std::vector<DialogItemTemplate> items;
};
Result<DialogTemplate> ParseDialogTemplate(std::span<const std::byte> data);

// Accelerator tables: 8-byte entries, the last one flagged 0x80.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct AcceleratorEntry {
    // FVIRTKEY, FSHIFT, FCONTROL, FALT (the end flag is dropped).
    BYTE flags = 0;
    WORD key = 0;
    WORD command = 0;
};
Result<std::vector<AcceleratorEntry>> ParseAccelerators(std::span<const std::byte> data);

// Toolbar resources: version, image width and height, item count, then one
// command id per item (0 for a separator), all 16-bit.
struct ToolbarTemplate {
    WORD version = 0;
    WORD imageWidth = 0;
    WORD imageHeight = 0;
    std::vector<WORD> items;
};
Result<ToolbarTemplate> ParseToolbar(std::span<const std::byte> data);

// The Pocket PC menu-bar resource: menu id, button count, then per button
// image, command, state, style, string id, 0 and submenu index, all 16-bit.
constexpr SHORT I_IMAGENONE = -2;
constexpr WORD NOMENU = 0xFFFF;

struct MenuBarButton {
    SHORT image = I_IMAGENONE;
    WORD command = 0;
    WORD state = 0;
    WORD style = 0;
    WORD stringId = 0;
    // The popup of the menu opened by a drop-down button, or NOMENU.
    WORD submenu = NOMENU;
};

struct MenuBarTemplate {
    WORD menuId = 0;
    std::vector<MenuBarButton> buttons;
};
Result<MenuBarTemplate> ParseMenuBar(std::span<const std::byte> data);

// Bitmaps (a device-independent bitmap without its file header, as bitmap
// resources hold them) and icon images, decoded to rows of 0xAARRGGBB pixels,
// top row first, not premultiplied.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
// A bitmap of 1, 4, 8, 16, 24 or 32 bits a pixel, uncompressed; opaque.
Result<Image> ParseBitmap(std::span<const std::byte> data);

// Icon groups list the images of an icon, each an RT_ICON resource.
struct IconGroupEntry {
    int width = 0;
    int height = 0;
    WORD bitCount = 0;
    WORD iconId = 0;
};
Result<std::vector<IconGroupEntry>> ParseIconGroup(std::span<const std::byte> data);
// One icon image: a bitmap of twice the icon's height, colour then AND mask;
// pixels the mask marks are transparent.
Result<Image> ParseIconImage(std::span<const std::byte> data);

} // namespace res
