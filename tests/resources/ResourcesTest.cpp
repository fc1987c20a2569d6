// The player's resources, read back from the compiled program through the
// resource readers and compared with what the player's code and its users rely
// on: texts, ids, positions, styles and rectangles.
#include <gtest/gtest.h>

#include "platform/ResourceFile.h"
#include "platform/ResourceFormats.h"
#include "platform/Text.h"
#include "resources/ProgramResources.h"
#include "resources/resource.h"

namespace {

using res::ResourceFile;

const ResourceFile& Resources() {
    static const ResourceFile file = [] {
        auto parsed = ResourceFile::Parse(resources::ProgramResources());
        EXPECT_TRUE(parsed.Ok()) << parsed.GetError().message;
        return parsed.Ok() ? parsed.Value() : ResourceFile();
    }();
    return file;
}

std::span<const std::byte> Data(WORD type, WORD name) {
    const res::ResourceEntry* entry = Resources().Find(type, name);
    EXPECT_NE(entry, nullptr) << "resource type " << type << " name " << name;
    return entry != nullptr ? entry->data : std::span<const std::byte>();
}

std::string Utf8(const std::u16string& text) {
    return text::ToUtf8(text);
}

// A menu item as the tests describe it: text, id and children.
struct ExpectedItem {
    std::string text; // empty for a separator
    WORD id = 0;
    std::vector<ExpectedItem> children;
};

void ExpectMenu(const std::vector<res::MenuItemTemplate>& actual,
                const std::vector<ExpectedItem>& expected, const std::string& path) {
    ASSERT_EQ(actual.size(), expected.size()) << "items of " << path;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string where = path + "/" + std::to_string(i);
        if (expected[i].text.empty()) {
            EXPECT_TRUE(actual[i].IsSeparator()) << where;
            continue;
        }
        EXPECT_EQ(Utf8(actual[i].text), expected[i].text) << where;
        EXPECT_EQ(actual[i].IsPopup(), !expected[i].children.empty()) << where;
        if (expected[i].children.empty()) {
            EXPECT_EQ(actual[i].id, expected[i].id) << where << " " << expected[i].text;
        } else {
            ExpectMenu(actual[i].children, expected[i].children, where);
        }
    }
}

TEST(ProgramResources, ControlMenuHasEveryItemInPlace) {
    auto menu = res::ParseMenuTemplate(Data(res::RT_MENU, 128));
    ASSERT_TRUE(menu.Ok()) << menu.GetError().message;
    std::vector<ExpectedItem> zoom;
    for (int percent = 100; percent <= 150; percent += 5) {
        zoom.push_back({std::to_string(percent) + "%", WORD(32828 + (percent - 100) / 5), {}});
    }
    const std::vector<ExpectedItem> expected = {
        {"Control",
         0,
         {
             {"Play/Pause", 32772, {}},
             {"Stop", 32773, {}},
             {"", 0, {}},
             {"Seek", 0, {{"Forward", 32774, {}}, {"Back", 32775, {}}, {"Jump to...", 32776, {}}}},
             {"", 0, {}},
             {"Screen",
              0,
              {{"Toggle Fullscreen", 32777, {}},
               {"Rotate Left", 32779, {}},
               {"Rotate Right", 32780, {}},
               {"Scale Mode",
                0,
                {{"Show All", 32806, {}},
                 {"No Border", 32805, {}},
                 {"Exact Fit", 32804, {}},
                 {"No Scale", 32807, {}}}},
               {"", 0, {}},
               {"Show Toolbar", 32840, {}}}},
             {"Zoom", 0, zoom},
             {"", 0, {}},
             {"Options...", 32782, {}},
             {"", 0, {}},
             {"About", 57664, {}},
             {"Exit", 32826, {}},
         }},
    };
    ExpectMenu(menu.Value(), expected, "menu 128");
}

TEST(ProgramResources, SoftKeyMenuHasOkAndCancel) {
    auto menu = res::ParseMenuTemplate(Data(res::RT_MENU, 136));
    ASSERT_TRUE(menu.Ok()) << menu.GetError().message;
    ExpectMenu(menu.Value(), {{"OK", 1, {}}, {"Cancel", 2, {}}}, "menu 136");
}

TEST(ProgramResources, MenuBarHasOpenAndMenuButtons) {
    auto bar = res::ParseMenuBar(Data(res::RT_RCDATA, 128));
    ASSERT_TRUE(bar.Ok()) << bar.GetError().message;
    EXPECT_EQ(bar->menuId, 128);
    ASSERT_EQ(bar->buttons.size(), 2u);
    constexpr WORD enabled = 0x04;
    constexpr WORD autosize = 0x10;
    constexpr WORD dropDown = 0x08;
    const res::MenuBarButton& open = bar->buttons[0];
    EXPECT_EQ(open.image, res::I_IMAGENONE);
    EXPECT_EQ(open.command, 57600);
    EXPECT_EQ(open.state, enabled);
    EXPECT_EQ(open.style, autosize);
    EXPECT_EQ(open.stringId, 301);
    EXPECT_EQ(open.submenu, res::NOMENU);
    const res::MenuBarButton& menu = bar->buttons[1];
    EXPECT_EQ(menu.image, res::I_IMAGENONE);
    EXPECT_EQ(menu.command, 402);
    EXPECT_EQ(menu.state, enabled);
    EXPECT_EQ(menu.style, dropDown | autosize);
    EXPECT_EQ(menu.stringId, 302);
    EXPECT_EQ(menu.submenu, 0);
}

