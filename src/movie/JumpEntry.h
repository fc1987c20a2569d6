// What an entry of the "Jump to Position:" dialog asks for: a frame number
// ("10", "0010"), or a percentage of the movie ("50%"); anything else asks
// for nothing.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "platform/WinTypes.h"

namespace player {

// The frame to set for entry, or nothing for an entry that is neither a digit
// string nor one followed by "%" ("-5", "12.5%", "ten", " 5", "%"). An empty
// entry stands for currentFrame. The movie's length is asked of totalFrames
// only where the entry needs it, once for a percentage and once more for a
// frame number past the end, since the control may answer differently each
// time.
std::optional<LONG> JumpTarget(std::u16string_view entry, LONG currentFrame,
                               const std::function<LONG()>& totalFrames);

} // namespace player
