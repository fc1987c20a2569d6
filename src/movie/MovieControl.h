// The hosted movie control and its dispatch operations. The control is made
// by its class id through the device's control host and driven only by
// dispatch calls; without a control window every operation returns at once,
// doing nothing, and every read gives 0 (false).
#pragma once

#include <string>

#include "platform/ControlHost.h"
#include "platform/WinTypes.h"

namespace player {

inline constexpr char16_t kMovieControlClassId[] = u"{D27CDB6E-AE6D-11CF-96B8-444553540000}";

// The clip properties of "_root" the player sets.
namespace clip {
inline constexpr char16_t kRoot[] = u"_root";
inline constexpr LONG kX = 0;
inline constexpr LONG kY = 1;
inline constexpr LONG kXScale = 2;
inline constexpr LONG kYScale = 3;
inline constexpr LONG kRotation = 10;
} // namespace clip

class MovieControl {
public:
    // Ready states: a movie is there, and it is completely loaded.
    static constexpr LONG kLoaded = 2;
    static constexpr LONG kComplete = 4;

    // The control's window, or null.
    HWND ControlWindow() const { return controlWindow; }
    bool Exists() const;

    void SetMovieUrl(const std::u16string& url) const;
    void SetMenuEnabled(bool enabled) const;
    void SetQualityName(const std::u16string& quality) const;
    LONG GetReadyState() const;
    LONG GetTotalFrames() const;
    LONG GetFrameNumber() const;
    void SetFrameNumber(LONG frame) const;
    bool GetPlaying() const;
    void SetPlaying(bool playing) const;
    void PlayMovie() const;
    void StopMovie() const;
    void RewindMovie() const;
    LONG GetScaleMode() const;
    void SetScaleMode(LONG mode) const;
    void SetClipProperty(const std::u16string& target, LONG index,
                         const std::u16string& value) const;
    void SetClipPropertyNumber(const std::u16string& target, LONG index, double value) const;

protected:
    void SetControlWindow(HWND window) { controlWindow = window; }

private:
    Variant Get(DISPID id) const;
    void Put(DISPID id, Variant value) const;
    void Call(DISPID id, std::initializer_list<Variant> args) const;

    HWND controlWindow = nullptr;
};

} // namespace player
