// The resource readers on damaged input: every truncation, corrupted bytes
// and counts that lie give an error (or a sound value), never a read out of
// bounds; the sanitizer build runs these too.
#include <gtest/gtest.h>

#include <random>

#include "platform/ResourceFile.h"
#include "platform/ResourceFormats.h"
#include "platform/Text.h"

namespace {

// Little-endian bytes written field by field.
class Bytes {
public:
    Bytes& U8(std::uint8_t v) {
        data.push_back(std::byte{v});
        return *this;
    }
    Bytes& U16(std::uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
    Bytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    Bytes& Str(std::u16string_view s) {
        for (char16_t c : s) {
            U16(c);
        }
        return U16(0);
    }
    Bytes& Align4() {
        while (data.size() % 4 != 0) {
            U8(0);
        }
        return *this;
    }
    std::span<const std::byte> Span() const { return data; }
    std::vector<std::byte> data;
};

// A dialog with a font and two controls: an edit box and a static icon.
Bytes SmallDialog() {
    Bytes b;
    b.U32(0x80C00040) // style: popup, caption, DS_SETFONT
        .U32(0)       // extended style
        .U16(2)       // item count
        .U16(0)
        .U16(0)
        .U16(100)
        .U16(50) // x, y, cx, cy
        .U16(0)  // no menu
        .U16(0)  // no class
        .Str(u"Title")
        .U16(9)
        .Str(u"Sans"); // font
    b.Align4()
        .U32(0x50810080)
        .U32(0) // edit: child, visible, border, tab stop, auto-scroll
        .U16(48)
        .U16(50)
        .U16(62)
        .U16(11)
        .U16(1002) // id
        .U16(0xFFFF)
        .U16(0x81) // class: edit
        .Str(u"")  // text
        .U16(0);   // no creation data
    b.Align4()
        .U32(0x50000003)
        .U32(0) // static icon
        .U16(7)
        .U16(7)
        .U16(20)
        .U16(20)
        .U16(201)
        .U16(0xFFFF)
        .U16(0x82) // class: static
        .U16(0xFFFF)
        .U16(128) // text: resource 128
        .U16(0);
    return b;
}

// "File" > ("Open" 100, separator, "Recent" > ("One" 101)), "Exit" 102.
Bytes SmallMenu() {
    Bytes b;
    b.U16(0).U16(0); // version 0, no extra header
    b.U16(0x10).Str(u"File");
    b.U16(0).U16(100).Str(u"Open");
    b.U16(0).U16(0).Str(u"");
    b.U16(0x10 | 0x80).Str(u"Recent"); // the last item of "File"
    b.U16(0x80).U16(101).Str(u"One");
    b.U16(0x80).U16(102).Str(u"Exit");
    return b;
}

// A 3 x 2 bitmap of 4 bits a pixel with a two-colour palette.
Bytes SmallBitmap() {
    Bytes b;
    b.U32(40).U32(3).U32(2).U16(1).U16(4).U32(0).U32(0).U32(0).U32(0).U32(2).U32(0);
    b.U32(0x00FF0000).U32(0x000000FF); // palette: red, blue
    b.U8(0x01).U8(0x00).U8(0).U8(0);   // bottom row: red, blue, red
    b.U8(0x10).U8(0x10).U8(0).U8(0);   // top row: blue, red, blue
    return b;
}

TEST(ResourceFormats, DialogTemplateReadsEveryField) {
    const Bytes bytes = SmallDialog();
    auto dialog = res::ParseDialogTemplate(bytes.Span());
    ASSERT_TRUE(dialog.Ok()) << dialog.GetError().message;
    EXPECT_EQ(dialog->title, u"Title");
    ASSERT_TRUE(dialog->font);
    EXPECT_EQ(dialog->font->face, u"Sans");
    ASSERT_EQ(dialog->items.size(), 2u);
    EXPECT_EQ(dialog->items[0].id, 1002);
    EXPECT_EQ(dialog->items[0].windowClass.Number(), 0x81);
    EXPECT_FALSE(dialog->items[0].text.IsNumber());
    EXPECT_EQ(dialog->items[1].text.Number(), 128);
    EXPECT_EQ(dialog->items[1].cx, 20);
}

TEST(ResourceFormats, EveryTruncationOfATemplateIsAnError) {
    const Bytes dialog = SmallDialog();
    for (std::size_t length = 0; length < dialog.data.size(); ++length) {
        auto parsed = res::ParseDialogTemplate(std::span(dialog.data).first(length));
        EXPECT_FALSE(parsed.Ok()) << "dialog cut at " << length;
    }
    const Bytes menu = SmallMenu();
    for (std::size_t length = 0; length < menu.data.size(); ++length) {
        auto parsed = res::ParseMenuTemplate(std::span(menu.data).first(length));
        EXPECT_FALSE(parsed.Ok()) << "menu cut at " << length;
    }
    const Bytes bitmap = SmallBitmap();
    for (std::size_t length = 0; length < bitmap.data.size(); ++length) {
        EXPECT_FALSE(res::ParseBitmap(std::span(bitmap.data).first(length)).Ok()) << length;
    }
}

TEST(ResourceFormats, CorruptedBytesNeverReadOutOfBounds) {
    std::mt19937 random(7);
    const std::vector<Bytes> inputs = {SmallDialog(), SmallMenu(), SmallBitmap()};
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = inputs[round % inputs.size()];
        for (int flips = 1 + round % 4; flips > 0; --flips) {
            const std::size_t at = random() % damaged.data.size();
            damaged.data[at] ^= std::byte(1u << (random() % 8));
        }
        // Any answer is fine; the sanitizer build checks how it was reached.
        parsed += res::ParseDialogTemplate(damaged.Span()).Ok();
        parsed += res::ParseMenuTemplate(damaged.Span()).Ok();
        parsed += res::ParseBitmap(damaged.Span()).Ok();
        parsed += res::ParseAccelerators(damaged.Span()).Ok();
        parsed += res::ParseToolbar(damaged.Span()).Ok();
        parsed += res::ParseMenuBar(damaged.Span()).Ok();
        parsed += res::ParseIconImage(damaged.Span()).Ok();
        parsed += res::ParseIconGroup(damaged.Span()).Ok();
        parsed += res::ParseStringBlock(damaged.Span()).Ok();
        parsed += res::ResourceFile::Parse(damaged.Span()).Ok();
    }
    EXPECT_GT(parsed, 0) << "some damaged inputs still parse";
}

TEST(ResourceFormats, MenuTemplateKeepsSubmenusAndSeparators) {
    const Bytes bytes = SmallMenu();
    auto menu = res::ParseMenuTemplate(bytes.Span());
    ASSERT_TRUE(menu.Ok()) << menu.GetError().message;
    ASSERT_EQ(menu->size(), 2u);
    const res::MenuItemTemplate& file = menu.Value()[0];
    ASSERT_EQ(file.children.size(), 3u);
    EXPECT_TRUE(file.children[1].IsSeparator());
    EXPECT_EQ(file.children[2].children.at(0).id, 101);
    EXPECT_EQ(menu.Value()[1].id, 102);
}

TEST(ResourceFormats, CountsThatLieAreErrorsNotAllocations) {
    Bytes dialog;
    dialog.U32(0x80C00000).U32(0).U16(0xFFFF).U16(0).U16(0).U16(10).U16(10).U16(0).U16(0).Str(u"");
    EXPECT_FALSE(res::ParseDialogTemplate(dialog.Span()).Ok()) << "65535 items in no bytes";

    Bytes toolbar;
    toolbar.U16(1).U16(16).U16(15).U16(500).U16(32772);
    EXPECT_FALSE(res::ParseToolbar(toolbar.Span()).Ok());

    Bytes bar;
    bar.U16(128).U16(3).U16(0xFFFE).U16(57600); // three buttons, half of one present
    EXPECT_FALSE(res::ParseMenuBar(bar.Span()).Ok());

    Bytes group;
    group.U16(0).U16(1).U16(40); // forty images, none present
    EXPECT_FALSE(res::ParseIconGroup(group.Span()).Ok());

    Bytes huge;
    huge.U32(40).U32(100000).U32(100000).U16(1).U16(32).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
    EXPECT_FALSE(res::ParseBitmap(huge.Span()).Ok());

    Bytes accelerators;
    accelerators.U16(0x09).U16('N').U16(57600).U16(0); // no entry flagged as the last
    EXPECT_FALSE(res::ParseAccelerators(accelerators.Span()).Ok());
}

TEST(ResourceFormats, CreationDataSizeCountsItself) {
    Bytes b = SmallDialog();
    // Give the second item four bytes of creation data: size word 6.
    b.data.resize(b.data.size() - 2);
    b.U16(6).U16(0xABCD).U16(0x1234);
    auto dialog = res::ParseDialogTemplate(b.Span());
    ASSERT_TRUE(dialog.Ok()) << dialog.GetError().message;
    EXPECT_EQ(dialog->items[1].creationData.size(), 4u);

    b.data.resize(b.data.size() - 6);
    b.U16(1); // a size smaller than the size word itself
    EXPECT_FALSE(res::ParseDialogTemplate(b.Span()).Ok());
}

TEST(ResourceFormats, MenusNestedWithoutEndAreRefused) {
    Bytes b;
    b.U16(0).U16(0);
    for (int depth = 0; depth < 40; ++depth) {
        b.U16(0x10).Str(u"x");
    }
    auto menu = res::ParseMenuTemplate(b.Span());
    ASSERT_FALSE(menu.Ok());
    EXPECT_NE(menu.GetError().message.find("deep"), std::string::npos);
}

TEST(ResourceFormats, BitmapRowsAreReadBottomUpThroughThePalette) {
    const Bytes bytes = SmallBitmap();
    auto image = res::ParseBitmap(bytes.Span());
    ASSERT_TRUE(image.Ok()) << image.GetError().message;
    const std::uint32_t red = 0xFFFF0000;
    const std::uint32_t blue = 0xFF0000FF;
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{blue, red, blue, red, blue, red}));
}

