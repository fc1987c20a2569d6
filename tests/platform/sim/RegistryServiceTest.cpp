// The registry calls as a program sees them: Win32's result codes and sizes,
// the journal, and two registries on one file (as two processes on one
// device directory have) that see and keep each other's changes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TempDirectory.h"
#include "platform/Program.h"
#include "platform/sim/RegistryService.h"

namespace sim {
namespace {

using testing_support::TempDirectory;

// "va", "vb", ...
std::u16string ValueName(int i) {
    std::u16string name(u"v");
    name.push_back(static_cast<char16_t>(u'a' + i));
    return name;
}

struct Recorded {
    std::string call;
    std::vector<JournalValue> args;
    JournalValue result;
};

class RegistryServiceTest : public ::testing::Test {
protected:
    RegistryService Make() {
        return RegistryService(
            folder / "registry.txt",
            [this](std::string call, std::vector<JournalValue> args, JournalValue result) {
                journal.push_back({std::move(call), std::move(args), std::move(result)});
            },
            [this](const std::string& problem) { problems.push_back(problem); });
    }
    static LONG SetText(RegistryService& registry, HKEY key, LPCWSTR name, std::u16string text) {
        return registry.SetValue(key, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * 2));
    }
    static std::u16string GetText(RegistryService& registry, HKEY key, LPCWSTR name) {
        WCHAR buffer[256] = {};
        DWORD size = sizeof buffer - 2;
        DWORD type = 0;
        const LONG result =
            registry.QueryValue(key, name, &type, reinterpret_cast<BYTE*>(buffer), &size);
        return result == ERROR_SUCCESS && type == REG_SZ ? std::u16string(buffer) : u"<none>";
    }

