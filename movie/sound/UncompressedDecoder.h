#pragma once

#include "Result.h"
#include "Pcm.h"
#include "SoundFormat.h"

#include <span>

namespace movie::sound {

// Plain PCM as DefineSound and SoundStreamBlock store it: 8-bit unsigned or 16-bit signed
// little-endian, mono or interleaved stereo. A trailing partial frame is ignored and at most
// maxFrames frames are decoded.
Result<Pcm> decodeUncompressed(const SoundFormat& format, std::span<const uint8_t> data,
                               int64_t maxFrames);

} // namespace movie::sound
