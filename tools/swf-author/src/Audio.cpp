#include "Audio.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace author {

std::vector<int16_t> toPcm(const Buf& b)
{
    std::vector<int16_t> out(b.size());
    for (size_t i = 0; i < b.size(); ++i)
        out[i] = int16_t(std::lround(std::clamp(b[i], -1.0f, 1.0f) * 32767.0f));
    return out;
}

Buf fromPcm(const std::vector<int16_t>& p)
{
    Buf out(p.size());
    for (size_t i = 0; i < p.size(); ++i)
        out[i] = float(p[i]) / 32768.0f;
    return out;
}

Buf readWav(const std::string& path, int& rate)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray d = f.readAll();
    auto u16 = [&](qsizetype at) { return uint16_t(uint8_t(d[at]) | (uint8_t(d[at + 1]) << 8)); };
    auto u32 = [&](qsizetype at) { return uint32_t(u16(at)) | (uint32_t(u16(at + 2)) << 16); };
    if (d.size() < 12 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE")
        return {};
    int channels = 1, bits = 16;
    qsizetype pos = 12;
    while (pos + 8 <= d.size()) {
        QByteArray id = d.mid(pos, 4);
        uint32_t len = u32(pos + 4);
        qsizetype body = pos + 8;
        if (id == "fmt " && body + 16 <= d.size()) {
            channels = u16(body + 2);
            rate = int(u32(body + 4));
            bits = u16(body + 14);
        } else if (id == "data") {
            if (bits != 16 || channels < 1)
                return {};
            // Streamed output may leave the length unset: read to the end then.
            qsizetype end = (len == 0 || len == 0xffffffffu || body + qsizetype(len) > d.size()) ? d.size() : body + qsizetype(len);
            Buf out;
            for (qsizetype at = body; at + 2 * channels <= end; at += 2 * channels) {
                float sum = 0;
                for (int c = 0; c < channels; ++c)
                    sum += float(int16_t(u16(at + 2 * c))) / 32768.0f;
                out.push_back(sum / float(channels));
            }
            return out;
        }
        pos = body + qsizetype(len) + (len & 1);
    }
    return {};
}

double peak(const Buf& b)
{
    double p = 0;
    for (float s : b)
        p = std::max(p, double(std::fabs(s)));
    return p;
}

double peakDb(const Buf& b)
{
    double p = peak(b);
    return p > 0 ? 20 * std::log10(p) : -200;
}

double rmsDb(const Buf& b)
{
    double s = 0;
    for (float x : b)
        s += double(x) * x;
    s = b.empty() ? 0 : std::sqrt(s / double(b.size()));
    return s > 0 ? 20 * std::log10(s) : -200;
}

void normalize(Buf& b, double peakDbfs)
{
    double p = peak(b);
    if (p <= 0)
        return;
    float k = float(std::pow(10.0, peakDbfs / 20) / p);
    for (float& s : b)
        s *= k;
}

Buf resample(const Buf& in, double fromRate, double toRate)
{
    if (in.empty() || fromRate == toRate)
        return in;
    const double ratio = toRate / fromRate;
    const double cutoff = std::min(1.0, ratio) * 0.92;  // of the input's Nyquist band
    const int half = 16;
    const double width = half / std::min(1.0, ratio);
    size_t n = size_t(std::floor(double(in.size()) * ratio));
    Buf out(n);
    for (size_t i = 0; i < n; ++i) {
        double centre = double(i) / ratio;
        long lo = long(std::ceil(centre - width)), hi = long(std::floor(centre + width));
        double sum = 0, wsum = 0;
        for (long k = lo; k <= hi; ++k) {
            if (k < 0 || k >= long(in.size()))
                continue;
            double x = (double(k) - centre);
            double sinc = x == 0 ? 1.0 : std::sin(M_PI * x * cutoff) / (M_PI * x * cutoff);
            double win = 0.5 + 0.5 * std::cos(M_PI * x / width);
            double w = sinc * win;
            sum += in[size_t(k)] * w;
            wsum += w;
        }
        out[i] = float(wsum != 0 ? sum / wsum : 0);
    }
    return out;
}

void mixInto(Buf& dst, const Buf& src, long at, double gain, bool wrap)
{
    if (dst.empty())
        return;
    for (size_t i = 0; i < src.size(); ++i) {
        long j = at + long(i);
        if (wrap) {
            j %= long(dst.size());
            if (j < 0)
                j += long(dst.size());
        } else if (j < 0 || j >= long(dst.size())) {
            continue;
        }
        dst[size_t(j)] += float(src[i] * gain);
    }
}

void fade(Buf& b, double rate, double inSeconds, double outSeconds)
{
    size_t in = size_t(inSeconds * rate), out = size_t(outSeconds * rate);
    for (size_t i = 0; i < in && i < b.size(); ++i)
        b[i] *= float(double(i) / double(in));
    for (size_t i = 0; i < out && i < b.size(); ++i)
        b[b.size() - 1 - i] *= float(double(i) / double(out));
}

Buf trimSilence(const Buf& b, double threshold)
{
    size_t first = 0, last = b.size();
    while (first < b.size() && std::fabs(b[first]) < threshold)
        ++first;
    while (last > first && std::fabs(b[last - 1]) < threshold)
        --last;
    return Buf(b.begin() + long(first), b.begin() + long(last));
}

bool speechAvailable() { return !QStandardPaths::findExecutable("espeak-ng").isEmpty(); }

Buf speak(const std::string& text, double rate, double peakDbfs, int pitch)
{
    if (!speechAvailable())
        throw std::runtime_error("espeak-ng is not installed: it is needed to make the spoken words "
                                 "(Debian: apt-get install espeak-ng)");
    QTemporaryDir dir;
    QString wav = dir.filePath("speech.wav");
    QProcess p;
    // Slower than the voice's usual pace; the raise below brings it back up a little.
    p.start("espeak-ng", {"-v", "es", "-s", "118", "-p", QString::number(pitch), "-a", "160", "-w", wav,
                          QString::fromStdString(text)});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error("espeak-ng failed for \"" + text + "\"");
    int srcRate = 0;
    Buf voice = readWav(wav.toStdString(), srcRate);
    if (voice.empty() || srcRate <= 0)
        throw std::runtime_error("espeak-ng wrote no usable sound for \"" + text + "\"");
    voice = trimSilence(voice, 0.004);
    // The voice pauses long between sentences; a child is better held by a short breath.
    {
        const size_t keep = size_t(0.2 * srcRate);
        Buf tight;
        size_t quiet = 0;
        for (float x : voice) {
            quiet = std::fabs(x) < 0.003f ? quiet + 1 : 0;
            if (quiet <= keep)
                tight.push_back(x);
        }
        voice.swap(tight);
    }
    // Playing it 6% faster than it was made raises the voice by about a semitone: younger, brighter.
    const double raise = 1.06;
    Buf out = resample(voice, srcRate * raise, rate);
    // A gentle low-pass softens the synthetic edge; a touch of low cut keeps it clear.
    float lp = 0, hpPrev = 0, hpOut = 0;
    const float a = float(std::exp(-2 * M_PI * 6500.0 / rate));
    const float h = float(std::exp(-2 * M_PI * 90.0 / rate));
    for (float& s : out) {
        lp = (1 - a) * s + a * lp;
        hpOut = h * (hpOut + lp - hpPrev);
        hpPrev = lp;
        s = hpOut;
    }
    fade(out, rate, 0.01, 0.04);
    normalize(out, peakDbfs);
    return out;
}

} // namespace author
