#include "Check.h"

#include "AdpcmBytes.h"
#include "Audio.h"
#include "BitReader.h"
#include "ReaderFields.h"
#include "SwfContainer.h"
#include "SwfTags.h"
#include "TagWalker.h"
#include "WavWriter.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace author {

namespace {

using swf::BitReader;

Bytes bytesOf(BitReader r)
{
    const QByteArray b = r.bytes(r.remaining());
    return Bytes(b.begin(), b.end());
}

// Reads a fill and a line style list; false on a style the walker does not know.
bool styleLists(BitReader& b, int version, unsigned& fills, unsigned& lines, std::string& why)
{
    const size_t color = version >= 3 ? 4 : 3;
    auto count = [&] {
        unsigned n = b.u8();
        if (n == 0xff && version >= 2)
            n = b.u16();
        return n;
    };
    fills = count();
    for (unsigned i = 0; i < fills && b.ok(); ++i) {
        unsigned type = b.u8();
        if (type == 0x00) {
            b.skip(color);
        } else if (type == 0x10 || type == 0x12 || type == 0x13) {
            movie::readMatrix(b);
            unsigned records = b.u8() & 0x0f;
            b.skip(records * (1 + color));
            if (type == 0x13)
                b.skip(2);
        } else if (type >= 0x40 && type <= 0x43) {
            b.skip(2);
            movie::readMatrix(b);
        } else {
            why = "unknown fill style type " + std::to_string(type);
            return false;
        }
    }
    lines = count();
    b.skip(size_t(lines) * (2 + color));
    return b.ok();
}

} // namespace

std::vector<std::string> shapeProblems(const Bytes& body, int code)
{
    std::vector<std::string> problems;
    const int version = code == 2 ? 1 : code == 22 ? 2 : 3;
    BitReader b(body.data(), body.size());
    const unsigned id = b.u16();
    const std::string shape = "shape " + std::to_string(id) + ": ";
    movie::readRect(b);
    unsigned fills = 0, lines = 0;
    std::string why;
    if (!styleLists(b, version, fills, lines, why)) {
        problems.push_back(shape + (why.empty() ? "styles run past the tag" : why));
        return problems;
    }
    int fillBits = int(b.ub(4)), lineBits = int(b.ub(4));
    // Selections a record must write before the next edge: fill 0, fill 1, line.
    bool owed[3] = {false, false, false};
    for (int record = 0; b.ok(); ++record) {
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
                for (int k = 0; k < 4; ++k)
                    b.sb(n);
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

bool walkTags(BitReader& tags, Walk& w, bool inSprite)
{
    int frames = 0;
    swf::TagWalker walker(tags);
    swf::TagWalker::Tag tag;
    while (walker.next(tag)) {
        const int code = tag.code;
        w.counts[std::string(inSprite ? "sprite " : "") + swf::tagName(code).toStdString()]++;
        if (code == swf::TagShowFrame)
            ++frames;
        if (code == swf::TagEnd)
            break;
        BitReader s = tag.body;
        if (code == swf::TagDefineSprite) {
            s.u16();
            unsigned declared = s.u16();
            Walk inner;
            if (!walkTags(s, inner, true))
                w.problems.insert(w.problems.end(), inner.problems.begin(), inner.problems.end());
            if (inner.frames != int(declared))
                w.problems.push_back("sprite frame count differs from its ShowFrames");
            for (auto& [k, v] : inner.counts)
                w.counts[k] += v;
        }
        if (code == swf::TagDefineShape || code == swf::TagDefineShape2 || code == swf::TagDefineShape3) {
            for (const std::string& p : shapeProblems(bytesOf(s), code))
                w.problems.push_back(p);
        }
        if (code == swf::TagDefineSound) {
            unsigned id = s.u16();
            unsigned flags = s.u8();
            uint32_t count = s.u32();
            if ((flags >> 4) != 1)
                w.problems.push_back("sound is not ADPCM");
            Buf b = fromPcm(adpcmDecode(bytesOf(s), count));
            if (b.size() != count)
                w.problems.push_back("sound " + std::to_string(id) + " decodes short");
            w.sounds.push_back({int(id), b});
            w.soundRates.push_back(rateOf((flags >> 2) & 3));
        }
        if (code == swf::TagSoundStreamHead2) {
            s.u8();
            unsigned fmt = s.u8();
            w.streamRate = rateOf((fmt >> 2) & 3);
            w.streamPerBlock = s.u16();
        }
        if (code == swf::TagSoundStreamBlock && !inSprite) {
            Buf b = fromPcm(adpcmDecode(bytesOf(s), w.streamPerBlock));
            if (b.size() != w.streamPerBlock)
                w.problems.push_back("stream block decodes short");
            w.stream.insert(w.stream.end(), b.begin(), b.end());
        }
    }
    if (!walker.error().isEmpty()) {
        w.problems.push_back(walker.error().toStdString());
        return false;
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
    auto container = movie::SwfContainer::unpack(raw);
    if (!container || (raw[0] == 'C' && container->body.size() + 8 != qsizetype(container->declaredLength))) {
        report = path + ": compressed body does not unpack to the declared length\n";
        return false;
    }
    if (raw[0] == 'F' && raw.size() != qsizetype(container->declaredLength)) {
        report = path + ": length field differs from the file\n";
        return false;
    }
    BitReader r(container->body);
    const QRectF stage = movie::readRect(r);
    double fps = r.u16() / 256.0;
    unsigned frameCount = r.u16();
    Walk w;
    bool good = walkTags(r, w, false);
    if (w.frames != int(frameCount))
        w.problems.push_back("header frame count " + std::to_string(frameCount) + " but " + std::to_string(w.frames) + " frames");
    out << QFileInfo(QString::fromStdString(path)).fileName().toStdString() << ": " << char(raw[0]) << "WS v" << int(container->version) << ", "
        << raw.size() << " bytes, stage " << stage.width() / 20.0 << "x" << stage.height() / 20.0 << " px, " << fps
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
