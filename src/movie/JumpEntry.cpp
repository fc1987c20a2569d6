#include "movie/JumpEntry.h"

#include <cstdint>
#include <limits>
#include <string>

#include "platform/Text.h"

namespace player {
namespace {

bool IsDigitString(std::u16string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// A digit string's value as "%d" reads it. A value too large for 32 bits is
// taken as the largest one, so that it acts as a frame past the end, or as
// more than 100 %, which is what the user who typed it meant.
LONG DigitsValue(std::u16string_view digits) {
    constexpr std::int64_t kLargest = std::numeric_limits<LONG>::max();
    std::int64_t value = 0;
    for (const char16_t c : digits) {
        value = value * 10 + (c - u'0');
        if (value > kLargest) {
            return static_cast<LONG>(kLargest);
        }
    }
    return static_cast<LONG>(value);
}

} // namespace

std::optional<LONG> JumpTarget(std::u16string_view entry, LONG currentFrame,
                               const std::function<LONG()>& totalFrames) {
    // The current frame as "%d" writes it: a negative one is no digit string.
    const std::u16string current = text::FromUtf8(std::to_string(currentFrame));
    const std::u16string_view text = entry.empty() ? std::u16string_view(current) : entry;
    if (text.back() == u'%') {
        const std::u16string_view number = text.substr(0, text.size() - 1);
        if (!IsDigitString(number)) {
            return std::nullopt;
        }
        LONG percent = DigitsValue(number);
        if (percent > 100) {
            percent = 100;
        }
        // A movie has at most 65535 frames, so the product fits in 32 bits;
        // a control that claims more still gets a product that does not
        // overflow here.
        const std::int64_t frame = std::int64_t{percent} * totalFrames() / 100;
        return static_cast<LONG>(frame);
    }
    if (!IsDigitString(text)) {
        return std::nullopt;
    }
    LONG frame = DigitsValue(text);
    if (frame > totalFrames()) {
        frame = totalFrames();
    }
    return frame;
}

} // namespace player
