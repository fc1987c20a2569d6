// The player's dialog templates, read back through the template reader: every
// control's id, class, style, rectangle and text, and each dialog's frame.
#include <gtest/gtest.h>

#include "platform/ResourceFile.h"
#include "platform/ResourceFormats.h"
#include "platform/Text.h"
#include "resources/ProgramResources.h"

namespace {

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD ES_AUTOHSCROLL = 0x80;
constexpr DWORD SS_ICON = 0x3;
constexpr DWORD SS_NOPREFIX = 0x80;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD CBS_DROPDOWNLIST = 0x3;
constexpr DWORD CBS_SORT = 0x100;

constexpr WORD buttonClass = 0x80;
constexpr WORD editClass = 0x81;
constexpr WORD staticClass = 0x82;
constexpr WORD comboClass = 0x85;
constexpr WORD noId = 0xFFFF;

struct ExpectedControl {
    WORD id;
    WORD windowClass;
    // A text, or for an icon the resource number as "#128".
    std::string text;
    SHORT x, y, cx, cy;
    // Style bits that must be set, and bits that must be clear.
    DWORD set;
    DWORD clear;
    // For buttons and combo boxes: the value of the low type bits.
    int type = -1;
};

struct ExpectedDialog {
    WORD id;
    std::string title;
    std::string font;
    WORD pointSize;
    SHORT cx, cy;
    DWORD style;
    DWORD exStyle;
    std::vector<ExpectedControl> controls;
};

const DWORD shown = WS_CHILD | WS_VISIBLE;

std::string TextOf(const res::ResourceId& id) {
    if (!id.IsNumber()) {
        return text::ToUtf8(id.Name());
    }
    std::string number = "#";
    number += std::to_string(id.Number());
    return number;
}

void ExpectDialog(const ExpectedDialog& expected) {
    SCOPED_TRACE("dialog " + std::to_string(expected.id));
    auto file = res::ResourceFile::Parse(resources::ProgramResources());
    ASSERT_TRUE(file.Ok());
    const res::ResourceEntry* entry = file->Find(res::RT_DIALOG, expected.id);
    ASSERT_NE(entry, nullptr);
    auto dialog = res::ParseDialogTemplate(entry->data);
    ASSERT_TRUE(dialog.Ok()) << dialog.GetError().message;
    EXPECT_EQ(text::ToUtf8(dialog->title), expected.title);
    ASSERT_TRUE(dialog->font.has_value());
    EXPECT_EQ(text::ToUtf8(dialog->font->face), expected.font);
    EXPECT_EQ(dialog->font->pointSize, expected.pointSize);
    EXPECT_EQ(dialog->cx, expected.cx);
    EXPECT_EQ(dialog->cy, expected.cy);
    EXPECT_EQ(dialog->style & expected.style, expected.style);
    EXPECT_EQ(dialog->style & WS_CHILD, 0u);
    EXPECT_EQ(dialog->exStyle, expected.exStyle);
    EXPECT_TRUE(dialog->menu.IsNumber() && dialog->menu.Number() == 0) << "no menu of its own";
    ASSERT_EQ(dialog->items.size(), expected.controls.size());
    for (std::size_t i = 0; i < expected.controls.size(); ++i) {
        const ExpectedControl& want = expected.controls[i];
        const res::DialogItemTemplate& item = dialog->items[i];
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + want.text + "\"");
        EXPECT_EQ(item.id, want.id);
        ASSERT_TRUE(item.windowClass.IsNumber());
        EXPECT_EQ(item.windowClass.Number(), want.windowClass);
        EXPECT_EQ(TextOf(item.text), want.text);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        EXPECT_EQ(item.style & want.set, want.set);
        EXPECT_EQ(item.style & want.clear, 0u);
        if (want.type >= 0) {
            EXPECT_EQ(static_cast<int>(item.style & 0xF), want.type);
        }
        EXPECT_TRUE(item.creationData.empty());
    }
}

