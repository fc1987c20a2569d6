// The registry's content: a tree of keys under each root, each key with its
// values, and its text form, the file the device keeps it in. The text is
// meant to be read by people:
//
//   vantrel-registry 1
//   [HKEY_CLASSES_ROOT\.swf]
//   @ = sz "ShockwaveFlashFile"
//   "Count" = dword 42
//   "Blob" = binary 01 02 ff
//   end
//
// A key line names the key's full path; the value lines under it belong to
// it (@ is the default value). String values (sz, expand_sz, multi_sz) are
// written as text when their bytes are UTF-16 text ending in a zero, which
// the text form leaves out; "%" followed by four hex digits stands for a
// UTF-16 unit that cannot appear as it is (control characters, '"', '%',
// '[' and ']' in key names, unpaired surrogates). Anything else is written as
// its bytes, "hex(type)". The closing "end" line tells a complete file from a
// cut one.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "platform/WinTypes.h"

namespace sim {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };
inline constexpr std::size_t kRegistryRoots = 3;

// "HKEY_CLASSES_ROOT" and so on.
std::u16string_view RootName(RegistryRoot root);

// Orders names as the registry compares them: ASCII letters without regard
// to case.
struct RegistryNameLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const;
};

struct RegistryValue {
    DWORD type = 0;
    std::vector<BYTE> data;
    bool operator==(const RegistryValue&) const = default;
};

struct RegistryKey {
    // Names keep the letter case they were created with.
    std::map<std::u16string, RegistryKey, RegistryNameLess> subkeys;
    std::map<std::u16string, RegistryValue, RegistryNameLess> values;
    bool operator==(const RegistryKey&) const = default;
};

struct RegistryPath {
    RegistryRoot root = RegistryRoot::ClassesRoot;
    std::vector<std::u16string> keys;

    // "HKEY_CLASSES_ROOT\.swf", as the journal shows it.
    std::u16string Text() const;
};

class RegistryTree {
public:
    const RegistryKey* Find(const RegistryPath& path) const;
    RegistryKey* Find(const RegistryPath& path);
    // The key, created with the missing keys on its path; created tells
    // whether the key itself is new.
    RegistryKey& Create(const RegistryPath& path, bool& created);
    // Removes the key and everything below it; false when it does not exist.
    // A root cannot be removed.
    bool Remove(const RegistryPath& path);

    std::string Serialize() const;
    static Result<RegistryTree> Parse(std::string_view text);

    bool operator==(const RegistryTree&) const = default;

private:
    std::array<RegistryKey, kRegistryRoots> roots;
};

} // namespace sim
