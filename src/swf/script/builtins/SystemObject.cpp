// System and System.capabilities, describing the device the movie plays
// on: a Pocket PC handheld, Windows CE, its screen and its pixels per inch.
// The screen is the device's own once the host tells it (SetSystemScreen);
// until then it is the usual handheld's, 240 x 320 at 96 pixels per inch.
// getVersion() and _level0.$version give the player's version string.
#include <string>

#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

constexpr std::string_view playerVersion = "WIN 8,0,0,0";

Completion GetVersion(NativeCall& call) {
    return Value(call.vm.Intern(playerVersion));
}

Completion DoNothing(NativeCall&) {
    return Value();
}

// The capabilities that do not depend on the screen, in Flash's order.
struct Flag {
    std::string_view name;
    bool value;
};
constexpr Flag flags[] = {
    {"avHardwareDisable", true},
    {"hasAccessibility", false},
    {"hasAudio", true},
    {"hasAudioEncoder", false},
    {"hasEmbeddedVideo", true},
    {"hasIME", false},
    {"hasMP3", true},
    {"hasPrinting", false},
    {"hasScreenBroadcast", false},
    {"hasScreenPlayback", false},
    {"hasStreamingAudio", true},
    {"hasStreamingVideo", false},
    {"hasTLS", false},
    {"hasVideoEncoder", false},
    {"isDebugger", false},
    {"localFileReadDisable", false},
    {"windowlessDisable", true},
};

std::string ServerString(int width, int height, int dpi) {
    // The short names of the capabilities, as players send them to servers.
    auto yes = [](bool b) { return b ? "t" : "f"; };
    std::string s;
    s += "A=t&SA=t&SV=f&EV=t&MP3=t&AE=f&VE=f&ACC=f&PR=f&SP=f&SB=f&DEB=f";
    s += "&V=WIN%208%2C0%2C0%2C0&M=Vantrel%20Windows%20CE";
    s += "&R=" + std::to_string(width) + "x" + std::to_string(height);
    s += "&DP=" + std::to_string(dpi);
    s += "&COL=color&AR=1.0&OS=Windows%20CE&L=en&IME=f&PT=StandAlone";
    s += std::string("&AVD=") + yes(true) + "&LFD=f&WD=t&TLS=f";
    return s;
}

void PutScreen(Vm& vm, Object* capabilities, int width, int height, int dpi) {
    AddValue(vm, capabilities, "screenResolutionX", Value(double(width)));
    AddValue(vm, capabilities, "screenResolutionY", Value(double(height)));
    AddValue(vm, capabilities, "screenDPI", Value(double(dpi)));
    AddValue(vm, capabilities, "serverString",
             Value(vm.NewString(ServerString(width, height, dpi))));
}

Object* Capabilities(Vm& vm) {
    const Property* system = vm.Global()->Properties().Find(vm.Intern("System"), 8);
    Object* systemObject = system ? system->value.ObjectOrNull() : nullptr;
    const Property* p =
        systemObject ? systemObject->Properties().Find(vm.Intern("capabilities"), 8) : nullptr;
    return p ? p->value.ObjectOrNull() : nullptr;
}

constexpr Method systemMethods[] = {
    {"setClipboard", DoNothing, 7},
    {"showSettings", DoNothing, 6},
};

constexpr Method securityMethods[] = {
    {"allowDomain", DoNothing, 6},
    {"allowInsecureDomain", DoNothing, 7},
    {"loadPolicyFile", DoNothing, 7},
};

} // namespace

void InstallSystem(Vm& vm) {
    Object* system = vm.NewObject();
    AddMethods(vm, system, systemMethods);
    AddValue(vm, system, "useCodepage", Value(false), 6);
    AddValue(vm, system, "exactSettings", Value(true), 7);
    Object* security = vm.NewObject();
    AddMethods(vm, security, securityMethods);
    AddValue(vm, system, "security", Value(security), 6);

    Object* capabilities = vm.NewObject();
    for (const Flag& f : flags) {
        AddValue(vm, capabilities, f.name, Value(f.value));
    }
    AddValue(vm, capabilities, "language", Value(vm.Intern("en")));
    AddValue(vm, capabilities, "manufacturer", Value(vm.Intern("Vantrel Windows CE")));
    AddValue(vm, capabilities, "os", Value(vm.Intern("Windows CE")));
    AddValue(vm, capabilities, "pixelAspectRatio", Value(1.0));
    AddValue(vm, capabilities, "playerType", Value(vm.Intern("StandAlone")));
    AddValue(vm, capabilities, "screenColor", Value(vm.Intern("color")));
    AddValue(vm, capabilities, "version", Value(vm.Intern(playerVersion)));
    PutScreen(vm, capabilities, 240, 320, 96);
    AddValue(vm, system, "capabilities", Value(capabilities));

    AddGlobal(vm, "System", Value(system));
    AddGlobal(vm, "getVersion", Value(MakeFunction(vm, GetVersion)));
}

void SetSystemScreen(Vm& vm, int width, int height, int dpi) {
    if (Object* capabilities = Capabilities(vm)) {
        PutScreen(vm, capabilities, width, height, dpi);
    }
}

std::string_view PlayerVersion() {
    return playerVersion;
}

} // namespace swf::script::builtins
