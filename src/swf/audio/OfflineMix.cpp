#include "swf/audio/OfflineMix.h"

#include "swf/audio/MovieAudio.h"
#include "swf/audio/Voice.h"
#include "swf/runtime/MoviePlayer.h"

namespace swf {

std::uint64_t PeriodBoundary(double frameRate, long period) {
    // A rate of 0 (or one too small to be meant) plays at one frame a second.
    const double rate = frameRate < 0.01 ? 1.0 : frameRate;
    return static_cast<std::uint64_t>(static_cast<double>(period) * MixRate / rate);
}

OfflineMixResult MixMovie(const Movie& movie, long framePeriods) {
    OfflineMixResult result;
    MovieAudio audio;
    audio.Attach(movie);
    MoviePlayer player(movie);
    player.SetSoundPlayback(&audio);
    player.SetComplete(true);
    player.FramesAdded();
    audio.Follow(player);
    std::uint64_t mixed = 0;
    for (long period = 1; period <= framePeriods; ++period) {
        const std::uint64_t boundary = PeriodBoundary(movie.header.frameRate, period);
        const std::size_t at = result.samples.size();
        result.samples.resize(at + (boundary - mixed) * 2, 0);
        audio.GetMixer().Mix(std::span(result.samples).subspan(at));
        mixed = boundary;
        player.Tick();
        audio.Follow(player);
    }
    result.problems = audio.Sounds()->Problems();
    return result;
}

} // namespace swf