TEST(ProgramResources, ToolbarsListTheSameItemsWithTheirImageSizes) {
    const std::vector<WORD> items = {32772, 32781, 32773, 0, 32816, 32777, 32825};
    struct Case {
        WORD id;
        WORD width;
        WORD height;
    };
    for (const Case& c : {Case{128, 16, 15}, Case{132, 32, 31}}) {
        auto toolbar = res::ParseToolbar(Data(res::RT_TOOLBAR, c.id));
        ASSERT_TRUE(toolbar.Ok()) << toolbar.GetError().message;
        EXPECT_EQ(toolbar->version, 1);
        EXPECT_EQ(toolbar->imageWidth, c.width);
        EXPECT_EQ(toolbar->imageHeight, c.height);
        EXPECT_EQ(toolbar->items, items) << "toolbar " << c.id;
        // One image per button, the separator excluded.
        auto bitmap = res::ParseBitmap(Data(res::RT_BITMAP, c.id));
        ASSERT_TRUE(bitmap.Ok()) << bitmap.GetError().message;
        EXPECT_EQ(bitmap->width, 6 * c.width);
        EXPECT_EQ(bitmap->height, c.height);
        // Each image draws something over the grey background.
        for (int image = 0; image < 6; ++image) {
            int drawn = 0;
            for (int y = 0; y < c.height; ++y) {
                for (int x = 0; x < c.width; ++x) {
                    drawn += bitmap->pixels[y * bitmap->width + image * c.width + x] != 0xFFC0C0C0;
                }
            }
            EXPECT_GT(drawn, c.width * c.height / 10) << "image " << image << " of " << c.id;
        }
    }
}

TEST(ProgramResources, AcceleratorsSendOpenAndTheEditCommands) {
    auto table = res::ParseAccelerators(Data(res::RT_ACCELERATOR, 128));
    ASSERT_TRUE(table.Ok()) << table.GetError().message;
    const BYTE control = res::FVIRTKEY | res::FCONTROL;
    const std::vector<std::pair<char, WORD>> expected = {
        {'N', 57600}, {'Z', 57643}, {'X', 57635}, {'C', 57634}, {'V', 57637}};
    ASSERT_EQ(table->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(table.Value()[i].key, expected[i].first);
        EXPECT_EQ(table.Value()[i].command, expected[i].second);
        EXPECT_EQ(table.Value()[i].flags & ~res::FNOINVERT, control) << expected[i].first;
    }
}

TEST(ProgramResources, StringTableHoldsEveryText) {
    const std::vector<std::pair<UINT, std::string>> expected = {
        {128, "Vantrel"},
        {129, "Flash Movie not loaded"},
        {130, "Keep Backlight"},
        {131, "Do not keep backlight"},
        {133, "Macromedia Flash ActiveX not installed!"},
        {134, "Volume"},
        {301, "Open"},
        {302, "Menu"},
    };
    for (const auto& [id, text] : expected) {
        auto loaded = res::LoadString(Resources(), id);
        ASSERT_TRUE(loaded.Ok()) << loaded.GetError().message;
        EXPECT_EQ(Utf8(loaded.Value()), text) << "string " << id;
    }
    auto missing = res::LoadString(Resources(), 132);
    ASSERT_TRUE(missing.Ok());
    EXPECT_TRUE(missing->empty());
}

TEST(ProgramResources, IconHasSmallAndLargeImagesWithTransparentCorners) {
    auto group = res::ParseIconGroup(Data(res::RT_GROUP_ICON, 128));
    ASSERT_TRUE(group.Ok()) << group.GetError().message;
    ASSERT_EQ(group->size(), 2u);
    for (const res::IconGroupEntry& entry : group.Value()) {
        EXPECT_EQ(entry.width, entry.height);
        auto image = res::ParseIconImage(Data(res::RT_ICON, entry.iconId));
        ASSERT_TRUE(image.Ok()) << image.GetError().message;
        EXPECT_EQ(image->width, entry.width);
        EXPECT_EQ(image->pixels.front() >> 24, 0u) << "the corner shows through";
        const std::size_t middle = image->width * (image->height / 2) + image->width / 2;
        EXPECT_EQ(image->pixels[middle] >> 24, 0xFFu) << "the middle is drawn";
    }
    EXPECT_EQ((*group)[0].width + (*group)[1].width, 16 + 32);
}

TEST(ProgramResources, HighResolutionAwarenessIsDeclared) {
    const res::ResourceEntry* entry =
        Resources().Find(res::ResourceId(u"CEUX"), res::ResourceId(u"HI_RES_AWARE"));
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->data.size(), 2u);
    EXPECT_EQ(std::to_integer<int>(entry->data[0]) | (std::to_integer<int>(entry->data[1]) << 8),
              1);
}

} // namespace
