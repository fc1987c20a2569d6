// SDL2, loaded when a window or the host's speaker is first opened rather
// than when the program starts: SDL brings the window system's and the sound
// servers' libraries, some forty in all, whose loading costs more at every
// start than the rest of the program, and headless runs need none of them.
#pragma once

#include <SDL.h>

namespace host {

// The functions the window and the speaker call, by their names without
// "SDL_".
struct SdlLibrary {
    decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&::SDL_GetError) GetError = nullptr;
    decltype(&::SDL_CreateWindow) CreateWindow = nullptr;
    decltype(&::SDL_DestroyWindow) DestroyWindow = nullptr;
    decltype(&::SDL_ShowWindow) ShowWindow = nullptr;
    decltype(&::SDL_SetWindowSize) SetWindowSize = nullptr;
    decltype(&::SDL_CreateRenderer) CreateRenderer = nullptr;
    decltype(&::SDL_DestroyRenderer) DestroyRenderer = nullptr;
    decltype(&::SDL_CreateTexture) CreateTexture = nullptr;
    decltype(&::SDL_DestroyTexture) DestroyTexture = nullptr;
    decltype(&::SDL_UpdateTexture) UpdateTexture = nullptr;
    decltype(&::SDL_RenderClear) RenderClear = nullptr;
    decltype(&::SDL_RenderCopy) RenderCopy = nullptr;
    decltype(&::SDL_RenderPresent) RenderPresent = nullptr;
    decltype(&::SDL_PollEvent) PollEvent = nullptr;
    decltype(&::SDL_StartTextInput) StartTextInput = nullptr;
    decltype(&::SDL_CaptureMouse) CaptureMouse = nullptr;
    decltype(&::SDL_free) free = nullptr;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&::SDL_QueueAudio) QueueAudio = nullptr;
    decltype(&::SDL_GetQueuedAudioSize) GetQueuedAudioSize = nullptr;
};

// The library's functions, loaded on the first call; nullptr when the
// library cannot be loaded, and then there is no window and no speaker.
// Safe from any thread.
const SdlLibrary* Sdl();

// Why Sdl() gave nullptr, for the message that says so.
const char* SdlLoadError();

} // namespace host
