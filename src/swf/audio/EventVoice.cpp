#include "swf/audio/EventVoice.h"

#include <algorithm>

namespace swf {

namespace {

constexpr std::int32_t FullLevel = 32768;

} // namespace

void MixFrame(std::int32_t left, std::int32_t right, const SoundTransform& pan, std::int32_t* mix) {
    if (pan == SoundTransform{}) {
        mix[0] += left;
        mix[1] += right;
        return;
    }
    // Scripts may set any 32-bit percentage: work in floating point and
    // keep the sum in range.
    const double toLeft =
        (double(left) * pan.leftToLeft + double(right) * pan.rightToLeft) * pan.volume / 10000.0;
    const double toRight =
        (double(left) * pan.leftToRight + double(right) * pan.rightToRight) * pan.volume / 10000.0;
    constexpr double limit = 1 << 24;
    mix[0] += static_cast<std::int32_t>(std::clamp(toLeft, -limit, limit));
    mix[1] += static_cast<std::int32_t>(std::clamp(toRight, -limit, limit));
}

EventVoice::EventVoice(std::shared_ptr<const PcmSound> sound, const SoundInfo& info)
    : sound(std::move(sound)), resampler(this->sound->rate), envelope(info.envelope),
      length(resampler.OutputFrames(this->sound->Frames())),
      start(std::min<std::uint64_t>(info.inPoint.value_or(0), length)),
      end(std::min<std::uint64_t>(info.outPoint.value_or(length), length)),
      loopsLeft(info.loops > 1 ? info.loops - 1u : 0u), position(start) {}

std::pair<std::int32_t, std::int32_t> EventVoice::Levels(std::uint64_t at) const {
    // Before the first point its level holds, and after the last the last.
    const auto next =
        std::find_if(envelope.begin(), envelope.end(),
                     [at](const EnvelopePoint& point) { return point.position > at; });
    if (next == envelope.begin()) {
        return {next->left, next->right};
    }
    const EnvelopePoint& before = *(next - 1);
    if (next == envelope.end()) {
        return {before.left, before.right};
    }
    const std::int64_t span = next->position - before.position;
    const std::int64_t into = static_cast<std::int64_t>(at - before.position);
    const auto between = [&](std::int32_t from, std::int32_t to) {
        return static_cast<std::int32_t>(from + (to - from) * into / span);
    };
    return {between(before.left, next->left), between(before.right, next->right)};
}

bool EventVoice::MixInto(std::span<std::int32_t> mix) {
    const PcmSound& pcm = *sound;
    const std::size_t sourceFrames = pcm.Frames();
    for (std::size_t at = 0; at + 1 < mix.size(); at += 2) {
        while (position >= end) {
            if (loopsLeft == 0 || end <= start) {
                return false;
            }
            --loopsLeft;
            position = start;
        }
        const std::uint64_t frame =
            std::min<std::uint64_t>(resampler.SourceFrame(position), sourceFrames - 1);
        std::int32_t left = pcm.Sample(frame, 0);
        std::int32_t right = pcm.Sample(frame, 1);
        if (!envelope.empty()) {
            const auto [leftLevel, rightLevel] = Levels(start + elapsed);
            left = left * std::min(leftLevel, FullLevel) / FullLevel;
            right = right * std::min(rightLevel, FullLevel) / FullLevel;
        }
        MixFrame(left, right, soundTransform, &mix[at]);
        ++position;
        ++elapsed;
    }
    return position < end || (loopsLeft > 0 && end > start);
}

} // namespace swf
