// The screen switch for every screen: unload the current screen, create the target from
// its description, run its Form_Load and paint it once, on the offscreen platform.
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"
#include "sound/Mixer.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// Sounds start on Form_Load as in the program. Kept for the process, like the shell; its
// thread ends with the application object.
movie::sound::Mixer& theMixer()
{
    static auto* mixer = new movie::sound::Mixer(movie::sound::Mixer::Output::Device);
    return *mixer;
}

shell::Shell& theShell()
{
    // The movies beside the benchmark are the program's own, so Form_Load really loads them.
    static shell::Shell shell(QCoreApplication::applicationDirPath(), &theMixer());
    static bool shown = [] {
        shell.view().resize(1038, 713);
        shell.view().show();
        return true;
    }();
    (void)shown;
    return shell;
}

void switchTo(benchmark::State& state, const QString& target)
{
    auto& shell = theShell();
    QImage frame(shell.view().size(), QImage::Format_ARGB32_Premultiplied);
    // Alternate with the menu so every iteration is a real switch.
    for (auto _ : state) {
        shell.switchTo(target);
        shell.view().render(&frame);
        state.PauseTiming();
        shell.switchTo(QStringLiteral("Menú"));
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qAddPostRoutine([] { theMixer().stopOutput(); });
    for (const QString& name : theShell().catalog().names())
        benchmark::RegisterBenchmark(("switch/" + name).toStdString().c_str(),
                                     [name](benchmark::State& s) { switchTo(s, name); })
            ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
