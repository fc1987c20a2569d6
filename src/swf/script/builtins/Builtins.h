// The built-in classes and functions, one file each. InstallAll makes them
// all in a new engine, in the order they depend on each other.
#pragma once

#include <cstdint>
#include <string_view>

namespace swf::script {
class Vm;
class Object;
} // namespace swf::script

namespace swf::script::builtins {

void InstallAll(Vm& vm);

void InstallObject(Vm& vm);
void InstallObjectMembers(Vm& vm);
void InstallFunction(Vm& vm);
void InstallGlobalFunctions(Vm& vm);
void InstallNativeTable(Vm& vm);
void InstallArray(Vm& vm);
void InstallString(Vm& vm);
void InstallNumber(Vm& vm);
void InstallBoolean(Vm& vm);
void InstallMath(Vm& vm);
void InstallDate(Vm& vm);
void InstallError(Vm& vm);
void InstallAsBroadcaster(Vm& vm);
// Gives a built-in object the listener members AsBroadcaster.initialize
// gives, whatever the movie's version, hidden and permanent plus
// extraFlags (the version bits of the members).
void MakeBuiltInBroadcaster(Vm& vm, Object* target, std::uint16_t extraFlags);
void InstallSystem(Vm& vm);

// The screen System.capabilities describes: the device's, in pixels.
void SetSystemScreen(Vm& vm, int width, int height, int pixelsPerInch);
// The player's version as $version and getVersion() give it.
std::string_view PlayerVersion();

} // namespace swf::script::builtins
