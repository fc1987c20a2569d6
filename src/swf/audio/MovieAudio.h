// The sound of a playing movie, for whatever plays it (the control on the
// device, swfsound, the tests): the mixer, and the movie's sounds fed from
// what its timelines reach. The output pulls the mixer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "swf/audio/Mixer.h"
#include "swf/audio/MovieSound.h"
#include "swf/format/Movie.h"
#include "swf/runtime/MoviePlayer.h"

namespace swf {

class MovieAudio {
public:
    // A movie starts playing (movie is borrowed until Detach); the previous
    // one's sounds stop.
    void Attach(const Movie& movie);
    // The movie goes: its sounds stop.
    void Detach();

    // After the player moved (a tick, a goto, the first frame shown): the
    // sound tags of the frames it entered start their sounds.
    void Follow(const MoviePlayer& player);

    Mixer& GetMixer() { return mixer; }
    // Changes whenever a movie comes or goes: what an output queued ahead
    // for the movie before is stale then.
    std::uint64_t Generation() const { return generation; }
    // Null while no movie is attached.
    MovieSound* Sounds() { return sounds.get(); }

private:
    Mixer mixer;
    std::unique_ptr<MovieSound> sounds;
    const Movie* movie = nullptr;
    std::optional<std::size_t> lastFrame;
    std::uint64_t generation = 0;
};

} // namespace swf
