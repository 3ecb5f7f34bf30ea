#pragma once

#include "DecodedSound.h"
#include "SoundInfo.h"

#include <cstdint>
#include <span>
#include <vector>

namespace movie::sound {

// One sound start at a fixed time.
struct ScheduledSound {
    double seconds = 0;
    int soundId = 0;
    SharedSound sound;
    SoundInfo info;
};

// Mixes a list of sound starts into `seconds` of 44.1 kHz interleaved stereo through a
// mixer, each started at its time, so the tests hear what the mixer makes of them. Starts
// past the end are left out.
std::vector<int16_t> mixdown(std::span<const ScheduledSound> sounds, double seconds);

} // namespace movie::sound
