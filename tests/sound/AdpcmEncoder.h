#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace soundtest {

// A small encoder for the SWF ADPCM layout, written for the tests from the format's rules:
// it quantises each difference greedily and tracks what a decoder will rebuild, so that
// decoded output can be compared with `reconstructed` exactly and with the input loosely.
class AdpcmEncoder {
public:
    AdpcmEncoder(int bits, bool stereo) : m_bits(bits), m_stereo(stereo) {}

    // Interleaved stereo input; for mono only the left channel is used.
    std::vector<uint8_t> encode(std::span<const int16_t> stereo);

    const std::vector<int16_t>& reconstructed() const { return m_reconstructed; }

private:
    struct State {
        int predicted = 0;
        int index = 0;
    };
    uint32_t quantise(State& state, int target);

    int m_bits;
    bool m_stereo;
    std::vector<int16_t> m_reconstructed;  // interleaved stereo, as the decoder gives it
};

} // namespace soundtest
