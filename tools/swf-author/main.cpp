// numbali-swf-author OUTDIR [NAME.swf...]
//     Regenerates the program's movie files (all, or the ones named) into OUTDIR.
// numbali-swf-author --check [--wav DIR] FILE...
//     Reads movie files back and prints their structure and sound levels; with --wav,
//     writes their decoded sounds as WAV files into DIR.
// numbali-swf-author --selftest
//     Round-trips sounds through the ADPCM coder and a small movie through the checker.
// numbali-swf-author --sheet OUT.png COLUMNS IMAGE...
//     Lays rendered frames side by side on one picture, for looking over a movie at once.

#include "AdpcmBytes.h"
#include "Art.h"
#include "Audio.h"
#include "Music.h"
#include "Check.h"
#include "Movies.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <set>
#include <string>

using namespace author;

static int check(int argc, char** argv)
{
    std::string wavDir;
    int bad = 0, files = 0;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--wav" && i + 1 < argc) {
            wavDir = argv[++i];
            QDir().mkpath(QString::fromStdString(wavDir));
            continue;
        }
        std::string report;
        bool ok = checkMovie(a, wavDir, report);
        std::fputs(report.c_str(), stdout);
        ++files;
        if (!ok)
            ++bad;
    }
    std::printf("%d checked, %d malformed\n", files, bad);
    return bad ? 1 : 0;
}