TEST(ResourceFormats, ResourceFileFindsByNumberAndByNameIgnoringCase) {
    Bytes b;
    // The empty marker entry, then a string-named type with a numbered name.
    b.U32(0).U32(32).U16(0xFFFF).U16(0).U16(0xFFFF).U16(0).U32(0).U16(0).U16(0).U32(0).U32(0);
    const std::size_t start = b.data.size();
    b.U32(3).U32(0); // data size 3; header size filled in below
    b.Str(u"CEUX").Str(u"HI_RES_AWARE").Align4().U32(0).U16(0x30).U16(0x409).U32(0).U32(0);
    const auto headerSize = static_cast<std::uint32_t>(b.data.size() - start);
    for (int k = 0; k < 4; ++k) {
        b.data[start + 4 + k] = std::byte((headerSize >> (8 * k)) & 0xFF);
    }
    b.U8(1).U8(2).U8(3); // data, unpadded at the end of the file
    auto file = res::ResourceFile::Parse(b.Span());
    ASSERT_TRUE(file.Ok()) << file.GetError().message;
    ASSERT_EQ(file->Entries().size(), 1u);
    const res::ResourceEntry* entry =
        file->Find(res::ResourceId(u"ceux"), res::ResourceId::FromName(u"hi_res_aware"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->data.size(), 3u);
    EXPECT_EQ(entry->language, 0x409);
    EXPECT_EQ(res::ResourceId::FromName(u"#128"), res::ResourceId(WORD{128}));

    b.data[start] = std::byte{0xFF}; // a data size past the end
    EXPECT_FALSE(res::ResourceFile::Parse(b.Span()).Ok());
}

} // namespace
