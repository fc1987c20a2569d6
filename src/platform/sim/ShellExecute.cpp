// ShellExecuteExW (platform/Shell.h): documents opened through the classes of
// HKEY_CLASSES_ROOT, on the calling program's own calls, as the handheld's
// shell does in the program that asks.
#include "platform/sim/ShellExecute.h"

#include <vector>

#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Program.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/sim/Device.h"

namespace sim {
namespace {

constexpr char16_t kDefaultVerb[] = u"open";

// The key's default text; nothing when the key or a text value is missing.
std::optional<std::u16string> DefaultText(const std::u16string& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        static_cast<LONG>(ERROR_SUCCESS)) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::u16string> text;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) ==
            static_cast<LONG>(ERROR_SUCCESS) &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<char16_t> buffer(size / 2 + 1, u'\0');
        if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                             &size) == static_cast<LONG>(ERROR_SUCCESS)) {
            text = std::u16string(buffer.data());
        }
    }
    RegCloseKey(key);
    return text;
}

bool IsProgram(std::u16string_view path) {
    return path.size() >= 4 && text::EqualsIgnoringCase(path.substr(path.size() - 4), u".exe");
}

// The extension of the path's last name, with its dot; empty for none.
std::u16string ExtensionOf(std::u16string_view path) {
    const std::size_t name = path.find_last_of(u"\\/");
    const std::size_t dot = path.rfind(u'.');
    if (dot == std::u16string_view::npos || (name != std::u16string_view::npos && dot < name)) {
        return {};
    }
    return std::u16string(path.substr(dot));
}

BOOL Fail(SHELLEXECUTEINFOW& info, int code, DWORD error) {
    info.hInstApp = reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(code));
    SetLastError(error);
    return FALSE;
}

BOOL Start(SHELLEXECUTEINFOW& info, const ShellCommand& command) {
    std::u16string commandLine = command.commandLine;
    PROCESS_INFORMATION started;
    if (CreateProcessW(command.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, nullptr, &started) == FALSE) {
        return Fail(info, SE_ERR_FNF, GetLastError());
    }
    CloseHandle(started.hThread);
    if ((info.fMask & SEE_MASK_NOCLOSEPROCESS) != 0) {
        info.hProcess = started.hProcess;
    } else {
        CloseHandle(started.hProcess);
    }
    // Success is any value above 32.
    info.hInstApp = reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(33));
    return TRUE;
}

BOOL Execute(SHELLEXECUTEINFOW& info) {
    if (info.lpFile == nullptr) {
        return Fail(info, SE_ERR_FNF, ERROR_INVALID_PARAMETER);
    }
    const std::u16string file = text::FromWide(info.lpFile);
    if (IsProgram(file)) {
        return Start(info, ShellCommand{file, text::FromWide(info.lpParameters)});
    }
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return Fail(info, SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
    }
    const std::u16string extension = ExtensionOf(file);
    const std::optional<std::u16string> fileClass =
        extension.empty() ? std::nullopt : DefaultText(extension);
    const std::u16string verb = info.lpVerb != nullptr ? text::FromWide(info.lpVerb) : kDefaultVerb;
    const std::optional<std::u16string> command =
        fileClass && !fileClass->empty()
            ? DefaultText(*fileClass + u"\\Shell\\" + verb + u"\\Command")
            : std::nullopt;
    const std::optional<ShellCommand> start =
        command ? CommandForDocument(*command, file) : std::nullopt;
    if (!start) {
        return Fail(info, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
    }
    return Start(info, *start);
}

} // namespace

std::optional<ShellCommand> CommandForDocument(std::u16string_view command,
                                               std::u16string_view document) {
    std::u16string expanded;
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (command[i] == u'%' && i + 1 < command.size() &&
            (command[i + 1] == u'1' || command[i + 1] == u'%')) {
            expanded += command[i + 1] == u'1' ? std::u16string(document) : u"%";
            ++i;
        } else {
            expanded += command[i];
        }
    }
    std::u16string_view rest = expanded;
    while (!rest.empty() && rest.front() == u' ') {
        rest.remove_prefix(1);
    }
    ShellCommand start;
    std::size_t end = 0;
    if (!rest.empty() && rest.front() == u'"') {
        end = rest.find(u'"', 1);
        start.program = std::u16string(
            rest.substr(1, end == std::u16string_view::npos ? std::u16string_view::npos : end - 1));
        end = end == std::u16string_view::npos ? rest.size() : end + 1;
    } else {
        end = std::min(rest.find(u' '), rest.size());
        start.program = std::u16string(rest.substr(0, end));
    }
    if (start.program.empty()) {
        return std::nullopt;
    }
    rest.remove_prefix(end);
    while (!rest.empty() && rest.front() == u' ') {
        rest.remove_prefix(1);
    }
    start.commandLine = std::u16string(rest);
    return start;
}

} // namespace sim

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const BOOL done = sim::Execute(*info);
    if (sim::Device* device = sim::Device::Current()) {
        device->Record("ShellExecuteExW",
                       {sim::JournalValue(text::FromWide(info->lpVerb)),
                        sim::JournalValue(text::FromWide(info->lpFile))},
                       done != FALSE ? sim::JournalValue(0L)
                                     : sim::JournalValue(static_cast<long>(GetLastError())));
    }
    return done;
}
