#include "platform/sim/RegistryService.h"

#include <algorithm>
#include <cstring>

#include "platform/Program.h"
#include "platform/Text.h"

namespace sim {
namespace {

// Limits of the registry: a key name's length, a value name's, the nesting
// of keys and a value's size (so that one value cannot swell the file that
// every process rereads).
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;
constexpr std::size_t kMaxDepth = 512;
constexpr DWORD kMaxValueSize = 1 << 20;

struct PredefinedKey {
    HKEY handle;
    RegistryRoot root;
};

const std::array<PredefinedKey, kRegistryRoots>& PredefinedKeys() {
    static const std::array<PredefinedKey, kRegistryRoots> keys = {
        PredefinedKey{HKEY_CLASSES_ROOT, RegistryRoot::ClassesRoot},
        PredefinedKey{HKEY_CURRENT_USER, RegistryRoot::CurrentUser},
        PredefinedKey{HKEY_LOCAL_MACHINE, RegistryRoot::LocalMachine}};
    return keys;
}

std::u16string Name(LPCWSTR name) {
    return text::FromWide(name);
}

// A value's data as the journal shows it: strings as text, a DWORD as a
// number, anything else as hex.
JournalValue DataForJournal(DWORD type, const BYTE* data, DWORD size) {
    if (data == nullptr) {
        return JournalValue();
    }
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && size % 2 == 0) {
        std::u16string text;
        for (DWORD i = 0; i + 1 < size; i += 2) {
            const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
            if (unit == 0) {
                break;
            }
            text += unit;
        }
        return JournalValue(std::u16string_view(text));
    }
    if (type == REG_DWORD && size == 4) {
        DWORD number = 0;
        std::memcpy(&number, data, 4);
        return JournalValue(static_cast<unsigned long long>(number));
    }
    std::string hex;
    static constexpr char digits[] = "0123456789abcdef";
    for (DWORD i = 0; i < size; ++i) {
        hex += digits[data[i] >> 4];
        hex += digits[data[i] & 15];
    }
    return JournalValue(hex);
}

// A name copied to a caller's buffer of length characters (with its zero);
// ERROR_MORE_DATA when it does not fit.
LONG CopyName(const std::u16string& name, LPWSTR buffer, DWORD* length) {
    if (buffer == nullptr || length == nullptr) {
        return static_cast<LONG>(ERROR_INVALID_PARAMETER);
    }
    if (name.size() + 1 > *length) {
        return static_cast<LONG>(ERROR_MORE_DATA);
    }
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    *length = static_cast<DWORD>(name.size());
    return static_cast<LONG>(ERROR_SUCCESS);
}

constexpr LONG Code(DWORD error) {
    return static_cast<LONG>(error);
}

} // namespace

RegistryService::RegistryService(std::filesystem::path file, CallRecorder record,
                                 std::function<void(const std::string&)> report)
    : file(std::move(file)), record(std::move(record)), report(std::move(report)) {}

LONG RegistryService::FileFailure(const Error& error, DWORD code) {
    if (report) {
        report("registry: " + error.message);
    }
    return Code(code);
}

LONG RegistryService::Record(std::string call, std::vector<JournalValue> args, LONG result) {
    if (record) {
        record(std::move(call), std::move(args), JournalValue(static_cast<long>(result)));
    }
    return result;
}

void RegistryService::FailAfter(std::size_t calls, LONG error) {
    const std::lock_guard guard(lock);
    fault = Fault{calls, error};
}

void RegistryService::Heal() {
    const std::lock_guard guard(lock);
    fault.reset();
}

std::optional<LONG> RegistryService::InjectedFailure() {
    const std::lock_guard guard(lock);
    if (!fault) {
        return std::nullopt;
    }
    if (fault->callsLeft > 0) {
        --fault->callsLeft;
        return std::nullopt;
    }
    return fault->error;
}

bool RegistryService::Resolve(HKEY key, RegistryPath& path) const {
    for (const auto& predefined : PredefinedKeys()) {
        if (key == predefined.handle) {
            path = RegistryPath{predefined.root, {}};
            return true;
        }
    }
    const std::lock_guard guard(lock);
    const auto found = handles.find(key);
    if (found == handles.end()) {
        return false;
    }
    path = found->second.path;
    return true;
}

