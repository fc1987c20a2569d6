#include "swf/audio/OfflineMix.h"

#include <optional>

#include "swf/audio/Mixer.h"
#include "swf/audio/MovieSound.h"
#include "swf/runtime/MoviePlayer.h"

namespace swf {

namespace {

// The sound tags of the frame the main timeline shows, once per frame entered.
void FrameSounds(const Movie& movie, const MoviePlayer& player,
                 std::optional<std::size_t>& lastFrame, MovieSound& sound) {
    const auto frame = player.Root().CurrentFrame();
    if (!frame || frame == lastFrame) {
        return;
    }
    lastFrame = frame;
    if (*frame < movie.root.frames.size()) {
        for (const RawTag& tag : movie.root.frames[*frame].soundTags) {
            sound.TagReached(0, tag);
        }
    }
}

} // namespace

std::uint64_t PeriodBoundary(double frameRate, long period) {
    // A rate of 0 (or one too small to be meant) plays at one frame a second.
    const double rate = frameRate < 0.01 ? 1.0 : frameRate;
    return static_cast<std::uint64_t>(static_cast<double>(period) * MixRate / rate);
}

OfflineMixResult MixMovie(const Movie& movie, long framePeriods) {
    OfflineMixResult result;
    Mixer mixer;
    MovieSound sound(movie, mixer);
    MoviePlayer player(movie);
    player.SetComplete(true);
    player.FramesAdded();
    std::optional<std::size_t> lastFrame;
    FrameSounds(movie, player, lastFrame, sound);
    std::uint64_t mixed = 0;
    for (long period = 1; period <= framePeriods; ++period) {
        const std::uint64_t boundary = PeriodBoundary(movie.header.frameRate, period);
        const std::size_t at = result.samples.size();
        result.samples.resize(at + (boundary - mixed) * 2, 0);
        mixer.Mix(std::span(result.samples).subspan(at));
        mixed = boundary;
        player.Tick();
        FrameSounds(movie, player, lastFrame, sound);
    }
    result.problems = sound.Problems();
    return result;
}

} // namespace swf
