// The Sound class: the sound transformation of a clip or of the whole movie as
// scripts set and read it, and the exported sounds scripts attach, start
// and stop through the player's sound playback.
#pragma once

namespace swf::script {
class Vm;
}

namespace swf::script::sound {

void InstallSound(Vm& vm);

} // namespace swf::script::sound
