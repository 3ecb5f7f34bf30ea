#include "Check.h"

#include "AdpcmBytes.h"
#include "Audio.h"
#include "SwfContainer.h"
#include "WavWriter.h"

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
    case 2: return "DefineShape";
    case 22: return "DefineShape2";
    case 32: return "DefineShape3";
    case 39: return "DefineSprite";
    case 43: return "FrameLabel";
    case 45: return "SoundStreamHead2";
    case 46: return "DefineMorphShape";
    default: return "other";
    }
}

// Bit fields, most significant bit first, within one tag body.
struct Bits {
    const Bytes& d;
    size_t pos = 0;
    int bit = 0;
    bool ok = true;
    unsigned ub(int n)
    {
        unsigned v = 0;
        for (int i = 0; i < n; ++i) {
            if (pos >= d.size()) {
                ok = false;
                return 0;
            }
            v = (v << 1) | ((d[pos] >> (7 - bit)) & 1);
            if (++bit == 8) {
                bit = 0;
                ++pos;
            }
        }
        return v;
    }
    void sb(int n) { ub(n); }
    void align()
    {
        if (bit) {
            bit = 0;
            ++pos;
        }
    }
    unsigned u8() { align(); return ub(8); }
    unsigned u16() { unsigned a = u8(); return a | (u8() << 8); }
    void skip(size_t n) { align(); pos += n; ok = ok && pos <= d.size(); }
    void rect() { align(); int n = int(ub(5)); ub(4 * n); align(); }
    void matrix()
    {
        align();
        if (ub(1)) { int n = int(ub(5)); ub(2 * n); }
        if (ub(1)) { int n = int(ub(5)); ub(2 * n); }
        int n = int(ub(5));
        ub(2 * n);
        align();
    }
};

// Reads a fill and a line style list; false on a style the walker does not know.
bool styleLists(Bits& b, int version, unsigned& fills, unsigned& lines, std::string& why)
{
    const size_t color = version >= 3 ? 4 : 3;
    auto count = [&] {
        unsigned n = b.u8();
        if (n == 0xff && version >= 2)
            n = b.u16();
        return n;
    };
    fills = count();
    for (unsigned i = 0; i < fills && b.ok; ++i) {
        unsigned type = b.u8();
        if (type == 0x00) {
            b.skip(color);
        } else if (type == 0x10 || type == 0x12 || type == 0x13) {
            b.matrix();
            unsigned records = b.u8() & 0x0f;
            b.skip(records * (1 + color));
            if (type == 0x13)
                b.skip(2);
        } else if (type >= 0x40 && type <= 0x43) {
            b.skip(2);
            b.matrix();
        } else {
            why = "unknown fill style type " + std::to_string(type);
            return false;
        }
    }
    lines = count();
    b.skip(size_t(lines) * (2 + color));
    return b.ok;
}

} // namespace

std::vector<std::string> shapeProblems(const Bytes& body, int code)
{
    std::vector<std::string> problems;
    const int version = code == 2 ? 1 : code == 22 ? 2 : 3;
    Bits b{body};
    const unsigned id = b.u16();
    const std::string shape = "shape " + std::to_string(id) + ": ";
    b.rect();
    unsigned fills = 0, lines = 0;
    std::string why;
    if (!styleLists(b, version, fills, lines, why)) {
        problems.push_back(shape + (why.empty() ? "styles run past the tag" : why));
        return problems;
    }
    int fillBits = int(b.ub(4)), lineBits = int(b.ub(4));
    // Selections a record must write before the next edge: fill 0, fill 1, line.
    bool owed[3] = {false, false, false};
    for (int record = 0; b.ok; ++record) {
        if (b.ub(1) == 0) {
            const unsigned flags = b.ub(5);
            if (flags == 0)
                return problems; // end of shape
            const bool newStyles = flags & 0x10, line = flags & 0x08, fill1 = flags & 0x04, fill0 = flags & 0x02;
            if (flags & 0x01) {
                int n = int(b.ub(5));
                b.sb(n);
                b.sb(n);
            }
            const bool chosen[3] = {fill0, fill1, line};
            const unsigned limits[3] = {fills, fills, lines};
            const int widths[3] = {fillBits, fillBits, lineBits};
            for (int k = 0; k < 3; ++k) {
                if (!chosen[k])
                    continue;
                owed[k] = false;
                if (b.ub(widths[k]) > limits[k])
                    problems.push_back(shape + "record " + std::to_string(record) + " selects a style past the end of its list");
            }
            if (newStyles) {
                if (version < 2)
                    problems.push_back(shape + "new styles in a version 1 shape");
                if (fill0 || fill1 || line)
                    problems.push_back(shape + "record " + std::to_string(record) +
                                       " selects styles in the same record that brings new ones");
                if (!styleLists(b, version, fills, lines, why)) {
                    problems.push_back(shape + (why.empty() ? "styles run past the tag" : why));
                    return problems;
                }
                fillBits = int(b.ub(4));
                lineBits = int(b.ub(4));
                owed[0] = owed[1] = owed[2] = true;
            }
        } else {
            static const char* names[3] = {"fill 0", "fill 1", "line"};
            for (int k = 0; k < 3; ++k)
                if (owed[k]) {
                    problems.push_back(shape + "record " + std::to_string(record) + ": an edge after new styles leaves the " +
                                       names[k] + " selection to the reader");
                    owed[k] = false;
                }
            const bool straight = b.ub(1);
            const int n = int(b.ub(4)) + 2;
            if (straight) {
                if (b.ub(1)) {
                    b.sb(n);
                    b.sb(n);
                } else {
                    b.ub(1);
                    b.sb(n);
                }
            } else {
                b.ub(4 * n);
            }
        }
    }
    problems.push_back(shape + "records run past the end of the tag");
    return problems;
}

namespace {

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
        if (code == 2 || code == 22 || code == 32) {
            const Bytes tag(d.begin() + long(body), d.begin() + long(body + len));
            for (const std::string& p : shapeProblems(tag, code))
                w.problems.push_back(p);
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
        auto container = movie::SwfContainer::unpack(raw);
        if (!container || container->body.size() + 8 != qsizetype(length)) {
            report = path + ": compressed body does not unpack to the declared length\n";
            return false;
        }
        d.insert(d.end(), container->body.begin(), container->body.end());
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
            movie::sound::writeWav(QString::fromStdString(wavDir + "/" + base + "-" + name + ".wav"), toPcm(b), int(std::lround(rate)), 1);
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
