// Movie decoding and frame rendering costs over the shared SWF corpus.
//   BM_Decode/<case>:  reading and checking one file (what load() costs).
//   BM_Frame/<case>:   one timeline step plus painting at twice the stage size; reports the
//                      median frame time.
//   BM_ProgramFrames:  the program's own movies in turn, the same figures.
//   BM_AllFrames:      every corpus movie in turn; reports the median frame time and an
//                      estimate for four players sharing one UI thread (goal: frame < 2 ms).

#include "Movie.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

struct CorpusFile {
    QString name;
    QByteArray bytes;
};

std::vector<CorpusFile>& corpus()
{
    static std::vector<CorpusFile> files;
    return files;
}

void loadCorpus()
{
    // The program's own movies first: they are what the players show.
    QDir own(QStringLiteral(NUMBALI_PROGRAM_MOVIES));
    for (const QString& name : own.entryList({"*.swf"}, QDir::Files, QDir::Name)) {
        QFile f(own.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            corpus().push_back({"program/" + name, f.readAll()});
    }
    const QString root = QStringLiteral(NUMBALI_SWF_CORPUS);
    for (const char* category : {"render", "parse"}) {
        QDir dir(root + "/" + category);
        for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            QFile f(dir.filePath(name + "/test.swf"));
            if (f.open(QIODevice::ReadOnly))
                corpus().push_back({QString(category) + "/" + name, f.readAll()});
        }
    }
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QSize doubleStage(const movie::Movie& m)
{
    QSizeF s = m.stageSize() * 2;
    // Keep absurd stage sizes from turning the benchmark into a memory test.
    return QSize(std::clamp(int(s.width()), 1, 4096), std::clamp(int(s.height()), 1, 4096));
}

double frameMs(movie::Movie& m, QImage& image)
{
    auto t0 = std::chrono::steady_clock::now();
    m.tick();
    QPainter painter(&image);
    m.paint(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

void decodeBench(benchmark::State& state, const CorpusFile* file)
{
    for (auto _ : state) {
        auto m = movie::Movie::fromBytes(file->bytes);
        benchmark::DoNotOptimize(m.ok());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * file->bytes.size());
}

void frameBench(benchmark::State& state, const CorpusFile* file)
{
    auto loaded = movie::Movie::fromBytes(file->bytes);
    if (!loaded) {
        state.SkipWithError("refused");
        return;
    }
    movie::Movie& m = *loaded.value();
    QImage image(doubleStage(m), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> times;
    for (auto _ : state)
        times.push_back(frameMs(m, image));
    state.counters["median_ms"] = median(times);
}

void allFramesBench(benchmark::State& state, bool programOnly)
{
    std::vector<std::unique_ptr<movie::Movie>> movies;
    std::vector<QImage> images;
    for (const CorpusFile& f : corpus()) {
        if (programOnly && !f.name.startsWith("program/"))
            continue;
        auto loaded = movie::Movie::fromBytes(f.bytes);
        if (!loaded)
            continue;
        images.emplace_back(doubleStage(*loaded.value()), QImage::Format_ARGB32_Premultiplied);
        movies.push_back(std::move(loaded.value()));
    }
    if (movies.empty()) {
        state.SkipWithError("no movies");
        return;
    }
    std::vector<double> times;
    size_t i = 0;
    for (auto _ : state) {
        times.push_back(frameMs(*movies[i], images[i]));
        i = (i + 1) % movies.size();
    }
    std::sort(times.begin(), times.end());
    double med = median(times);
    state.counters["median_ms"] = med;
    state.counters["p95_ms"] = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    state.counters["four_players_ms"] = 4 * med;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    loadCorpus();
    if (corpus().empty()) {
        std::fprintf(stderr, "no movies found (corpus at %s); nothing to measure\n", NUMBALI_SWF_CORPUS);
        return 0;
    }
    for (const CorpusFile& f : corpus())
        benchmark::RegisterBenchmark(("BM_Decode/" + f.name).toStdString().c_str(), decodeBench, &f)
            ->Unit(benchmark::kMicrosecond);
    for (const CorpusFile& f : corpus())
        benchmark::RegisterBenchmark(("BM_Frame/" + f.name).toStdString().c_str(), frameBench, &f)
            ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_ProgramFrames", allFramesBench, true)->Unit(benchmark::kMicrosecond)->Iterations(2000);
    benchmark::RegisterBenchmark("BM_AllFrames", allFramesBench, false)->Unit(benchmark::kMicrosecond)->Iterations(2000);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
