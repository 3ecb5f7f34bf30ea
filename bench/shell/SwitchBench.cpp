// The screen switch for every screen: unload the current screen, create the target from
// its description, run its Form_Load and paint it once, on the offscreen platform.
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"
#include "sound/Mixer.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void switchTo(benchmark::State& state, shell::Shell& shell, const QString& target)
{
    QImage frame(shell.view().size(), QImage::Format_ARGB32_Premultiplied);
    // Alternate with another screen so that every iteration is a real switch, and every one
    // after the first a return visit.
    const QString other = QString::fromUtf8(target == QString::fromUtf8("Menú") ? "Presentación" : "Menú");
    for (auto _ : state) {
        shell.switchTo(target);
        shell.view().render(&frame);
        state.PauseTiming();
        shell.switchTo(other);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Offscreen unless another platform is asked for (xcb, to measure on an X display).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        // Sounds start on Form_Load as in the program, and the movies beside the benchmark
        // are the program's own, so Form_Load really loads them. Both go before the
        // application object, as in the program.
        movie::sound::Mixer mixer(movie::sound::Mixer::Output::Device);
        shell::Shell shell(QCoreApplication::applicationDirPath(), &mixer);
        shell.view().resize(1038, 713);
        shell.view().show();
        for (const QString& name : shell.catalog().names())
            benchmark::RegisterBenchmark(("switch/" + name).toStdString().c_str(),
                                         [name, &shell](benchmark::State& s) { switchTo(s, shell, name); })
                ->Unit(benchmark::kMicrosecond)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    return 0;
}
