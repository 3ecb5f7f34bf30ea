// The cost of painting one frame of movies made to be expensive to draw (see
// tests/movie/HostileMovies.h), at the stage's size with antialiasing, as the player does.
//   BM_HostilePaint/<case>: one paint.
//   bench_paint_budget --write DIR: writes the cases as DIR/<case>.swf instead, for
//   timing them with numbali-swf-render.

#include "HostileMovies.h"
#include "Movie.h"

#include <QCoreApplication>
#include <QDir>
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
