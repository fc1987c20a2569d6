// The registry's text form: what is written reads back as the same tree, for
// any names and bytes, and a damaged or cut file is refused rather than read
// as a smaller registry.
#include <gtest/gtest.h>

#include "platform/sim/RegistryTree.h"

namespace sim {
namespace {

RegistryValue Text(std::u16string_view text, DWORD type = 1, bool terminated = true) {
    RegistryValue value{type, {}};
    for (const char16_t unit : text) {
        value.data.push_back(static_cast<BYTE>(unit & 0xFF));
        value.data.push_back(static_cast<BYTE>(unit >> 8));
    }
    if (terminated) {
        value.data.insert(value.data.end(), {0, 0});
    }
    return value;
}

RegistryKey& Key(RegistryTree& tree, RegistryRoot root, std::vector<std::u16string> keys) {
    bool created = false;
    return tree.Create(RegistryPath{root, std::move(keys)}, created);
}

TEST(RegistryTree, EveryKindOfValueAndNameSurvivesTheTextForm) {
    RegistryTree tree;
    auto& swf = Key(tree, RegistryRoot::ClassesRoot, {u".swf"});
    swf.values[u""] = Text(u"ShockwaveFlashFile");
    auto& command = Key(tree, RegistryRoot::ClassesRoot,
                        {u"ShockwaveFlashFile", u"Shell", u"Open", u"Command"});
    command.values[u""] = Text(u"\"\\Program Files\\Vantrel\\Vantrel.exe\" %1");
    auto& odd = Key(tree, RegistryRoot::CurrentUser, {u"[odd] %name\t\"", u"\xD800lone"});
    odd.values[u"count"] = RegistryValue{4, {0x2A, 0, 0, 0x80}};
    odd.values[u"short dword"] = RegistryValue{4, {1, 2}};
    odd.values[u"blob"] = RegistryValue{3, {0, 0xFF, 0x10}};
    odd.values[u"empty blob"] = RegistryValue{3, {}};
    odd.values[u"unterminated"] = Text(u"abc", 1, false);
    odd.values[u"odd bytes"] = RegistryValue{1, {0x41, 0, 0x42}};
    odd.values[u"list"] = Text(std::u16string(u"one\0two\0", 8), 7);
    odd.values[u"\U0001F600 and \r\n"] = Text(u"caf\u00e9 \xDC00", 2);
    odd.values[u"custom"] = RegistryValue{42, {9, 8, 7}};
    Key(tree, RegistryRoot::LocalMachine, {u"Empty", u"Nested"});

    const std::string text = tree.Serialize();
    const auto parsed = RegistryTree::Parse(text);
    ASSERT_TRUE(parsed.Ok()) << parsed.GetError().message << "\n" << text;
    EXPECT_EQ(*parsed, tree) << text;
    // Readable where the data allow it.
    EXPECT_NE(text.find("[HKEY_CLASSES_ROOT\\.swf]\n@ = sz \"ShockwaveFlashFile\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"count\" = dword 2147483690\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"blob\" = binary 00 ff 10\n"), std::string::npos) << text;
}

TEST(RegistryTree, NamesAreFoundWithoutRegardToLetterCaseAndKeepTheirFirstSpelling) {
    RegistryTree tree;
    Key(tree, RegistryRoot::ClassesRoot, {u"ShockwaveFlashFile", u"DefaultIcon"});
    bool created = true;
    tree.Create(RegistryPath{RegistryRoot::ClassesRoot, {u"SHOCKWAVEFLASHFILE", u"defaulticon"}},
                created);
    EXPECT_FALSE(created);
    EXPECT_NE(tree.Find(RegistryPath{RegistryRoot::ClassesRoot, {u"shockwaveflashfile"}}), nullptr);
    EXPECT_NE(tree.Serialize().find("ShockwaveFlashFile\\DefaultIcon]"), std::string::npos);
    EXPECT_EQ(tree.Find(RegistryPath{RegistryRoot::CurrentUser, {u"ShockwaveFlashFile"}}), nullptr);

    EXPECT_TRUE(tree.Remove(RegistryPath{RegistryRoot::ClassesRoot, {u"shockWaveFlashFile"}}));
    EXPECT_EQ(
        tree.Find(RegistryPath{RegistryRoot::ClassesRoot, {u"ShockwaveFlashFile", u"DefaultIcon"}}),
        nullptr);
    EXPECT_FALSE(tree.Remove(RegistryPath{RegistryRoot::ClassesRoot, {}}));
}

TEST(RegistryTree, DamagedFilesAreRefused) {
    RegistryTree tree;
    Key(tree, RegistryRoot::ClassesRoot, {u".swf"}).values[u""] = Text(u"x");
    const std::string good = tree.Serialize();
    ASSERT_TRUE(RegistryTree::Parse(good).Ok());

    // Every cut of a complete file is recognised as cut, never read as a
    // registry with fewer changes in it.
    for (std::size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(RegistryTree::Parse(good.substr(0, length)).Ok()) << length;
    }
    const std::string cases[] = {
        "something else\nend\n",
        "vantrel-registry 1\n@ = sz \"x\"\nend\n",
        "vantrel-registry 1\n[HKEY_NOWHERE\\a]\nend\n",
        "vantrel-registry 1\n[HKEY_CLASSES_ROOT\\\\a]\nend\n",
        // A key name holding the path separator, escaped (a fuzzing finding:
        // it read, and the tree's text then read back as another tree).
        "vantrel-registry 1\n[HKEY_CURRENT_USER\\%005C]\nend\n",
        "vantrel-registry 1\n[HKEY_CLASSES_ROOT\\a]\n\"v\" = dword 4294967296\nend\n",
        "vantrel-registry 1\n[HKEY_CLASSES_ROOT\\a]\n\"v\" = binary 0g\nend\n",
        "vantrel-registry 1\n[HKEY_CLASSES_ROOT\\a]\n\"v\" = sz \"%12\"\nend\n",
        "vantrel-registry 1\n[HKEY_CLASSES_ROOT\\a]\n\"v\" sz \"x\"\nend\n",
        "vantrel-registry 1\n[HKEY_CLASSES_ROOT\\a]\n\"v\" = sz \"x\" tail\nend\n",
        "vantrel-registry 1\nend\n[HKEY_CLASSES_ROOT\\a]\n",
    };
    for (const auto& text : cases) {
        EXPECT_FALSE(RegistryTree::Parse(text).Ok()) << text;
    }
}

} // namespace
} // namespace sim
