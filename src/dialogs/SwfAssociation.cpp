#include "dialogs/SwfAssociation.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/ProgramPath.h"
#include "framework/MessageBox.h"
#include "platform/Dialogs.h"
#include "platform/Program.h"
#include "platform/Registry.h"

namespace player {
namespace {

constexpr char16_t kExtension[] = u".swf";
constexpr char16_t kDefaultClass[] = u"ShockwaveFlashFile";
constexpr char16_t kIconKey[] = u"DefaultIcon";
constexpr char16_t kCommandKey[] = u"Shell\\Open\\Command";
constexpr char16_t kDone[] = u"Successfully associate SWF with Vantrel";

// The class name is read into 256 characters, offering all but the last, so
// that a value stored without its terminator still ends in one.
constexpr std::size_t kClassNameLength = 256;
constexpr DWORD kClassNameOffered = 510;

// The keys opened so far, closed in the order they were opened, however the
// operation ends.
class OpenKeys {
public:
    OpenKeys() = default;
    ~OpenKeys() {
        for (const HKEY key : keys) {
            RegCloseKey(key);
        }
    }
    OpenKeys(const OpenKeys&) = delete;
    OpenKeys& operator=(const OpenKeys&) = delete;

    // Creates or opens parent\subKey; null when that fails.
    HKEY Create(HKEY parent, const char16_t* subKey) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, 0, nullptr, &key,
                            &disposition) != static_cast<LONG>(ERROR_SUCCESS)) {
            return nullptr;
        }
        keys.push_back(key);
        return key;
    }

private:
    std::vector<HKEY> keys;
};

// The key's default value: the text with its terminator, (characters + 1) x 2
// bytes.
bool SetDefaultText(HKEY key, const std::u16string& text) {
    return RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(char16_t))) ==
           static_cast<LONG>(ERROR_SUCCESS);
}

// The class ".swf" names, or the one it is given when it names none; nothing
// when the registry fails.
std::optional<std::u16string> ClassOfExtension(HKEY extension) {
    std::array<char16_t, kClassNameLength> name{};
    DWORD type = 0;
    DWORD size = kClassNameOffered;
    const LONG read = RegQueryValueExW(extension, nullptr, nullptr, &type,
                                       reinterpret_cast<BYTE*>(name.data()), &size);
    if (read == static_cast<LONG>(ERROR_SUCCESS) && size > sizeof(char16_t)) {
        return std::u16string(name.data());
    }
    if (read != static_cast<LONG>(ERROR_SUCCESS) &&
        read != static_cast<LONG>(ERROR_FILE_NOT_FOUND)) {
        return std::nullopt;
    }
    if (!SetDefaultText(extension, kDefaultClass)) {
        return std::nullopt;
    }
    return std::u16string(kDefaultClass);
}

} // namespace

void AssociateSwf() {
    // Closed before the message is shown, as the last step of the writing.
    {
        OpenKeys keys;
        const HKEY extension = keys.Create(HKEY_CLASSES_ROOT, kExtension);
        if (extension == nullptr) {
            return;
        }
        const std::optional<std::u16string> className = ClassOfExtension(extension);
        if (!className) {
            return;
        }
        const HKEY fileClass = keys.Create(HKEY_CLASSES_ROOT, className->c_str());
        if (fileClass == nullptr) {
            return;
        }
        const HKEY icon = keys.Create(fileClass, kIconKey);
        // The path whole, however long: a command cut short would start
        // nothing.
        const std::u16string program = ProgramPath();
        if (icon == nullptr || !SetDefaultText(icon, program + u",0")) {
            return;
        }
        const HKEY command = keys.Create(fileClass, kCommandKey);
        if (command == nullptr || !SetDefaultText(command, u"\"" + program + u"\" %1")) {
            return;
        }
    }
    framework::ShowMessageBox(kDone, MB_OK);
}

} // namespace player
