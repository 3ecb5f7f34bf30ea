#pragma once

#include "Result.h"
#include "SoundFormat.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

namespace movie::sound {

// A RIFF WAVE image of 16-bit samples, interleaved by channel, at the given rate.
QByteArray wavBytes(std::span<const int16_t> samples, int sampleRate = OutputRate, int channels = 2);

// Writes samples (by default the mixer's: 44.1 kHz interleaved stereo) as a WAV file; the
// result is the byte count.
Result<qint64> writeWav(const QString& path, std::span<const int16_t> samples,
                        int sampleRate = OutputRate, int channels = 2);

} // namespace movie::sound