static int selftest()
{
    int failed = 0, passed = 0;
    auto expect = [&](bool ok, const char* what) {
        std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
        (ok ? passed : failed)++;
    };
    // A tune several packets long must come back close to what went in.
    Tune t;
    t.bpm = 120;
    t.beats = 4;
    t.line("c5/1 e5/1 g5/1 c6/1", Inst::Marimba);
    t.line("c3/4", Inst::Bass);
    Buf b = render(t, 22050, true);
    normalize(b, -6);
    std::vector<int16_t> pcm = toPcm(b);
    Bytes coded = adpcmEncode(pcm);
    std::vector<int16_t> back = adpcmDecode(coded, pcm.size());
    expect(back.size() == pcm.size(), "decoded length matches");
    double sig = 0, err = 0;
    for (size_t i = 0; i < std::min(back.size(), pcm.size()); ++i) {
        sig += double(pcm[i]) * pcm[i];
        err += double(pcm[i] - back[i]) * (pcm[i] - back[i]);
    }
    double snr = 10 * std::log10(sig / std::max(1.0, err));
    std::printf("  round-trip SNR %.1f dB over %zu samples\n", snr, pcm.size());
    expect(snr > 20, "ADPCM round trip keeps the tune (SNR above 20 dB)");
    // Cut into frame-sized blocks as a stream is, the tune must come through as well.
    {
        std::vector<int16_t> joined;
        int index = -1;
        for (size_t at = 0; at < pcm.size(); at += 1470) {
            size_t n = std::min<size_t>(1470, pcm.size() - at);
            std::vector<int16_t> part = adpcmDecode(adpcmEncode(pcm, at, n, &index), n);
            joined.insert(joined.end(), part.begin(), part.end());
        }
        double e2 = 0;
        for (size_t i = 0; i < std::min(joined.size(), pcm.size()); ++i)
            e2 += double(pcm[i] - joined[i]) * (pcm[i] - joined[i]);
        double blockSnr = 10 * std::log10(sig / std::max(1.0, e2));
        std::printf("  block-wise SNR %.1f dB\n", blockSnr);
        expect(joined.size() == pcm.size() && blockSnr > 20, "frame-sized blocks keep the tune too");
    }
    size_t packets = (pcm.size() + 4095) / 4096;
    expect(coded.size() == (2 + packets * 22 + (pcm.size() - packets) * 4 + 7) / 8, "packet layout has the expected size");
    // Full-scale steps must not wrap round.
    std::vector<int16_t> steps;
    for (int i = 0; i < 3000; ++i)
        steps.push_back(int16_t((i / 100) % 2 ? 32767 : -32768));
    std::vector<int16_t> stepsBack = adpcmDecode(adpcmEncode(steps), steps.size());
    bool sane = true;
    for (size_t i = 1; i < stepsBack.size(); ++i)
        if ((steps[i] > 0 && stepsBack[i] < -30000 && i % 100 > 20) || (steps[i] < 0 && stepsBack[i] > 30000 && i % 100 > 20))
            sane = false;
    expect(sane, "full-scale square steps decode without wrapping");
    // A tiny movie with every kind of tag reads back cleanly.
    Movie m(100, 80, 15, rgb(0xffffff));
    Shape s;
    s.add(circle({0, 0}, 10), Fill::radial({0, 0}, 10, {{0, rgb(0xffffff)}, {1, rgb(0xff0000)}}), outline());
    s.add(rect(-5, -5, 10, 10), Fill::linear({-5, 0}, {5, 0}, {{0, rgb(0x00ff00)}, {1, rgb(0x0000ff)}}));
    int shape = m.define(s);
    Morph mo;
    mo.add({circle({0, 0}, 5)}, {circle({0, 0}, 9)}, Fill::solid(rgb(0xff0000)), Fill::solid(rgb(0x0000ff)), outline(), outline(2));
    int morph = m.define(mo);
    Timeline sprite;
    for (int i = 0; i < 3; ++i) {
        State st;
        st[1] = place(shape, at(i, 0));
        sprite.frame(st);
    }
    int spriteId = m.defineSprite(sprite);
    int sound = m.defineSound(pcm, SoundRate::R22k);
    std::vector<int16_t> stream(size_t(11025 / 15 * 4), 1000);
    m.root().setStream(stream, SoundRate::R11k);
    for (int f = 0; f < 4; ++f) {
        State st;
        st[1] = place(spriteId, at(50, 40));
        if (f < 3)
            st[2] = place(morph, at(20, 20), ColorX::alpha(0.5), f * 20000);
        if (f == 0) {
            m.root().label("start");
            m.root().startSound(sound);
        }
        if (f == 3)
            m.root().stop();
        m.root().frame(st);
    }
    // Shape records must not leave a style selection to the reader after new styles: the
    // old way (an edge straight after the new styles) is refused, the written way passes.
    for (bool selectAfterNewStyles : {false, true}) {
        BitWriter b;
        b.u16(1);
        b.ub(5, 1);
        b.ub(4, 0);
        b.u8(1);            // one solid fill
        b.u8(0x00);
        b.u32(0xff0000ffu);
        b.u8(0);            // no lines
        b.ub(4, 1);
        b.ub(4, 0);
        b.ub(1, 0);         // move, selecting fill 1
        b.ub(5, 0x05);
        b.ub(5, 2);
        b.sb(2, 0);
        b.sb(2, 0);
        b.ub(1, 1);
        auto edge = [&](int dx) {
            b.ub(1, 1);
            b.ub(1, 1);
            b.ub(4, 0);
            b.ub(1, 1);
            b.sb(2, dx);
            b.sb(2, 0);
        };
        edge(1);
        b.ub(1, 0);         // new styles, no selection
        b.ub(5, 0x10);
        b.u8(1);
        b.u8(0x00);
        b.u32(0xff00ff00u);
        b.u8(0);
        b.ub(4, 1);
        b.ub(4, 0);
        if (selectAfterNewStyles) {
            b.ub(1, 0);
            b.ub(5, 0x0e);  // fill 0, fill 1 and line
            b.ub(1, 0);
            b.ub(1, 1);
            // a line selection of zero bits
        }
        edge(-1);
        b.ub(1, 0);
        b.ub(5, 0);
        const auto problems = shapeProblems(b.take(), 32);
        for (const auto& p : problems)
            std::printf("  %s\n", p.c_str());
        if (selectAfterNewStyles)
            expect(problems.empty(), "a shape selecting every style after new styles reads the same everywhere");
        else
            expect(problems.size() == 3 && problems[0].find("leaves the fill 0 selection") != std::string::npos,
                   "a shape leaving its selections to the reader after new styles is refused");
    }
    for (bool compress : {false, true}) {
        Bytes data = m.build(compress);
        QString path = QDir::temp().filePath(compress ? "numbali-selftest-c.swf" : "numbali-selftest-u.swf");
        QFile f(path);
        bool wrote = f.open(QIODevice::WriteOnly) && f.write(reinterpret_cast<const char*>(data.data()), qint64(data.size())) == qint64(data.size());
        f.close();
        std::string report;
        bool ok = wrote && checkMovie(path.toStdString(), "", report);
        std::fputs(report.c_str(), stdout);
        expect(ok, compress ? "compressed movie reads back" : "uncompressed movie reads back");
        QFile::remove(path);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}

static int sheet(int argc, char** argv)
{
    if (argc < 5)
        return 2;
    int columns = std::max(1, std::atoi(argv[3]));
    std::vector<QImage> images;
    int w = 0, h = 0;
    for (int i = 4; i < argc; ++i) {
        QImage im(QString::fromLocal8Bit(argv[i]));
        w = std::max(w, im.width());
        h = std::max(h, im.height());
        images.push_back(im);
    }
    int rows = (int(images.size()) + columns - 1) / columns;
    QImage out(columns * (w + 4), rows * (h + 4), QImage::Format_RGB32);
    out.fill(QColor(90, 90, 90));
    QPainter p(&out);
    for (size_t i = 0; i < images.size(); ++i)
        p.drawImage(int(i % size_t(columns)) * (w + 4) + 2, int(i / size_t(columns)) * (h + 4) + 2, images[i]);
    p.end();
    return out.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "--check")
        return check(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "--selftest")
        return selftest();
    if (argc >= 2 && std::string(argv[1]) == "--sheet")
        return sheet(argc, argv);
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s OUTDIR [NAME.swf...]\n       %s --check [--wav DIR] FILE...\n", argv[0], argv[0]);
        return 2;
    }
    if (!speechAvailable()) {
        std::fprintf(stderr, "%s: espeak-ng is not installed; it makes the movies' spoken words.\n"
                             "Install it (Debian: apt-get install espeak-ng) and run again.\n", argv[0]);
        return 1;
    }
    QString outDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "%s: cannot make %s\n", argv[0], argv[1]);
        return 1;
    }
    std::set<std::string> wanted;
    for (int i = 2; i < argc; ++i)
        wanted.insert(argv[i]);
    long total = 0;
    int made = 0;
    for (const MovieEntry& e : allMovies()) {
        if (!wanted.empty() && !wanted.count(e.file))
            continue;
        try {
            Bytes data = e.make().build(true);
            QFile f(QDir(outDir).filePath(e.file));
            if (!f.open(QIODevice::WriteOnly) || f.write(reinterpret_cast<const char*>(data.data()), qint64(data.size())) != qint64(data.size())) {
                std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(f.fileName()));
                return 1;
            }
            std::printf("%-14s %8zu bytes\n", e.file, data.size());
            total += long(data.size());
            ++made;
        } catch (const std::exception& ex) {
            std::fprintf(stderr, "%s: %s: %s\n", argv[0], e.file, ex.what());
            return 1;
        }
    }
    std::printf("%d movies, %ld bytes in all\n", made, total);
    return 0;
}
