// Sound benchmarks on the real movies beside the project (../shared/corpus):
//   MixOneSecond: a movie's sound as the player mixes it, from its first
//     frame for one second of frame periods (its event and stream sounds
//     decoded, resampled and mixed at 44.1 kHz), over every movie of
//     swf-sounds/;
//   DecodeAdpcm: the ADPCM sounds those movies define, decoded whole;
//   DecodeMp3: the MP3 file the trace movies load, decoded whole.
// Each iteration does all of its work once; the counter sound_ms says how
// much sound that is, so that the CPU time per iteration over it is the
// share of real time the work takes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "swf/audio/OfflineMix.h"
#include "swf/audio/SoundDecoder.h"
#include "swf/audio/SoundTags.h"
#include "swf/format/MovieParser.h"
#include "swf/format/TagCodes.h"

namespace {

const std::filesystem::path kCorpus = VANTREL_CORPUS_DIR;

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::unique_ptr<swf::MovieParser>> LoadSoundMovies() {
    std::vector<std::filesystem::path> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus / "swf-sounds", error)) {
        if (entry.path().extension() == ".swf") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<std::unique_ptr<swf::MovieParser>> movies;
    for (const auto& path : paths) {
        auto parser = std::make_unique<swf::MovieParser>();
        parser->Append(ReadFile(path));
        parser->Finish();
        movies.push_back(std::move(parser));
    }
    return movies;
}

const std::vector<std::unique_ptr<swf::MovieParser>>& SoundMovies() {
    static const auto movies = LoadSoundMovies();
    return movies;
}

void MixOneSecond(benchmark::State& state) {
    const auto& movies = SoundMovies();
    if (movies.empty()) {
        state.SkipWithError("no movies in ../shared/corpus/swf-sounds");
        return;
    }
    double soundMs = 0.0;
    for (auto _ : state) {
        soundMs = 0.0;
        for (const auto& parser : movies) {
            const swf::Movie& movie = parser->GetMovie();
            const long periods = std::max(1L, std::lround(std::ceil(movie.header.frameRate)));
            const auto mixed = swf::MixMovie(movie, periods);
            benchmark::DoNotOptimize(mixed.samples.data());
            soundMs += double(mixed.samples.size() / 2) * 1000.0 / 44100.0;
        }
    }
    state.counters["sound_ms"] = soundMs;
}

void DecodeAdpcm(benchmark::State& state) {
    std::vector<swf::DefinedSound> sounds;
    for (const auto& parser : SoundMovies()) {
        for (const auto& [id, character] : parser->GetMovie().dictionary) {
            const auto* raw = std::get_if<swf::RawCharacter>(&character.data);
            if (raw == nullptr || raw->tag.code != swf::tag::DefineSound) {
                continue;
            }
            if (auto sound = swf::ReadDefineSound(raw->tag.body);
                sound && sound->format.coding == swf::SoundCoding::Adpcm) {
                sounds.push_back(*sound);
            }
        }
    }
    if (sounds.empty()) {
        state.SkipWithError("no ADPCM sounds in ../shared/corpus/swf-sounds");
        return;
    }
    double soundMs = 0.0;
    for (auto _ : state) {
        soundMs = 0.0;
        for (const auto& sound : sounds) {
            const auto pcm = swf::DecodeDefinedSound(sound);
            if (!pcm) {
                state.SkipWithError(pcm.GetError().message.c_str());
                return;
            }
            soundMs += double(pcm->Frames()) * 1000.0 / pcm->rate;
        }
    }
    state.counters["sound_ms"] = soundMs;
}

void DecodeMp3(benchmark::State& state) {
    const auto bytes = ReadFile(kCorpus / "swf-traces" / "test.mp3");
    if (bytes.empty()) {
        state.SkipWithError("no ../shared/corpus/swf-traces/test.mp3");
        return;
    }
    const swf::SoundFormat format{swf::SoundCoding::Mp3, 3, true, true};
    double soundMs = 0.0;
    for (auto _ : state) {
        auto decoder = swf::SoundDecoder::Open(format);
        if (!decoder) {
            state.SkipWithError(decoder.GetError().message.c_str());
            return;
        }
        swf::PcmSound pcm;
        (*decoder)->Decode(bytes, pcm, swf::MaxSoundFrames);
        soundMs = double(pcm.Frames()) * 1000.0 / pcm.rate;
    }
    if (soundMs <= 0.0) {
        state.SkipWithError("test.mp3 decoded to no sound");
    }
    state.counters["sound_ms"] = soundMs;
}

} // namespace

BENCHMARK(MixOneSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeAdpcm)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeMp3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
