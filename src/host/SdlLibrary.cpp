#include "host/SdlLibrary.h"

#include <dlfcn.h>

#include <optional>
#include <string>

namespace host {
namespace {

// The name of SDL2's binary interface, the same for every 2.x release.
constexpr const char* kSdlName = "libSDL2-2.0.so.0";

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

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
    const bool found = Find(library, "SDL_InitSubSystem", s.InitSubSystem) &&
                       Find(library, "SDL_QuitSubSystem", s.QuitSubSystem) &&
                       Find(library, "SDL_GetError", s.GetError) &&
                       Find(library, "SDL_CreateWindow", s.CreateWindow) &&
                       Find(library, "SDL_DestroyWindow", s.DestroyWindow) &&
                       Find(library, "SDL_ShowWindow", s.ShowWindow) &&
                       Find(library, "SDL_SetWindowSize", s.SetWindowSize) &&
                       Find(library, "SDL_CreateRenderer", s.CreateRenderer) &&
                       Find(library, "SDL_DestroyRenderer", s.DestroyRenderer) &&
                       Find(library, "SDL_CreateTexture", s.CreateTexture) &&
                       Find(library, "SDL_DestroyTexture", s.DestroyTexture) &&
                       Find(library, "SDL_UpdateTexture", s.UpdateTexture) &&
                       Find(library, "SDL_RenderClear", s.RenderClear) &&
                       Find(library, "SDL_RenderCopy", s.RenderCopy) &&
                       Find(library, "SDL_RenderPresent", s.RenderPresent) &&
                       Find(library, "SDL_PollEvent", s.PollEvent) &&
                       Find(library, "SDL_StartTextInput", s.StartTextInput) &&
                       Find(library, "SDL_CaptureMouse", s.CaptureMouse) &&
                       Find(library, "SDL_free", s.free) &&
                       Find(library, "SDL_OpenAudioDevice", s.OpenAudioDevice) &&
                       Find(library, "SDL_CloseAudioDevice", s.CloseAudioDevice) &&
                       Find(library, "SDL_PauseAudioDevice", s.PauseAudioDevice) &&
                       Find(library, "SDL_QueueAudio", s.QueueAudio) &&
                       Find(library, "SDL_GetQueuedAudioSize", s.GetQueuedAudioSize);
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
