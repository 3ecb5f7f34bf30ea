// The cost of painting one frame of movies made to be expensive to draw (see
// tests/movie/HostileMovies.h), at the stage's size with antialiasing, as the player does.
//   BM_HostilePaint/<case>: one paint, once the renderer has settled; the counters give the
//   first three paints in milliseconds (a part slow in two paints is left out after them).
//   bench_paint_budget --write DIR: writes the cases as DIR/<case>.swf instead, for
//   timing them with numbali-swf-render.

#include "HostileMovies.h"
#include "Movie.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

void paintBench(benchmark::State& state, const std::function<QByteArray()>& make)
{
    const QByteArray bytes = make();
    auto loaded = movie::Movie::fromBytes(bytes);
    if (!loaded) {
        state.SkipWithError(qPrintable(loaded.error()));
        return;
    }
    movie::Movie& m = *loaded.value();
    QImage image(m.stageSize().toSize(), QImage::Format_ARGB32_Premultiplied);
    for (const char* counter : {"paint1_ms", "paint2_ms", "paint3_ms"}) {
        QElapsedTimer clock;
        clock.start();
        QPainter painter(&image);
        m.paint(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
        state.counters[counter] = double(clock.nsecsElapsed()) / 1e6;
    }
    for (auto _ : state) {
        QPainter painter(&image);
        m.paint(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    }
    state.counters["file_bytes"] = double(bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    using movietest::denseCombMovie;
    using movietest::zigzagLineMovie;
    const struct {
        const char* name;
        std::function<QByteArray()> make;
    } cases[] = {
        {"comb_100k_edges_x10", [] { return denseCombMovie(100000, 10); }},
        {"comb_250k_edges_x10", [] { return denseCombMovie(250000, 10); }},
        {"comb_100k_edges_x100", [] { return denseCombMovie(100000, 100); }},
        {"line_20k_segments_10px", [] { return zigzagLineMovie(20000, 200); }},
        {"line_20k_segments_1px", [] { return zigzagLineMovie(20000, 20); }},
        // Within the budget: what a movie may still cost.
        {"comb_1000_edges_x1", [] { return denseCombMovie(1000, 1); }},
        {"line_1000_segments_1px", [] { return zigzagLineMovie(1000, 20); }},
        // Within the budget as counted, but the painter takes seconds over it: hairlines two
        // pixels apart, each crossing every row, which time leaves out after two paints.
        {"line_1000_segments_1px_spread", [] { return zigzagLineMovie(1000, 20, 40); }},
    };
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        const QDir dir(QString::fromLocal8Bit(argv[2]));
        for (const auto& c : cases) {
            QFile f(dir.filePath(QString(c.name) + ".swf"));
            if (!f.open(QIODevice::WriteOnly) || f.write(c.make()) < 0) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
                return 1;
            }
        }
        return 0;
    }
    for (const auto& c : cases)
        benchmark::RegisterBenchmark((std::string("BM_HostilePaint/") + c.name).c_str(), paintBench, c.make)
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
