#include "movie/MovieControl.h"

#include <vector>

#include "platform/Window.h"

namespace player {
namespace {

// The control's dispatch ids.
namespace dispid {
constexpr DISPID kReadyState = -525;
constexpr DISPID kMovieUrl = 102;
constexpr DISPID kFrameNumber = 107;
constexpr DISPID kPlay = 112;
constexpr DISPID kStop = 113;
constexpr DISPID kRewind = 116;
constexpr DISPID kScaleMode = 120;
constexpr DISPID kTotalFrames = 124;
constexpr DISPID kPlaying = 125;
constexpr DISPID kMenuEnabled = 135;
constexpr DISPID kQualityName = 141;
constexpr DISPID kSetClipProperty = 153;
constexpr DISPID kSetClipPropertyNumber = 157;
} // namespace dispid

LONG AsInt(const Variant& value) {
    LONG number = 0;
    value.ToInt(number);
    return number;
}

} // namespace

bool MovieControl::Exists() const {
    return controlWindow != nullptr && IsWindow(controlWindow) != FALSE;
}

Variant MovieControl::Get(DISPID id) const {
    Variant result;
    if (Exists()) {
        InvokeControl(controlWindow, id, DISPATCH_PROPERTYGET, {}, &result);
    }
    return result;
}

void MovieControl::Put(DISPID id, Variant value) const {
    if (Exists()) {
        const Variant args[] = {std::move(value)};
        InvokeControl(controlWindow, id, DISPATCH_PROPERTYPUT, args, nullptr);
    }
}

void MovieControl::Call(DISPID id, std::initializer_list<Variant> args) const {
    if (Exists()) {
        const std::vector<Variant> list(args);
        InvokeControl(controlWindow, id, DISPATCH_METHOD, list, nullptr);
    }
}

void MovieControl::SetMovieUrl(const std::u16string& url) const {
    Put(dispid::kMovieUrl, Variant::Text(url));
}

void MovieControl::SetMenuEnabled(bool enabled) const {
    Put(dispid::kMenuEnabled, Variant::Bool(enabled));
}

void MovieControl::SetQualityName(const std::u16string& quality) const {
    Put(dispid::kQualityName, Variant::Text(quality));
}

LONG MovieControl::GetReadyState() const {
    return AsInt(Get(dispid::kReadyState));
}

LONG MovieControl::GetTotalFrames() const {
    return AsInt(Get(dispid::kTotalFrames));
}

LONG MovieControl::GetFrameNumber() const {
    return AsInt(Get(dispid::kFrameNumber));
}

void MovieControl::SetFrameNumber(LONG frame) const {
    Put(dispid::kFrameNumber, Variant::Int(frame));
}

bool MovieControl::GetPlaying() const {
    bool playing = false;
    Get(dispid::kPlaying).ToBool(playing);
    return playing;
}

void MovieControl::SetPlaying(bool playing) const {
    Put(dispid::kPlaying, Variant::Bool(playing));
}

void MovieControl::PlayMovie() const {
    Call(dispid::kPlay, {});
}

void MovieControl::StopMovie() const {
    Call(dispid::kStop, {});
}

void MovieControl::RewindMovie() const {
    Call(dispid::kRewind, {});
}

LONG MovieControl::GetScaleMode() const {
    return AsInt(Get(dispid::kScaleMode));
}

void MovieControl::SetScaleMode(LONG mode) const {
    Put(dispid::kScaleMode, Variant::Int(mode));
}

void MovieControl::SetClipProperty(const std::u16string& target, LONG index,
                                   const std::u16string& value) const {
    Call(dispid::kSetClipProperty,
         {Variant::Text(target), Variant::Int(index), Variant::Text(value)});
}

void MovieControl::SetClipPropertyNumber(const std::u16string& target, LONG index,
                                         double value) const {
    Call(dispid::kSetClipPropertyNumber,
         {Variant::Text(target), Variant::Int(index), Variant::Double(value)});
}

} // namespace player
