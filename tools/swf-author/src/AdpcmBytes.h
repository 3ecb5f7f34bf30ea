#pragma once

#include "Swf.h"

#include <cstdint>
#include <vector>

namespace author {

// 4-bit mono ADPCM as the movies store it, through the player's own coder.
// `index`, when given, is the step index to start from (-1: find a good one) and receives the
// index the coder ends on, so consecutive blocks of one stream continue smoothly.
Bytes adpcmEncode(const std::vector<int16_t>& pcm, size_t first = 0, size_t count = size_t(-1), int* index = nullptr);
// Decodes `samples` samples (mono, any code size); stops early on short data.
std::vector<int16_t> adpcmDecode(const Bytes& data, size_t samples);

} // namespace author