    TempDirectory folder;
    std::vector<Recorded> journal;
    std::vector<std::string> problems;
};

TEST_F(RegistryServiceTest, TheAssociationOfAMovieTypeAsAProgramMakesIt) {
    auto registry = Make();
    HKEY swf = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(registry.CreateKey(HKEY_CLASSES_ROOT, u".swf", &swf, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);

    // A missing default value is "not found", and the size is not touched.
    WCHAR buffer[256] = {};
    DWORD size = 510;
    DWORD type = 0;
    EXPECT_EQ(registry.QueryValue(swf, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, 510u);

    ASSERT_EQ(SetText(registry, swf, nullptr, u"ShockwaveFlashFile"), ERROR_SUCCESS);
    size = 510;
    ASSERT_EQ(registry.QueryValue(swf, u"", &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 38u); // 18 characters and the terminator, two bytes each
    EXPECT_EQ(std::u16string(buffer), u"ShockwaveFlashFile");

    HKEY command = nullptr;
    ASSERT_EQ(registry.CreateKey(HKEY_CLASSES_ROOT, u"ShockwaveFlashFile\\Shell\\Open\\Command",
                                 &command, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(SetText(registry, command, nullptr, u"\"\\Program Files\\Vantrel\\Vantrel.exe\" %1"),
              ERROR_SUCCESS);
    HKEY again = nullptr;
    ASSERT_EQ(
        registry.CreateKey(HKEY_CLASSES_ROOT, u"shockwaveflashfile\\shell", &again, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    for (HKEY key : {swf, command}) {
        EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);
    }
    EXPECT_EQ(registry.CloseKey(swf), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.CloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);
    // What a process leaves open goes when it ends.
    HKEY other = nullptr;
    ASSERT_EQ(registry.OpenKey(HKEY_CLASSES_ROOT, u".swf", &other, 77), ERROR_SUCCESS);
    registry.CloseHandlesOf(0);
    EXPECT_EQ(registry.OpenHandles(), 1u);
    registry.CloseHandlesOf(77);
    EXPECT_EQ(registry.OpenHandles(), 0u);

    // The file reads as what was stored, and the journal shows each call.
    std::ifstream file(folder / "registry.txt");
    std::stringstream text;
    text << file.rdbuf();
    // Quotes and percent signs are spelled out as %XXXX; the rest reads as it is.
    EXPECT_NE(text.str().find("[HKEY_CLASSES_ROOT\\ShockwaveFlashFile\\Shell\\Open\\Command]\n@ = "
                              "sz \"%0022\\Program Files\\Vantrel\\Vantrel.exe%0022 %00251\""),
              std::string::npos)
        << text.str();
    ASSERT_FALSE(journal.empty());
    const auto set = std::find_if(journal.begin(), journal.end(),
                                  [](const Recorded& r) { return r.call == "RegSetValueExW"; });
    ASSERT_NE(set, journal.end());
    EXPECT_EQ(set->args[0].Text(), "HKEY_CLASSES_ROOT\\.swf");
    EXPECT_EQ(set->args[3].Text(), "ShockwaveFlashFile");
    EXPECT_EQ(set->result.Int(), 0);
}

TEST_F(RegistryServiceTest, SizesAndErrorsFollowWin32) {
    auto registry = Make();
    HKEY key = nullptr;
    ASSERT_EQ(registry.CreateKey(HKEY_CURRENT_USER, u"Software\\Test", &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(SetText(registry, key, u"Name", u"abcdef"), ERROR_SUCCESS);

    // Size only; then a buffer too small: ERROR_MORE_DATA with the size
    // needed, the buffer left alone.
    DWORD size = 0;
    DWORD type = 0;
    EXPECT_EQ(registry.QueryValue(key, u"name", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 14u);
    BYTE small[4] = {7, 7, 7, 7};
    size = sizeof small;
    EXPECT_EQ(registry.QueryValue(key, u"Name", &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 14u);
    EXPECT_EQ(small[0], 7);
    EXPECT_EQ(registry.QueryValue(key, u"Name", &type, small, nullptr), ERROR_INVALID_PARAMETER);

    // A string stored without its terminator comes back without one.
    const BYTE bare[] = {'h', 0, 'i', 0};
    ASSERT_EQ(registry.SetValue(key, u"Bare", REG_SZ, bare, sizeof bare), ERROR_SUCCESS);
    BYTE back[16] = {};
    size = sizeof back;
    ASSERT_EQ(registry.QueryValue(key, u"Bare", &type, back, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);

    const DWORD number = 0xDEADBEEF;
    ASSERT_EQ(
        registry.SetValue(key, u"Number", REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
        ERROR_SUCCESS);
    DWORD read = 0;
    size = sizeof read;
    ASSERT_EQ(registry.QueryValue(key, u"Number", &type, reinterpret_cast<BYTE*>(&read), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(read, number);

    HKEY opened = nullptr;
    EXPECT_EQ(registry.OpenKey(HKEY_CURRENT_USER, u"Software\\Missing", &opened),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(opened, nullptr);
    EXPECT_EQ(registry.CreateKey(HKEY_CURRENT_USER, u"\\Software", &opened, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(
        registry.CreateKey(HKEY_CURRENT_USER, std::u16string(256, u'k').c_str(), &opened, nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(registry.CreateKey(reinterpret_cast<HKEY>(0x1234), u"x", &opened, nullptr),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.SetValue(key, u"x", REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(registry.DeleteValue(key, u"Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.DeleteValue(key, u"Name"), ERROR_SUCCESS);
    EXPECT_EQ(registry.QueryValue(key, u"Name", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);

    // Enumeration in name order.
    WCHAR name[16];
    DWORD nameLength = 16;
    EXPECT_EQ(registry.EnumValue(key, 0, name, &nameLength, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"Bare");
    nameLength = 3;
    EXPECT_EQ(registry.EnumValue(key, 1, name, &nameLength, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    nameLength = 16;
    EXPECT_EQ(registry.EnumValue(key, 2, name, &nameLength, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    // The name's length comes back without the terminator, which needs room.
    nameLength = 8;
    EXPECT_EQ(registry.EnumKey(HKEY_CURRENT_USER, 0, name, &nameLength), ERROR_MORE_DATA);
    nameLength = 9;
    EXPECT_EQ(registry.EnumKey(HKEY_CURRENT_USER, 0, name, &nameLength), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"Software");
    EXPECT_EQ(nameLength, 8u);

    // Deleting a key takes everything below it; handles to it then report so.
    HKEY deep = nullptr;
    ASSERT_EQ(registry.CreateKey(key, u"A\\B\\C", &deep, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, u"Software"), ERROR_SUCCESS);
    EXPECT_EQ(registry.QueryValue(key, u"Number", &type, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(SetText(registry, deep, u"v", u"x"), ERROR_KEY_DELETED);
    EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, u"Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.DeleteKey(HKEY_CURRENT_USER, u""), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryServiceTest, TwoProcessesOnOneFileSeeAndKeepEachOthersChanges) {
    auto first = Make();
    auto second = Make();
    HKEY a = nullptr;
    HKEY b = nullptr;
    ASSERT_EQ(first.CreateKey(HKEY_LOCAL_MACHINE, u"Shared", &a, nullptr), ERROR_SUCCESS);
    // The second has read the file before the first changes it again.
    ASSERT_EQ(second.OpenKey(HKEY_LOCAL_MACHINE, u"Shared", &b), ERROR_SUCCESS);
    for (int i = 0; i < 20; ++i) {
        const std::u16string name = ValueName(i);
        ASSERT_EQ(SetText(i % 2 == 0 ? first : second, i % 2 == 0 ? a : b, name.c_str(), name),
                  ERROR_SUCCESS);
    }
    for (auto* registry : {&first, &second}) {
        for (int i = 0; i < 20; ++i) {
            const std::u16string name = ValueName(i);
            EXPECT_EQ(GetText(*registry, registry == &first ? a : b, name.c_str()), name);
        }
    }
    // A third comes later and finds it all in the file.
    auto third = Make();
    const auto tree = third.Snapshot();
    ASSERT_TRUE(tree.Ok());
    const RegistryKey* shared = tree->Find(RegistryPath{RegistryRoot::LocalMachine, {u"Shared"}});
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->values.size(), 20u);
}

TEST_F(RegistryServiceTest, ADamagedFileIsReportedAndLeftAsItIs) {
    const std::string damaged = "vantrel-registry 1\n[HKEY_CLASSES_ROOT\\a]\n\"v\" = sz \"x";
    std::ofstream(folder / "registry.txt") << damaged;
    auto registry = Make();
    HKEY key = nullptr;
    EXPECT_EQ(registry.OpenKey(HKEY_CLASSES_ROOT, u"a", &key), ERROR_REGISTRY_CORRUPT);
    EXPECT_NE(registry.CreateKey(HKEY_CLASSES_ROOT, u"b", &key, nullptr), ERROR_SUCCESS);
    EXPECT_FALSE(registry.Snapshot().Ok());
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems[0].find("cut short"), std::string::npos) << problems[0];
    std::ifstream file(folder / "registry.txt");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), damaged);
}

} // namespace
} // namespace sim
