// Start-up: from starting the program's process to the first painted frame of the first
// screen, and the memory resident at that moment. The benchmark starts itself as a child
// that does what the program does and reports when its first paint has finished.
#include "ResidentMemory.h"
#include "ScreenView.h"
#include "Shell.h"
#include "sound/Mixer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("painted %ld\n", residentKiB());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

int child(int argc, char** argv)
{
    QApplication app(argc, argv);
    movie::sound::Mixer mixer(movie::sound::Mixer::Output::Device);  // as the program does
    shell::Shell shell(QCoreApplication::applicationDirPath(), &mixer);
    FirstPaint watcher;
    shell.view().installEventFilter(&watcher);
    shell.start();
    return app.exec();
}

void startUp(benchmark::State& state, QString self)
{
    long rss = 0;
    for (auto _ : state) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        process.start(self, {QStringLiteral("--child")});
        process.waitForReadyRead(10000);
        const double seconds = timer.nsecsElapsed() / 1e9;
        const QByteArray line = process.readAllStandardOutput();
        process.waitForFinished(10000);
        if (!line.startsWith("painted")) {
            state.SkipWithError("the child did not paint");
            return;
        }
        rss = line.mid(8).trimmed().toLong();
        state.SetIterationTime(seconds);
    }
    state.counters["resident_MB"] = rss / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return child(argc, argv);
    const QString self = QString::fromLocal8Bit(argv[0]);
    benchmark::RegisterBenchmark("startup/first_paint", [self](benchmark::State& s) { startUp(s, self); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(10);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