LONG RegistryService::Extend(RegistryPath& path, LPCWSTR subKey) const {
    const std::u16string text = Name(subKey);
    if (!text.empty() && text.front() == u'\\') {
        return Code(ERROR_BAD_PATHNAME);
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u'\\', start);
        if (end == std::u16string::npos) {
            end = text.size();
        }
        // Doubled and trailing separators are tolerated, as Windows does.
        if (end > start) {
            if (end - start > kMaxKeyName) {
                return Code(ERROR_INVALID_PARAMETER);
            }
            path.keys.push_back(text.substr(start, end - start));
            if (path.keys.size() > kMaxDepth) {
                return Code(ERROR_INVALID_PARAMETER);
            }
        }
        start = end + 1;
    }
    return Code(ERROR_SUCCESS);
}

HKEY RegistryService::NewHandle(RegistryPath path, DWORD pid) {
    const std::lock_guard guard(lock);
    nextHandle += 4;
    const HKEY handle = reinterpret_cast<HKEY>(nextHandle);
    handles.emplace(handle, KeyHandle{std::move(path), pid});
    return handle;
}

void RegistryService::CloseHandlesOf(DWORD pid) {
    const std::lock_guard guard(lock);
    std::erase_if(handles, [pid](const auto& entry) { return entry.second.pid == pid; });
}

LONG RegistryService::CreateKey(HKEY key, LPCWSTR subKey, HKEY* result, DWORD* disposition,
                                DWORD pid) {
    if (const std::optional<LONG> failure = InjectedFailure()) {
        return Record("RegCreateKeyExW", {JournalValue("injected fault")}, *failure);
    }
    RegistryPath path;
    const std::u16string subKeyText = Name(subKey);
    auto done = [&](LONG code, const std::u16string& where, DWORD how) {
        return Record("RegCreateKeyExW", {JournalValue(std::u16string_view(where)), how}, code);
    };
    if (result == nullptr || subKey == nullptr) {
        return done(Code(ERROR_INVALID_PARAMETER), subKeyText, 0);
    }
    *result = nullptr;
    if (!Resolve(key, path)) {
        return done(Code(ERROR_INVALID_HANDLE), subKeyText, 0);
    }
    if (const LONG checked = Extend(path, subKey); checked != Code(ERROR_SUCCESS)) {
        return done(checked, path.Text() + u"\\" + subKeyText, 0);
    }
    bool existed = true;
    bool created = false;
    const auto stored = file.Update([&](RegistryTree& tree) {
        if (tree.Find(path) != nullptr) {
            return false;
        }
        existed = false;
        tree.Create(path, created);
        return true;
    });
    if (!stored) {
        return done(FileFailure(stored.GetError(), ERROR_CANTWRITE), path.Text(), 0);
    }
    const DWORD how = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    if (disposition != nullptr) {
        *disposition = how;
    }
    *result = NewHandle(path, pid);
    return done(Code(ERROR_SUCCESS), path.Text(), how);
}

LONG RegistryService::OpenKey(HKEY key, LPCWSTR subKey, HKEY* result, DWORD pid) {
    if (const std::optional<LONG> failure = InjectedFailure()) {
        return Record("RegOpenKeyExW", {JournalValue("injected fault")}, *failure);
    }
    RegistryPath path;
    const std::u16string subKeyText = Name(subKey);
    auto done = [&](LONG code, const std::u16string& where) {
        return Record("RegOpenKeyExW", {JournalValue(std::u16string_view(where))}, code);
    };
    if (result == nullptr) {
        return done(Code(ERROR_INVALID_PARAMETER), subKeyText);
    }
    *result = nullptr;
    if (!Resolve(key, path)) {
        return done(Code(ERROR_INVALID_HANDLE), subKeyText);
    }
    if (const LONG checked = Extend(path, subKey); checked != Code(ERROR_SUCCESS)) {
        return done(checked, path.Text() + u"\\" + subKeyText);
    }
    bool exists = false;
    const auto read = file.Read([&](const RegistryTree& tree) { exists = tree.Find(path); });
    if (!read) {
        return done(FileFailure(read.GetError(), ERROR_REGISTRY_CORRUPT), path.Text());
    }
    if (!exists) {
        return done(Code(ERROR_FILE_NOT_FOUND), path.Text());
    }
    *result = NewHandle(path, pid);
    return done(Code(ERROR_SUCCESS), path.Text());
}

LONG RegistryService::CloseKey(HKEY key) {
    RegistryPath path;
    if (!Resolve(key, path)) {
        return Record("RegCloseKey", {}, Code(ERROR_INVALID_HANDLE));
    }
    {
        const std::lock_guard guard(lock);
        // Closing a predefined key is allowed and changes nothing.
        handles.erase(key);
    }
    return Record("RegCloseKey", {JournalValue(std::u16string_view(path.Text()))},
                  Code(ERROR_SUCCESS));
}

