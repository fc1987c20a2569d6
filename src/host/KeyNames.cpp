#include "host/KeyNames.h"

#include <cctype>

#include "platform/Input.h"

namespace host {
namespace {

constexpr struct {
    DeviceButton button;
    const char* name;
} kButtonNames[] = {
    {DeviceButton::App1, "APP1"},     {DeviceButton::App2, "APP2"},
    {DeviceButton::App3, "APP3"},     {DeviceButton::App4, "APP4"},
    {DeviceButton::App5, "APP5"},     {DeviceButton::App6, "APP6"},
    {DeviceButton::Action, "ACTION"}, {DeviceButton::Record, "RECORD"},
    {DeviceButton::Talk, "TALK"},     {DeviceButton::End, "END"},
    {DeviceButton::Up, "UP"},         {DeviceButton::Down, "DOWN"},
    {DeviceButton::Left, "LEFT"},     {DeviceButton::Right, "RIGHT"},
};

constexpr struct {
    const char* name;
    BYTE key;
} kKeyNames[] = {
    {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},  {"ESCAPE", VK_ESCAPE},  {"ESC", VK_ESCAPE},
    {"TAB", VK_TAB},       {"BACK", VK_BACK},     {"BACKSPACE", VK_BACK}, {"SPACE", VK_SPACE},
    {"DELETE", VK_DELETE}, {"INSERT", VK_INSERT}, {"HOME", VK_HOME},      {"END", VK_END},
    {"PRIOR", VK_PRIOR},   {"PAGEUP", VK_PRIOR},  {"NEXT", VK_NEXT},      {"PAGEDOWN", VK_NEXT},
    {"LEFT", VK_LEFT},     {"UP", VK_UP},         {"RIGHT", VK_RIGHT},    {"DOWN", VK_DOWN},
};

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

std::optional<BYTE> PlainKey(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<BYTE>(name[0]); // 'A'..'Z' and '0'..'9' are their own codes
    }
    for (const auto& entry : kKeyNames) {
        if (name == entry.name) {
            return entry.key;
        }
    }
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
        int number = 0;
        for (std::size_t i = 1; i < name.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
                return std::nullopt;
            }
            number = number * 10 + (name[i] - '0');
        }
        if (number >= 1 && number <= 24 && name[1] != '0') {
            return static_cast<BYTE>(VK_F1 + number - 1);
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<DeviceButton> ButtonByName(std::string_view name) {
    const std::string upper = Upper(name);
    for (const auto& entry : kButtonNames) {
        if (upper == entry.name) {
            return entry.button;
        }
    }
    return std::nullopt;
}

const char* ButtonName(DeviceButton button) {
    for (const auto& entry : kButtonNames) {
        if (entry.button == button) {
            return entry.name;
        }
    }
    return "?";
}

std::optional<KeyStroke> KeyByName(std::string_view name) {
    std::string rest = Upper(name);
    KeyStroke stroke;
    for (;;) {
        if (rest.rfind("CTRL+", 0) == 0) {
            stroke.modifiers |= MOD_CONTROL;
            rest.erase(0, 5);
        } else if (rest.rfind("SHIFT+", 0) == 0) {
            stroke.modifiers |= MOD_SHIFT;
            rest.erase(0, 6);
        } else {
            break;
        }
    }
    const auto key = PlainKey(rest);
    if (!key) {
        return std::nullopt;
    }
    stroke.key = *key;
    return stroke;
}

} // namespace host
