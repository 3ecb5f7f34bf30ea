#pragma once

#include "../Result.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <span>

namespace movie::sound {

// A RIFF WAVE image of 16-bit stereo samples (interleaved) at the given rate.
QByteArray wavBytes(std::span<const int16_t> samples, int sampleRate = 44100);

// Writes samples (44.1 kHz interleaved stereo) as a WAV file; the result is the byte count.
Result<qint64> writeWav(const QString& path, std::span<const int16_t> samples,
                        int sampleRate = 44100);

} // namespace movie::sound