TEST(DialogResources, OpenLocationDialog) {
    ExpectDialog({141,
                  "Dialog",
                  "Microsoft Sans Serif",
                  9,
                  163,
                  95,
                  WS_POPUP | WS_CAPTION | WS_SYSMENU,
                  0,
                  {
                      {1009, editClass, "", 48, 15, 76, 14,
                       shown | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
                      {noId, staticClass, "Location:", 7, 18, 39, 8, shown, 0},
                      {1010, buttonClass, "Browse...", 7, 46, 74, 14, shown | WS_TABSTOP, 0, 0},
                      {noId, staticClass, "Enter a URL or", 7, 34, 59, 8, shown, 0},
                      {1012, buttonClass, "Open as Presentation Slides", 14, 61, 115, 10, WS_CHILD,
                       WS_VISIBLE, BS_AUTOCHECKBOX},
                  }});
}

TEST(DialogResources, JumpToDialog) {
    ExpectDialog(
        {135,
         "Jump to Position:",
         "Microsoft Sans Serif",
         9,
         188,
         95,
         WS_POPUP | WS_CAPTION,
         0,
         {
             {noId, staticClass, "Length:", 7, 15, 34, 8, shown, 0},
             {1000, staticClass, "", 50, 16, 61, 8, shown, 0},
             {noId, staticClass, "Frame:", 7, 31, 38, 8, shown, 0},
             {noId, staticClass, "Jump to", 7, 51, 37, 8, shown, 0},
             {1001, staticClass, "", 50, 32, 46, 8, shown, 0},
             {1002, editClass, "", 48, 50, 62, 11, shown | WS_BORDER | ES_AUTOHSCROLL, 0},
             {noId, staticClass,
              "By entering 50%, you can jump to the middle of a swf. By entering 10, you jump to "
              "the tenth frame of the swf",
              7, 65, 162, 23, shown, 0},
         }});
}

TEST(DialogResources, OptionsDialog) {
    ExpectDialog(
        {137,
         "Options",
         "Microsoft Sans Serif",
         9,
         187,
         169,
         WS_POPUP | WS_CAPTION,
         0,
         {
             {noId, staticClass, "\"Toggle Fullscreen\" Hot key is \"Action\"", 7, 7, 158, 12,
              shown, 0},
             {1003, comboClass, "", 79, 150, 81, 70, WS_CHILD | WS_VSCROLL | CBS_SORT, WS_VISIBLE,
              CBS_DROPDOWNLIST},
             {noId, staticClass, "Exit fullscreen by pressing APP1 - APP6", 7, 24, 143, 16, shown,
              0},
             {1014, buttonClass, "Associate SWF with me!", 7, 45, 117, 14, shown, 0, 0},
             {1015, buttonClass, "Remove Association", 7, 148, 77, 14, WS_CHILD, WS_VISIBLE, 0},
             {noId, staticClass, "Backlight:", 7, 67, 33, 8, shown, 0},
             {1019, comboClass, "", 42, 64, 83, 78, shown | WS_VSCROLL, CBS_SORT, CBS_DROPDOWNLIST},
             {1021, buttonClass, "Landscape mode playback when fullscreen", 7, 79, 159, 16,
              WS_CHILD, WS_VISIBLE, BS_AUTOCHECKBOX},
         }});
}

TEST(DialogResources, AboutBoxInBothLayouts) {
    constexpr DWORD okInCaption = 0x80000000;
    ExpectDialog({100,
                  "About Vantrel",
                  "MS Shell Dlg",
                  9,
                  156,
                  60,
                  WS_POPUP | WS_CAPTION,
                  okInCaption,
                  {
                      {201, staticClass, "#128", 7, 7, 20, 20, shown | SS_ICON, 0},
                      {202, staticClass, "Vantrel 1.5", 31, 7, 117, 8, shown | SS_NOPREFIX, 0},
                  }});
    ExpectDialog({200,
                  "About Vantrel",
                  "MS Shell Dlg",
                  9,
                  200,
                  40,
                  WS_POPUP | WS_CAPTION,
                  okInCaption,
                  {
                      {201, staticClass, "#128", 12, 12, 20, 20, shown | SS_ICON, 0},
                      {202, staticClass, "Vantrel 1.5", 49, 7, 138, 8, shown | SS_NOPREFIX, 0},
                  }});
}

} // namespace