LONG RegistryService::QueryValue(HKEY key, LPCWSTR name, DWORD* type, BYTE* data, DWORD* size) {
    if (const std::optional<LONG> failure = InjectedFailure()) {
        return Record("RegQueryValueExW", {JournalValue("injected fault")}, *failure);
    }
    RegistryPath path;
    const std::u16string valueName = Name(name);
    const DWORD offered = size != nullptr ? *size : 0;
    auto done = [&](LONG code) {
        return Record("RegQueryValueExW",
                      {JournalValue(std::u16string_view(path.Text())),
                       JournalValue(std::u16string_view(valueName)), offered},
                      code);
    };
    if (!Resolve(key, path)) {
        return done(Code(ERROR_INVALID_HANDLE));
    }
    if (data != nullptr && size == nullptr) {
        return done(Code(ERROR_INVALID_PARAMETER));
    }
    bool keyExists = false;
    std::optional<RegistryValue> value;
    const auto read = file.Read([&](const RegistryTree& tree) {
        if (const RegistryKey* found = tree.Find(path)) {
            keyExists = true;
            if (const auto v = found->values.find(valueName); v != found->values.end()) {
                value = v->second;
            }
        }
    });
    if (!read) {
        return done(FileFailure(read.GetError(), ERROR_REGISTRY_CORRUPT));
    }
    if (!keyExists) {
        return done(Code(ERROR_KEY_DELETED));
    }
    if (!value) {
        return done(Code(ERROR_FILE_NOT_FOUND));
    }
    const auto needed = static_cast<DWORD>(value->data.size());
    if (type != nullptr) {
        *type = value->type;
    }
    if (data != nullptr && offered < needed) {
        *size = needed;
        return done(Code(ERROR_MORE_DATA));
    }
    if (data != nullptr) {
        std::copy(value->data.begin(), value->data.end(), data);
    }
    if (size != nullptr) {
        *size = needed;
    }
    return done(Code(ERROR_SUCCESS));
}

LONG RegistryService::SetValue(HKEY key, LPCWSTR name, DWORD type, const BYTE* data, DWORD size) {
    if (const std::optional<LONG> failure = InjectedFailure()) {
        return Record("RegSetValueExW", {JournalValue("injected fault")}, *failure);
    }
    RegistryPath path;
    const std::u16string valueName = Name(name);
    auto done = [&](LONG code) {
        return Record(
            "RegSetValueExW",
            {JournalValue(std::u16string_view(path.Text())),
             JournalValue(std::u16string_view(valueName)), type,
             DataForJournal(type, data, data != nullptr ? std::min(size, kMaxValueSize) : 0)},
            code);
    };
    if (!Resolve(key, path)) {
        return done(Code(ERROR_INVALID_HANDLE));
    }
    if ((data == nullptr && size != 0) || size > kMaxValueSize ||
        valueName.size() > kMaxValueName) {
        return done(Code(ERROR_INVALID_PARAMETER));
    }
    bool keyExists = true;
    RegistryValue value{type, std::vector<BYTE>(data, data + size)};
    const auto stored = file.Update([&](RegistryTree& tree) {
        RegistryKey* found = tree.Find(path);
        if (found == nullptr) {
            keyExists = false;
            return false;
        }
        found->values[valueName] = std::move(value);
        return true;
    });
    if (!stored) {
        return done(FileFailure(stored.GetError(), ERROR_CANTWRITE));
    }
    return done(Code(keyExists ? ERROR_SUCCESS : ERROR_KEY_DELETED));
}

LONG RegistryService::DeleteValue(HKEY key, LPCWSTR name) {
    if (const std::optional<LONG> failure = InjectedFailure()) {
        return Record("RegDeleteValueW", {JournalValue("injected fault")}, *failure);
    }
    RegistryPath path;
    const std::u16string valueName = Name(name);
    auto done = [&](LONG code) {
        return Record("RegDeleteValueW",
                      {JournalValue(std::u16string_view(path.Text())),
                       JournalValue(std::u16string_view(valueName))},
                      code);
    };
    if (!Resolve(key, path)) {
        return done(Code(ERROR_INVALID_HANDLE));
    }
    DWORD outcome = ERROR_SUCCESS;
    const auto stored = file.Update([&](RegistryTree& tree) {
        RegistryKey* found = tree.Find(path);
        if (found == nullptr) {
            outcome = ERROR_KEY_DELETED;
            return false;
        }
        if (found->values.erase(valueName) == 0) {
            outcome = ERROR_FILE_NOT_FOUND;
            return false;
        }
        return true;
    });
    if (!stored) {
        return done(FileFailure(stored.GetError(), ERROR_CANTWRITE));
    }
    return done(Code(outcome));
}

