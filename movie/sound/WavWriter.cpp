#include "WavWriter.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace movie::sound {

namespace {

void put16(QByteArray& out, uint16_t v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void put32(QByteArray& out, uint32_t v)
{
    put16(out, uint16_t(v & 0xffff));
    put16(out, uint16_t(v >> 16));
}

} // namespace

QByteArray wavBytes(std::span<const int16_t> samples, int sampleRate, int channelCount)
{
    const uint16_t channels = uint16_t(std::clamp(channelCount, 1, 2)), bits = 16;
    // The data size field is 32 bits; longer input is cut to what it can describe.
    const uint64_t maxSamples = (uint64_t(0xffffffffu) - 36) / 2;
    const uint64_t whole = samples.size() - samples.size() % channels;
    const uint32_t count = uint32_t(std::min<uint64_t>(whole, maxSamples - maxSamples % channels));
    const uint32_t dataBytes = count * 2;
    QByteArray out;
    out.reserve(qsizetype(44 + dataBytes));
    out.append("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(out, 16);
    put16(out, 1);  // integer PCM
    put16(out, channels);
    put32(out, uint32_t(sampleRate));
    put32(out, uint32_t(sampleRate) * channels * bits / 8);
    put16(out, channels * bits / 8);
    put16(out, bits);
    out.append("data", 4);
    put32(out, dataBytes);
    for (uint32_t i = 0; i < count; ++i)
        put16(out, uint16_t(samples[i]));
    return out;
}

Result<qint64> writeWav(const QString& path, std::span<const int16_t> samples, int sampleRate, int channels)
{
    const QByteArray bytes = wavBytes(samples, sampleRate, channels);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result<qint64>::failure(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return Result<qint64>::failure(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return qint64(bytes.size());
}

} // namespace movie::sound
