#include "Check.h"

#include "Adpcm.h"
#include "Audio.h"

#include <zlib.h>

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace author {

namespace {

struct Reader {
    const Bytes& d;
    size_t pos = 0;
    bool ok = true;
    unsigned u8() { if (pos >= d.size()) { ok = false; return 0; } return d[pos++]; }
    unsigned u16() { unsigned a = u8(); return a | (u8() << 8); }
    uint32_t u32() { uint32_t a = u16(); return a | (uint32_t(u16()) << 16); }
};

const char* tagName(int code)
{
    switch (code) {
    case 0: return "End";
    case 1: return "ShowFrame";
    case 9: return "SetBackgroundColor";
    case 12: return "DoAction";
    case 14: return "DefineSound";
    case 15: return "StartSound";
    case 19: return "SoundStreamBlock";
    case 26: return "PlaceObject2";
    case 28: return "RemoveObject2";
    case 32: return "DefineShape3";
    case 39: return "DefineSprite";
    case 43: return "FrameLabel";
    case 45: return "SoundStreamHead2";
    case 46: return "DefineMorphShape";
    default: return "other";
    }
}

double rateOf(unsigned code) { return 5512.5 * double(1u << code); }

struct Walk {
    std::map<std::string, int> counts;
    int frames = 0;
    std::vector<std::string> problems;
    std::vector<std::pair<int, Buf>> sounds;  // id, samples
    std::vector<double> soundRates;
    Buf stream;
    double streamRate = 0;
    unsigned streamPerBlock = 0;
};

bool walkTags(const Bytes& d, size_t from, size_t to, Walk& w, bool inSprite)
{
    Reader r{d, from};
    int frames = 0;
    while (r.pos < to) {
        unsigned head = r.u16();
        int code = int(head >> 6);
        size_t len = head & 0x3f;
        if (len == 0x3f)
            len = r.u32();
        if (!r.ok || r.pos + len > to) {
            w.problems.push_back("tag " + std::to_string(code) + " runs past its container");
            return false;
        }
        size_t body = r.pos;
        w.counts[std::string(inSprite ? "sprite " : "") + tagName(code)]++;
        if (code == 1)
            ++frames;
        if (code == 0) {
            r.pos = body + len;
            break;
        }
        if (code == 39) {
            Reader s{d, body};
            s.u16();
            unsigned declared = s.u16();
            Walk inner;
            if (!walkTags(d, s.pos, body + len, inner, true))
                w.problems.insert(w.problems.end(), inner.problems.begin(), inner.problems.end());
            if (inner.frames != int(declared))
                w.problems.push_back("sprite frame count differs from its ShowFrames");
            for (auto& [k, v] : inner.counts)
                w.counts[k] += v;
        }
        if (code == 14) {
            Reader s{d, body};
            unsigned id = s.u16();
            unsigned flags = s.u8();
            uint32_t count = s.u32();
            if ((flags >> 4) != 1)
                w.problems.push_back("sound is not ADPCM");
            Bytes data(d.begin() + long(s.pos), d.begin() + long(body + len));
            Buf b = fromPcm(adpcmDecode(data, count));
            if (b.size() != count)
                w.problems.push_back("sound " + std::to_string(id) + " decodes short");
            w.sounds.push_back({int(id), b});
            w.soundRates.push_back(rateOf((flags >> 2) & 3));
        }
        if (code == 45) {
            Reader s{d, body};
            s.u8();
            unsigned fmt = s.u8();
            w.streamRate = rateOf((fmt >> 2) & 3);
            w.streamPerBlock = s.u16();
        }
        if (code == 19 && !inSprite) {
            Bytes data(d.begin() + long(body), d.begin() + long(body + len));
            Buf b = fromPcm(adpcmDecode(data, w.streamPerBlock));
            if (b.size() != w.streamPerBlock)
                w.problems.push_back("stream block decodes short");
            w.stream.insert(w.stream.end(), b.begin(), b.end());
        }
        r.pos = body + len;
    }
    w.frames = frames;
    return w.problems.empty();
}

} // namespace

bool checkMovie(const std::string& path, const std::string& wavDir, std::string& report)
{
    std::ostringstream out;
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) {
        report = path + ": cannot read\n";
        return false;
    }
    QByteArray raw = f.readAll();
    if (raw.size() < 8 || (raw[0] != 'F' && raw[0] != 'C') || raw[1] != 'W' || raw[2] != 'S') {
        report = path + ": no movie signature\n";
        return false;
    }
    Bytes file(raw.begin(), raw.end());
    Reader hr{file, 4};
    uint32_t length = hr.u32();
    Bytes d(file.begin(), file.begin() + 8);
    if (raw[0] == 'C') {
        Bytes unpacked(length > 8 ? length - 8 : 0);
        uLongf size = uLongf(unpacked.size());
        if (uncompress(unpacked.data(), &size, file.data() + 8, uLong(file.size() - 8)) != Z_OK || size != unpacked.size()) {
            report = path + ": compressed body does not unpack to the declared length\n";
            return false;
        }
        d.insert(d.end(), unpacked.begin(), unpacked.end());
    } else {
        d = file;
    }
    if (d.size() != length) {
        report = path + ": length field differs from the file\n";
        return false;
    }
    // Stage rectangle: 5-bit field size, then four signed fields.
    unsigned nbits = d[8] >> 3;
    size_t rectBytes = (5 + 4 * nbits + 7) / 8;
    auto field = [&](int i) {
        int32_t v = 0;
        size_t bit = 8 * 8 + 5 + size_t(i) * nbits;
        for (unsigned k = 0; k < nbits; ++k, ++bit)
            v = (v << 1) | ((d[bit / 8] >> (7 - bit % 8)) & 1);
        if (nbits && (v >> (nbits - 1)) & 1)
            v -= (1 << nbits);
        return v;
    };
    Reader r{d, 8 + rectBytes};
    double fps = r.u16() / 256.0;
    unsigned frameCount = r.u16();
    Walk w;
    bool good = walkTags(d, r.pos, d.size(), w, false);
    if (w.frames != int(frameCount))
        w.problems.push_back("header frame count " + std::to_string(frameCount) + " but " + std::to_string(w.frames) + " frames");
    out << QFileInfo(QString::fromStdString(path)).fileName().toStdString() << ": " << char(raw[0]) << "WS v" << int(d[3]) << ", "
        << file.size() << " bytes, stage " << (field(1) - field(0)) / 20.0 << "x" << (field(3) - field(2)) / 20.0 << " px, " << fps
        << " fps, " << frameCount << " frames (" << frameCount / fps << " s)\n  ";
    for (auto& [k, v] : w.counts)
        out << k << " " << v << ", ";
    out << "\n";
    auto saveWav = [&](const std::string& name, const Buf& b, double rate) {
        char line[200];
        std::snprintf(line, sizeof line, "  %s: %.2f s at %.0f Hz, peak %.1f dBFS, rms %.1f dBFS\n", name.c_str(), b.size() / rate, rate, peakDb(b), rmsDb(b));
        out << line;
        if (!wavDir.empty()) {
            std::string base = QFileInfo(QString::fromStdString(path)).completeBaseName().toStdString();
            writeWav(wavDir + "/" + base + "-" + name + ".wav", toPcm(b), int(std::lround(rate)));
        }
    };
    for (size_t i = 0; i < w.sounds.size(); ++i)
        saveWav("sound" + std::to_string(w.sounds[i].first), w.sounds[i].second, w.soundRates[i]);
    if (!w.stream.empty())
        saveWav("stream", w.stream, w.streamRate);
    for (const auto& p : w.problems)
        out << "  PROBLEM: " << p << "\n";
    report = out.str();
    return good && w.problems.empty();
}

} // namespace author
