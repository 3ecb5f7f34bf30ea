#pragma once

#include "Result.h"
#include "Pcm.h"
#include "SoundFormat.h"

#include <span>
#include <vector>

namespace movie::sound {

// The ADPCM variant of SWF files: a 2-bit code size (2 to 5 bits per sample), then packets
// of 4096 samples per channel, each opening with a 16-bit sample and a 6-bit step index per
// channel. The last packet may be short. At most maxFrames frames are decoded.
Result<Pcm> decodeAdpcm(const SoundFormat& format, std::span<const uint8_t> data,
                        int64_t maxFrames);

// Writes that layout. Each code is the one whose decoded sample lands nearest the input
// (ties keep the smaller code), and `reconstructed` holds exactly what a decoder rebuilds.
class AdpcmEncoder {
public:
    AdpcmEncoder(int bits, bool stereo);

    // Samples interleaved by channel (one per frame for mono). The first packet starts from
    // `startIndex` (at most 63, the header's six bits); -1 picks the step index that
    // follows each channel's opening samples most closely.
    std::vector<uint8_t> encode(std::span<const int16_t> samples, int startIndex = -1);

    // The step index the first channel ended on: the next block of a stream starts there,
    // so consecutive blocks continue smoothly.
    int endIndex() const { return m_endIndex; }
    // Interleaved stereo, as the decoder gives it.
    const std::vector<int16_t>& reconstructed() const { return m_reconstructed; }

private:
    int m_bits;
    int m_channels;
    int m_endIndex = 0;
    std::vector<int16_t> m_reconstructed;
};

} // namespace movie::sound
