// A program's module and resources: strings (copied and cut, or in place),
// raw resources, bitmaps and icons, the module's path and handle, and a module
// whose resources are damaged.
#include <gtest/gtest.h>

#include <cstring>

#include "DeviceTestSupport.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/Resources.h"
#include "platform/sim/Device.h"
#include "platform/sim/Gdi.h"

namespace {

using simtest::Bytes;
using simtest::DeviceTest;

class ResourceApiTest : public DeviceTest {};

// String block 9 holds ids 128 to 143: 128 "Vantrel", 129 "Flash Movie not
// loaded", the rest empty.
Bytes StringBlock() {
    Bytes block;
    const std::u16string strings[2] = {u"Vantrel", u"Flash Movie not loaded"};
    for (int i = 0; i < 16; ++i) {
        if (i < 2) {
            block.U16(static_cast<std::uint16_t>(strings[i].size()));
            for (const char16_t c : strings[i]) {
                block.U16(c);
            }
        } else {
            block.U16(0);
        }
    }
    return block;
}

// A 2 x 2 bitmap, 24 bits a pixel, bottom-up: red, green / blue, white.
Bytes Bitmap() {
    Bytes bitmap;
    bitmap.U32(40).U32(2).U32(2).U16(1).U16(24).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
    // Bottom row first, blue green red per pixel, rows padded to 4 bytes.
    bitmap.U8(0xFF).U8(0).U8(0).U8(0xFF).U8(0xFF).U8(0xFF).U8(0).U8(0);
    bitmap.U8(0).U8(0).U8(0xFF).U8(0).U8(0xFF).U8(0).U8(0).U8(0);
    return bitmap;
}

// A 2 x 2 icon image of 32 bits and its group.
Bytes IconImage() {
    Bytes icon;
    icon.U32(40).U32(2).U32(4).U16(1).U16(32).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
    for (int i = 0; i < 4; ++i) {
        icon.U32(0xFF102030);
    }
    icon.U32(0).U32(0); // the AND mask: all opaque
    return icon;
}

Bytes IconGroup() {
    Bytes group;
    group.U16(0).U16(1).U16(1);
    group.U8(2)
        .U8(2)
        .U8(0)
        .U8(0)
        .U16(1)
        .U16(32)
        .U32(static_cast<std::uint32_t>(IconImage().Size()))
        .U16(1);
    return group;
}

std::vector<std::byte> ProgramResources() {
    return simtest::ResourceBuilder()
        .Add(6, 9, StringBlock())
        .Add(2, 128, Bitmap())
        .Add(3, 1, IconImage())
        .Add(14, 128, IconGroup())
        .Add(10, 300, Bytes().U16(1))
        .Build();
}

TEST_F(ResourceApiTest, StringsAreCopiedCutToTheBufferOrGivenInPlace) {
    const auto resources = ProgramResources();
    auto program = Launch(
        [&](HINSTANCE instance) {
            WCHAR buffer[64];
            EXPECT_EQ(LoadStringW(instance, 128, buffer, 64), 7);
            EXPECT_EQ(std::u16string(buffer), u"Vantrel");
            EXPECT_EQ(LoadStringW(nullptr, 129, buffer, 6), 5);
            EXPECT_EQ(std::u16string(buffer), u"Flash");
            // An id without a string, and one in a block that is not there.
            EXPECT_EQ(LoadStringW(instance, 130, buffer, 64), 0);
            EXPECT_EQ(buffer[0], u'\0');
            EXPECT_EQ(LoadStringW(instance, 2000, buffer, 64), 0);
            // Length 0: a read-only pointer to the string in place.
            const WCHAR* inPlace = nullptr;
            EXPECT_EQ(LoadStringW(instance, 129, reinterpret_cast<LPWSTR>(&inPlace), 0), 22);
            ASSERT_NE(inPlace, nullptr);
            EXPECT_EQ(std::u16string(inPlace, 22), u"Flash Movie not loaded");
        },
        resources);
}

TEST_F(ResourceApiTest, RawResourcesBitmapsAndIconsLoad) {
    const auto resources = ProgramResources();
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    auto program = Launch(
        [&](HINSTANCE instance) {
            const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(300), RT_RCDATA);
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(SizeofResource(instance, found), 2u);
            const auto* data =
                static_cast<const BYTE*>(LockResource(LoadResource(instance, found)));
            ASSERT_NE(data, nullptr);
            EXPECT_EQ(data[0], 1);
            EXPECT_EQ(FindResourceW(instance, MAKEINTRESOURCEW(301), RT_RCDATA), nullptr);
            EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
            EXPECT_EQ(FindResourceW(instance, u"#300", RT_RCDATA), found);

            bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(128));
            icon = LoadIconW(instance, MAKEINTRESOURCEW(128));
            EXPECT_EQ(LoadBitmapW(instance, MAKEINTRESOURCEW(129)), nullptr);
        },
        resources);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info;
    ASSERT_EQ(GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 2);
    EXPECT_EQ(info.bmHeight, 2);
    ASSERT_NE(icon, nullptr);
    const sim::Picture* iconPicture = device->Graphics().FindIcon(icon);
    ASSERT_NE(iconPicture, nullptr);
    EXPECT_EQ(iconPicture->Width(), 2);
    EXPECT_EQ(iconPicture->Height(), 2);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(ResourceApiTest, ModuleHasItsDevicePathAndHandle) {
    HINSTANCE given = nullptr;
    HMODULE own = nullptr;
    HMODULE byName = nullptr;
    std::u16string path;
    DWORD cutLength = 0;
    std::u16string cut;
    auto program = Launch([&](HINSTANCE instance) {
        given = instance;
        own = GetModuleHandleW(nullptr);
        byName = GetModuleHandleW(u"vantrel.EXE");
        WCHAR buffer[260];
        const DWORD length = GetModuleFileNameW(nullptr, buffer, 260);
        path.assign(buffer, length);
        WCHAR small[8];
        cutLength = GetModuleFileNameW(instance, small, 8);
        cut = small;
    });
    EXPECT_EQ(own, given);
    EXPECT_EQ(byName, given);
    EXPECT_EQ(path, u"\\Program Files\\Vantrel\\Vantrel.exe");
    EXPECT_EQ(cutLength, 7u);
    EXPECT_EQ(cut, u"\\Progra");
}

TEST_F(ResourceApiTest, DamagedResourcesLoadNothingAndSayWhy) {
    // A header that claims more data than there is.
    std::vector<std::byte> damaged = simtest::ResourceBuilder().Add(6, 9, StringBlock()).Build();
    damaged[0] = std::byte{0xFF};
    int loaded = -1;
    auto program = Launch(
        [&](HINSTANCE instance) {
            WCHAR buffer[16];
            loaded = LoadStringW(instance, 128, buffer, 16);
        },
        damaged);
    EXPECT_EQ(loaded, 0);
    sim::Program& running = program;
    EXPECT_FALSE(running.GetModule().ResourceError().empty());
}

} // namespace
