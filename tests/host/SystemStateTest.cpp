#include "host/SystemState.h"

#include <gtest/gtest.h>

#include "StandInSession.h"
#include "platform/Display.h"
#include "platform/Program.h"
#include "platform/Registry.h"
#include "platform/sim/SystemServices.h"

namespace host {
namespace {

using Json = nlohmann::ordered_json;

void SetValue(sim::RegistryService& registry, const char16_t* key, const char16_t* name, DWORD type,
              std::vector<BYTE> data) {
    HKEY handle = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(registry.CreateKey(HKEY_CLASSES_ROOT, key, &handle, &disposition), ERROR_SUCCESS);
    ASSERT_EQ(registry.SetValue(handle, name, type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    registry.CloseKey(handle);
}

std::vector<BYTE> Utf16Bytes(std::u16string text) {
    std::vector<BYTE> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    return bytes;
}

TEST(SystemState, RegistryKeysAreNestedObjectsWithTheirValues) {
    testing::StandInSession standIn;
    sim::RegistryService& registry = standIn.session->Device().Services().Registry();
    SetValue(registry, u".swf", u"", REG_SZ, Utf16Bytes(std::u16string(u"Movie\0", 6)));
    SetValue(registry, u".swf\\Shell\\Open", u"Count", REG_DWORD, {0x2A, 0x01, 0, 0x80});
    SetValue(registry, u".swf", u"Names", REG_MULTI_SZ,
             Utf16Bytes(std::u16string(u"one\0two\0\0", 9)));
    SetValue(registry, u".swf", u"Blob", REG_BINARY, {0x01, 0xFF});

    const Json roots = RegistryState(*standIn.session);
    const Json& swf = roots["HKEY_CLASSES_ROOT"][".swf"];
    EXPECT_EQ(swf[""], "Movie");
    EXPECT_EQ(swf["Names"], Json::array({"one", "two"}));
    EXPECT_EQ(swf["Blob"], (Json{{"type", REG_BINARY}, {"hex", "01ff"}}));
    EXPECT_EQ(swf["Shell"]["Open"]["Count"], 0x8000012Au);
    EXPECT_TRUE(roots["HKEY_CURRENT_USER"].is_object());
}

TEST(SystemState, OrientationsInDegrees) {
    EXPECT_EQ(OrientationDegrees(DMDO_0), 0);
    EXPECT_EQ(OrientationDegrees(DMDO_90), 90);
    EXPECT_EQ(OrientationDegrees(DMDO_180), 180);
    EXPECT_EQ(OrientationDegrees(DMDO_270), 270);
    EXPECT_EQ(OrientationDegrees(3), -1);
}

} // namespace
} // namespace host
