#include "swf/audio/StreamVoice.h"

namespace swf {

void StreamVoice::Append(const PcmSound& block) {
    if (block.samples.empty()) {
        return;
    }
    if (!resampler) {
        resampler.emplace(block.rate);
        channels = block.channels;
    }
    for (std::size_t frame = 0; frame < block.Frames(); ++frame) {
        for (int channel = 0; channel < channels; ++channel) {
            samples.push_back(block.Sample(frame, channel));
        }
    }
    received += block.Frames();
}

std::uint64_t StreamVoice::Received() const {
    return resampler ? resampler->OutputFrames(received) : 0;
}

bool StreamVoice::MixInto(std::span<std::int32_t> mix) {
    if (!resampler) {
        return !ended;
    }
    const auto width = static_cast<std::size_t>(channels);
    for (std::size_t at = 0; at + 1 < mix.size(); at += 2) {
        const std::uint64_t frame = resampler->SourceFrame(position);
        if (frame >= received) {
            return !ended;
        }
        // Frames before this one are played for good.
        while (first < frame) {
            for (std::size_t i = 0; i < width; ++i) {
                samples.pop_front();
            }
            ++first;
        }
        const std::int32_t left = samples[0];
        const std::int32_t right = samples[width - 1];
        MixFrame(left, right, soundTransform, &mix[at]);
        ++position;
    }
    return true;
}

} // namespace swf
