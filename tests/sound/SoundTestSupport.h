#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace soundtest {

// The left channel of interleaved stereo: what a mono encoder is given.
inline std::vector<int16_t> leftChannel(std::span<const int16_t> stereo)
{
    std::vector<int16_t> out;
    for (size_t i = 0; i < stereo.size(); i += 2)
        out.push_back(stereo[i]);
    return out;
}

// Share of a channel's energy at one frequency (Goertzel), 0..1 for a pure tone there.
inline double toneShare(std::span<const int16_t> stereo, int channel, double rate, double hz)
{
    const size_t n = stereo.size() / 2;
    if (n == 0)
        return 0;
    const double w = 2.0 * std::numbers::pi * hz / rate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0, energy = 0;
    for (size_t i = 0; i < n; ++i) {
        const double x = stereo[i * 2 + size_t(channel)];
        energy += x * x;
        const double s0 = x + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    // A sine of amplitude A over n samples gives power (A n / 2)^2 and energy A^2 n / 2.
    return energy > 0 ? power / (energy * double(n) / 2.0) : 0.0;
}

inline std::vector<int16_t> sine(double rate, double hz, double amplitude, size_t frames,
                                 double rightHz = 0)
{
    std::vector<int16_t> out(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        out[i * 2] = int16_t(std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * t)));
        out[i * 2 + 1] = int16_t(std::lround(
            amplitude * std::sin(2 * std::numbers::pi * (rightHz > 0 ? rightHz : hz) * t)));
    }
    return out;
}

inline QByteArray readData(const char* name)
{
    QFile file(QStringLiteral(NUMBALI_SOUND_TEST_DATA "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline std::span<const uint8_t> bytes(const std::vector<uint8_t>& v) { return {v.data(), v.size()}; }

} // namespace soundtest
