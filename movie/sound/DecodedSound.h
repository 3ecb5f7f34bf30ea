#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace movie::sound {

// A whole event sound ready for the mixer: 44.1 kHz, 16-bit, interleaved stereo. Shared
// between the movie that defined it and every voice playing it, and never changed.
struct DecodedSound {
    std::vector<int16_t> samples;

    int64_t frames() const { return int64_t(samples.size() / 2); }
};

using SharedSound = std::shared_ptr<const DecodedSound>;

} // namespace movie::sound
