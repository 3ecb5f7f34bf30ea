#pragma once

#include "Pcm.h"

#include <cstdint>
#include <span>
#include <vector>

namespace movie::sound {

// Converts interleaved stereo 16-bit samples from a source rate to the output rate by linear
// interpolation. The read position is kept in 32.32 fixed point, so a long stream fed in
// blocks neither drifts nor clicks at block edges. The SWF rates are 44.1 kHz divided by 1, 2,
// 4 or 8, for which every output sample falls on an exact position.
class Resampler {
public:
    explicit Resampler(double sourceRate, double targetRate = OutputRate);

    // Appends the output for `input` (interleaved stereo) to `output`. The last input frame
    // is held back until the next call or flush(), since interpolation needs the one after.
    void process(std::span<const int16_t> input, std::vector<int16_t>& output);
    // Emits what is held back, treating the sound as ending on its last frame.
    void flush(std::vector<int16_t>& output);
    void reset();

    bool isIdentity() const { return m_step == One; }

    // One whole sound: process then flush.
    static std::vector<int16_t> convert(const Pcm& pcm, double targetRate = OutputRate);

private:
    static constexpr uint64_t One = uint64_t(1) << 32;

    void advance(int16_t nextLeft, int16_t nextRight, std::vector<int16_t>& output);

    uint64_t m_step;  // source frames per output frame
    uint64_t m_position = 0;  // fraction between m_previous and the next frame
    bool m_havePrevious = false;
    int16_t m_previous[2] = {0, 0};
};

} // namespace movie::sound
