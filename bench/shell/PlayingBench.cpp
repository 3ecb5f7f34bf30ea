// Screens playing their movies: the cost to the program, in share of one core, of showing a
// screen for some seconds with its movies running and being painted (offscreen platform).
#include "ScreenView.h"
#include "Shell.h"
#include "sound/Mixer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void playing(benchmark::State& state, const QString& screen)
{
    movie::sound::Mixer mixer(movie::sound::Mixer::Output::Device);  // as the program does
    shell::Shell shell(QCoreApplication::applicationDirPath(), &mixer);
    shell.view().resize(1038, 713);
    shell.view().show();
    shell.switchTo(screen);
    // Let the first frames and caches settle.
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    double share = 0;
    for (auto _ : state) {
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        share = (cpuSeconds() - cpu0) / (wall.nsecsElapsed() / 1e9);
        state.SetIterationTime(wall.nsecsElapsed() / 1e9);
    }
    state.counters["core_percent"] = share * 100;
}

} // namespace

int main(int argc, char** argv)
{
    // Offscreen unless another platform is asked for (xcb, to measure on an X display).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const char* name : {"Presentación", "Menú", "Colores2", "Tablero"}) {
        const QString screen = QString::fromUtf8(name);
        benchmark::RegisterBenchmark((std::string("playing/") + name).c_str(),
                                     [screen](benchmark::State& s) { playing(s, screen); })
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
