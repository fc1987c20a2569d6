#include "framework/WindowClasses.h"

#include <cstdint>

#include "platform/Program.h"

namespace framework {
namespace {

constexpr char16_t kClassPrefix[] = u"Framework:";

void AppendHex(std::u16string& out, std::uintptr_t value) {
    constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::u16string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    out += text;
}

std::uintptr_t Bits(const void* handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

bool IsRegistered(HINSTANCE instance, const std::u16string& name) {
    WNDCLASSW existing;
    return GetClassInfoW(instance, name.c_str(), &existing) != FALSE;
}

// Registers wndClass unless a class of that name is already there (another
// window of the program asked first).
bool Register(const WNDCLASSW& wndClass) {
    if (RegisterClassW(&wndClass) != 0) {
        return true;
    }
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

std::u16string RegisterOwnClass(HINSTANCE instance, const WindowClassTraits& traits,
                                WNDPROC procedure) {
    // The name spells out the traits, so equal traits share a class.
    std::u16string name = kClassPrefix;
    AppendHex(name, traits.style);
    for (const void* handle :
         {static_cast<const void*>(traits.cursor), static_cast<const void*>(traits.background),
          static_cast<const void*>(traits.icon)}) {
        name += u':';
        AppendHex(name, Bits(handle));
    }
    if (IsRegistered(instance, name)) {
        return name;
    }
    WNDCLASSW wndClass;
    wndClass.style = traits.style;
    wndClass.lpfnWndProc = procedure;
    wndClass.hInstance = instance;
    wndClass.hIcon = traits.icon;
    wndClass.hCursor = traits.cursor;
    wndClass.hbrBackground = traits.background;
    wndClass.lpszClassName = name.c_str();
    return Register(wndClass) ? name : std::u16string{};
}

std::optional<Superclass> RegisterSuperclass(HINSTANCE instance, const std::u16string& baseClass,
                                             WNDPROC procedure) {
    WNDCLASSW base;
    if (GetClassInfoW(nullptr, baseClass.c_str(), &base) == FALSE || base.lpfnWndProc == nullptr) {
        return std::nullopt;
    }
    Superclass superclass{kClassPrefix + baseClass, base.lpfnWndProc};
    if (IsRegistered(instance, superclass.name)) {
        return superclass;
    }
    WNDCLASSW wndClass = base;
    wndClass.style &= ~CS_GLOBALCLASS;
    wndClass.lpfnWndProc = procedure;
    wndClass.hInstance = instance;
    wndClass.lpszMenuName = nullptr;
    wndClass.lpszClassName = superclass.name.c_str();
    if (!Register(wndClass)) {
        return std::nullopt;
    }
    return superclass;
}

} // namespace framework
