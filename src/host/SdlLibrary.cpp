#include "host/SdlLibrary.h"

#include <optional>
#include <string>

#include "swf/base/LibraryFunctions.h"

namespace host {
namespace {

using swf::FindFunction;

// The name of SDL2's binary interface, the same for every 2.x release.
constexpr const char* kSdlName = "libSDL2-2.0.so.0";

struct Loaded {
    std::optional<SdlLibrary> library;
    std::string error;
};

Loaded Load() {
    Loaded loaded;
    // Kept loaded for the rest of the run.
    void* library = ::dlopen(kSdlName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        loaded.error = why != nullptr ? why : std::string(kSdlName) + " cannot be loaded";
        return loaded;
    }
    SdlLibrary s;
    const bool found = FindFunction(library, "SDL_InitSubSystem", s.InitSubSystem) &&
                       FindFunction(library, "SDL_QuitSubSystem", s.QuitSubSystem) &&
                       FindFunction(library, "SDL_GetError", s.GetError) &&
                       FindFunction(library, "SDL_CreateWindow", s.CreateWindow) &&
                       FindFunction(library, "SDL_DestroyWindow", s.DestroyWindow) &&
                       FindFunction(library, "SDL_ShowWindow", s.ShowWindow) &&
                       FindFunction(library, "SDL_SetWindowSize", s.SetWindowSize) &&
                       FindFunction(library, "SDL_CreateRenderer", s.CreateRenderer) &&
                       FindFunction(library, "SDL_DestroyRenderer", s.DestroyRenderer) &&
                       FindFunction(library, "SDL_CreateTexture", s.CreateTexture) &&
                       FindFunction(library, "SDL_DestroyTexture", s.DestroyTexture) &&
                       FindFunction(library, "SDL_UpdateTexture", s.UpdateTexture) &&
                       FindFunction(library, "SDL_RenderClear", s.RenderClear) &&
                       FindFunction(library, "SDL_RenderCopy", s.RenderCopy) &&
                       FindFunction(library, "SDL_RenderPresent", s.RenderPresent) &&
                       FindFunction(library, "SDL_PollEvent", s.PollEvent) &&
                       FindFunction(library, "SDL_StartTextInput", s.StartTextInput) &&
                       FindFunction(library, "SDL_CaptureMouse", s.CaptureMouse) &&
                       FindFunction(library, "SDL_free", s.free) &&
                       FindFunction(library, "SDL_OpenAudioDevice", s.OpenAudioDevice) &&
                       FindFunction(library, "SDL_CloseAudioDevice", s.CloseAudioDevice) &&
                       FindFunction(library, "SDL_PauseAudioDevice", s.PauseAudioDevice) &&
                       FindFunction(library, "SDL_QueueAudio", s.QueueAudio) &&
                       FindFunction(library, "SDL_GetQueuedAudioSize", s.GetQueuedAudioSize);
    if (!found) {
        loaded.error = std::string(kSdlName) + " lacks a function this program calls";
        return loaded;
    }
    loaded.library = s;
    return loaded;
}

const Loaded& Library() {
    static const Loaded loaded = Load();
    return loaded;
}

} // namespace

const SdlLibrary* Sdl() {
    const Loaded& loaded = Library();
    return loaded.library ? &*loaded.library : nullptr;
}

const char* SdlLoadError() {
    return Library().error.c_str();
}

} // namespace host
