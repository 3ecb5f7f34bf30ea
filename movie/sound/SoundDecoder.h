#pragma once

#include "Result.h"
#include "DecodedSound.h"
#include "Pcm.h"
#include "SoundFormat.h"

#include <span>

namespace movie::sound {

// Decodes DefineSound data at its stored rate. sampleCount is the header's count of frames;
// the output never exceeds it (nor ten minutes) when it is not zero. MP3 data opens with a
// 16-bit count of frames to skip. Nellymoser and Speex give silence of sampleCount frames
// (at most 64 per byte of data).
Result<Pcm> decodeSourcePcm(const SoundFormat& format, uint32_t sampleCount,
                            std::span<const uint8_t> data);

// The same, converted for the mixer: 44.1 kHz interleaved stereo, shared and immutable.
Result<SharedSound> decodeSound(const SoundFormat& format, uint32_t sampleCount,
                                std::span<const uint8_t> data);

} // namespace movie::sound
