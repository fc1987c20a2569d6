#include "host/SystemState.h"

#include <cstdio>
#include <string>

#include "host/Session.h"
#include "platform/Display.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/sim/SystemServices.h"
#include "platform/sim/WindowManager.h"

namespace host {
namespace {

using Json = nlohmann::ordered_json;

std::u16string Utf16Units(const std::vector<BYTE>& data) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    return text;
}

Json ValueJson(const sim::RegistryValue& value) {
    if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
        std::u16string text = Utf16Units(value.data);
        if (const auto end = text.find(u'\0'); end != std::u16string::npos) {
            text.resize(end);
        }
        return text::ToUtf8(text);
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        return static_cast<std::uint32_t>(value.data[0] | (value.data[1] << 8) |
                                          (value.data[2] << 16) |
                                          (static_cast<std::uint32_t>(value.data[3]) << 24));
    }
    if (value.type == REG_MULTI_SZ) {
        Json texts = Json::array();
        std::u16string current;
        for (const char16_t unit : Utf16Units(value.data)) {
            if (unit != u'\0') {
                current += unit;
            } else if (!current.empty()) {
                texts.push_back(text::ToUtf8(current));
                current.clear();
            } else {
                break; // the empty string that ends the list
            }
        }
        return texts;
    }
    std::string hex;
    for (const BYTE byte : value.data) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        hex += digits;
    }
    return Json{{"type", value.type}, {"hex", hex}};
}

// A key's values, then its subkeys; a subkey named like a value of the same
// key takes the name (such a pair is rare, and the subkey holds more).
Json KeyJson(const sim::RegistryKey& key) {
    Json object = Json::object();
    for (const auto& [name, value] : key.values) {
        object[text::ToUtf8(name)] = ValueJson(value);
    }
    for (const auto& [name, subkey] : key.subkeys) {
        object[text::ToUtf8(name)] = KeyJson(subkey);
    }
    return object;
}

} // namespace

int OrientationDegrees(unsigned long orientation) {
    switch (orientation) {
    case DMDO_0:
        return 0;
    case DMDO_90:
        return 90;
    case DMDO_180:
        return 180;
    case DMDO_270:
        return 270;
    default:
        return -1;
    }
}

nlohmann::ordered_json ScreenState(Session& session) {
    sim::Device& device = session.Device();
    return Json{{"width", device.ScreenWidth()},
                {"height", device.ScreenHeight()},
                {"dpi", device.PixelsPerInch()},
                {"orientation", OrientationDegrees(device.Services().Display().Orientation())}};
}

bool SipButtonVisible(Session& session) {
    const sim::Window* active = session.Device().Windows().Active();
    if (active == nullptr) {
        return true;
    }
    return !session.Device().Services().Shell().Of(active->handle).sipButtonHidden;
}

nlohmann::ordered_json PowerState(Session& session) {
    const sim::PowerStatus status = session.Device().Services().Power().Status();
    Json requirements = Json::array();
    for (const sim::PowerRequirementInfo& requirement : status.requirements) {
        requirements.push_back(Json{{"device", text::ToUtf8(requirement.device)},
                                    {"state", static_cast<int>(requirement.state)},
                                    {"flags", requirement.flags}});
    }
    // The system power state by the name SetSystemPowerState knows it by.
    const char* systemState = status.suspended ? "suspend" : status.backlightOn ? "on" : "useridle";
    return Json{{"backlight", status.backlightOn},
                {"suspended", status.suspended},
                {"systemPowerState", systemState},
                {"requirements", std::move(requirements)}};
}

nlohmann::ordered_json RegistryState(Session& session) {
    const auto snapshot = session.Device().Services().Registry().Snapshot();
    if (!snapshot) {
        return Json{{"error", snapshot.GetError().message}};
    }
    Json roots = Json::object();
    for (const sim::RegistryRoot root :
         {sim::RegistryRoot::ClassesRoot, sim::RegistryRoot::CurrentUser,
          sim::RegistryRoot::LocalMachine}) {
        const sim::RegistryKey* key = snapshot->Find(sim::RegistryPath{root, {}});
        roots[text::ToUtf8(std::u16string(sim::RootName(root)))] =
            key != nullptr ? KeyJson(*key) : Json::object();
    }
    return roots;
}

} // namespace host
