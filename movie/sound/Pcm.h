#pragma once

#include "SoundFormat.h"

#include <cstdint>
#include <vector>

namespace movie::sound {

// Decoded samples at the rate they were stored at: 16-bit, interleaved stereo (mono
// sources are copied to both channels).
struct Pcm {
    double sampleRate = OutputRate;
    std::vector<int16_t> samples;

    int64_t frames() const { return int64_t(samples.size() / 2); }
};

} // namespace movie::sound
