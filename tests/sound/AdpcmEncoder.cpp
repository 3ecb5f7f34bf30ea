#include "AdpcmEncoder.h"

#include "SoundTestSupport.h"

#include <algorithm>

namespace soundtest {

namespace {

int stepSize(int index)
{
    // The IMA step sizes: about 10% apart, from 7 to 32767.
    static const int steps[89] = {
        7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 21, 23, 25, 28, 31, 34, 37, 41, 45, 50, 55, 60,
        66, 73, 80, 88, 97, 107, 118, 130, 143, 157, 173, 190, 209, 230, 253, 279, 307, 337, 371,
        408, 449, 494, 544, 598, 658, 724, 796, 876, 963, 1060, 1166, 1282, 1411, 1552, 1707,
        1878, 2066, 2272, 2499, 2749, 3024, 3327, 3660, 4026, 4428, 4871, 5358, 5894, 6484,
        7132, 7845, 8630, 9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385,
        24623, 27086, 29794, 32767};
    return steps[index];
}

int indexMove(int bits, uint32_t magnitude)
{
    const int top = 1 << (bits - 2);  // magnitudes at or above this grow the step
    if (int(magnitude) < top)
        return -1;
    if (bits == 5) {
        static const int upper5[8] = {1, 2, 4, 6, 8, 10, 13, 16};
        return upper5[magnitude - 8];
    }
    return int(magnitude - uint32_t(top) + 1) * 2;
}

} // namespace

uint32_t AdpcmEncoder::quantise(State& state, int target)
{
    const int magnitudeBits = m_bits - 1;
    const int step = stepSize(state.index);
    int diff = target - state.predicted;
    const bool negative = diff < 0;
    if (negative)
        diff = -diff;
    uint32_t magnitude = 0;
    int rebuilt = step >> magnitudeBits;  // the half-step every code carries
    for (int bit = magnitudeBits - 1; bit >= 0; --bit) {
        const int part = step >> (magnitudeBits - 1 - bit);
        if (diff >= part) {
            magnitude |= 1u << bit;
            diff -= part;
            rebuilt += part;
        }
    }
    state.predicted = std::clamp(negative ? state.predicted - rebuilt : state.predicted + rebuilt,
                                 -32768, 32767);
    state.index = std::clamp(state.index + indexMove(m_bits, magnitude), 0, 88);
    return (negative ? 1u << magnitudeBits : 0u) | magnitude;
}

std::vector<uint8_t> AdpcmEncoder::encode(std::span<const int16_t> stereo)
{
    const int channels = m_stereo ? 2 : 1;
    const size_t frames = stereo.size() / 2;
    BitWriter out;
    out.put(uint32_t(m_bits - 2), 2);
    State state[2];
    m_reconstructed.clear();
    for (size_t f = 0; f < frames; ++f) {
        int16_t rebuilt[2];
        if (f % 4096 == 0) {
            for (int c = 0; c < channels; ++c) {
                // The packet header has six bits for the index.
                state[c].index = std::min(state[c].index, 63);
                state[c].predicted = stereo[f * 2 + size_t(c)];
                out.putSigned(state[c].predicted, 16);
                out.put(uint32_t(state[c].index), 6);
                rebuilt[c] = int16_t(state[c].predicted);
            }
        } else {
            for (int c = 0; c < channels; ++c) {
                out.put(quantise(state[c], stereo[f * 2 + size_t(c)]), m_bits);
                rebuilt[c] = int16_t(state[c].predicted);
            }
        }
        m_reconstructed.push_back(rebuilt[0]);
        m_reconstructed.push_back(rebuilt[channels - 1]);
    }
    return out.bytes();
}

} // namespace soundtest
