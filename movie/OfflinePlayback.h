#pragma once

#include "Result.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace movie {

// Plays a movie for a given time without a display or an audio device and returns what the
// mixer produced: 44.1 kHz interleaved stereo, 16-bit. The timeline runs at its own frame
// rate and the mixer is fed exactly as a player on screen would feed it.
Result<std::vector<int16_t>> playOffline(const QString& path, double seconds);

} // namespace movie
