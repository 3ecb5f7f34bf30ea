#pragma once

#include "../Result.h"
#include "Pcm.h"
#include "SoundFormat.h"

#include <span>

namespace movie::sound {

// The ADPCM variant of SWF files: a 2-bit code size (2 to 5 bits per sample), then packets
// of 4096 samples per channel, each opening with a 16-bit sample and a 6-bit step index per
// channel. The last packet may be short. At most maxFrames frames are decoded.
Result<Pcm> decodeAdpcm(const SoundFormat& format, std::span<const uint8_t> data,
                        int64_t maxFrames);

} // namespace movie::sound
