#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace movie::sound {

// How one StartSound plays its sound, as the file's SOUNDINFO record says.
// Positions are in 44.1 kHz sample frames from the start of the sound.
struct SoundInfo {
    struct EnvelopePoint {
        uint32_t position44 = 0;
        uint16_t left = 32768;  // 0..32768, 32768 is full level
        uint16_t right = 32768;
    };

    bool syncStop = false;        // stop every playing instance of the sound, start nothing
    bool syncNoMultiple = false;  // do not start when the sound already plays for this owner
    std::optional<uint32_t> inPoint;
    std::optional<uint32_t> outPoint;
    int loopCount = 1;  // times the sound plays in all; 0 counts as 1
    // Levels between points are interpolated linearly; before the first and after the last
    // point the nearest level holds. The position runs on through loops (it is the played
    // time plus the in point), so one envelope can fade a looping sound out.
    std::vector<EnvelopePoint> envelope;
};

} // namespace movie::sound