LONG RegistryService::DeleteKey(HKEY key, LPCWSTR subKey) {
    if (const std::optional<LONG> failure = InjectedFailure()) {
        return Record("RegDeleteKeyW", {JournalValue("injected fault")}, *failure);
    }
    RegistryPath path;
    const std::u16string subKeyText = Name(subKey);
    auto done = [&](LONG code) {
        return Record("RegDeleteKeyW", {JournalValue(std::u16string_view(path.Text()))}, code);
    };
    if (!Resolve(key, path)) {
        return done(Code(ERROR_INVALID_HANDLE));
    }
    const std::size_t depth = path.keys.size();
    if (const LONG checked = Extend(path, subKey); checked != Code(ERROR_SUCCESS)) {
        return done(checked);
    }
    // A root, or the key of the handle itself, is not deleted this way.
    if (path.keys.size() == depth) {
        return done(Code(ERROR_INVALID_PARAMETER));
    }
    bool removed = false;
    const auto stored = file.Update([&](RegistryTree& tree) {
        removed = tree.Remove(path);
        return removed;
    });
    if (!stored) {
        return done(FileFailure(stored.GetError(), ERROR_CANTWRITE));
    }
    return done(Code(removed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND));
}

LONG RegistryService::EnumKey(HKEY key, DWORD index, LPWSTR name, DWORD* nameLength) {
    if (const std::optional<LONG> failure = InjectedFailure()) {
        return Record("RegEnumKeyExW", {JournalValue("injected fault")}, *failure);
    }
    RegistryPath path;
    if (!Resolve(key, path)) {
        return Code(ERROR_INVALID_HANDLE);
    }
    std::optional<std::u16string> found;
    bool keyExists = false;
    const auto read = file.Read([&](const RegistryTree& tree) {
        if (const RegistryKey* k = tree.Find(path)) {
            keyExists = true;
            if (index < k->subkeys.size()) {
                found = std::next(k->subkeys.begin(), index)->first;
            }
        }
    });
    if (!read) {
        return FileFailure(read.GetError(), ERROR_REGISTRY_CORRUPT);
    }
    if (!keyExists) {
        return Code(ERROR_KEY_DELETED);
    }
    if (!found) {
        return Code(ERROR_NO_MORE_ITEMS);
    }
    return CopyName(*found, name, nameLength);
}

LONG RegistryService::EnumValue(HKEY key, DWORD index, LPWSTR name, DWORD* nameLength, DWORD* type,
                                BYTE* data, DWORD* size) {
    if (const std::optional<LONG> failure = InjectedFailure()) {
        return Record("RegEnumValueW", {JournalValue("injected fault")}, *failure);
    }
    RegistryPath path;
    if (!Resolve(key, path)) {
        return Code(ERROR_INVALID_HANDLE);
    }
    if (data != nullptr && size == nullptr) {
        return Code(ERROR_INVALID_PARAMETER);
    }
    std::optional<std::pair<std::u16string, RegistryValue>> found;
    bool keyExists = false;
    const auto read = file.Read([&](const RegistryTree& tree) {
        if (const RegistryKey* k = tree.Find(path)) {
            keyExists = true;
            if (index < k->values.size()) {
                found = *std::next(k->values.begin(), index);
            }
        }
    });
    if (!read) {
        return FileFailure(read.GetError(), ERROR_REGISTRY_CORRUPT);
    }
    if (!keyExists) {
        return Code(ERROR_KEY_DELETED);
    }
    if (!found) {
        return Code(ERROR_NO_MORE_ITEMS);
    }
    if (const LONG copied = CopyName(found->first, name, nameLength);
        copied != Code(ERROR_SUCCESS)) {
        return copied;
    }
    const auto needed = static_cast<DWORD>(found->second.data.size());
    if (type != nullptr) {
        *type = found->second.type;
    }
    if (data != nullptr && *size < needed) {
        *size = needed;
        return Code(ERROR_MORE_DATA);
    }
    if (data != nullptr) {
        std::copy(found->second.data.begin(), found->second.data.end(), data);
    }
    if (size != nullptr) {
        *size = needed;
    }
    return Code(ERROR_SUCCESS);
}

Result<RegistryTree> RegistryService::Snapshot() {
    RegistryTree copy;
    const auto read = file.Read([&](const RegistryTree& tree) { copy = tree; });
    if (!read) {
        return read.GetError();
    }
    return copy;
}

std::size_t RegistryService::OpenHandles() const {
    const std::lock_guard guard(lock);
    return handles.size();
}

} // namespace sim
