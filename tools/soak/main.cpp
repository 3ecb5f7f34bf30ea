// Developer tool: plays the program with random gestures for a long time and reports the
// pace and the memory it holds.
//   numbali-soak [EVENTS [SEED [REPORT_EVERY]]]
// Gestures go to the real program's view (offscreen), with its movies beside it.
//
// Memory depends on the screen that is open (a puzzle holds less than the title's movies),
// so the figures to compare are taken on the same screen: after a first full tour that
// opens every screen in turn and plays each for a moment, and plays every movie of the
// program once (the rewards too, which random play reaches only now and then), the menu is
// opened and measured; after the last gesture the menu is opened again and measured again.
// A leak shows as a difference between the two; the reports in between say what the open
// screen holds.
#include "ResidentMemory.h"
#include "SoakDriver.h"
#include "ScreenView.h"
#include "Shell.h"
#include "MoviePlayer.h"
#include "ShapeRasters.h"
#include "sound/Mixer.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QElapsedTimer>
#include <cstdio>

namespace {

const QString MeasuredScreen = QStringLiteral("Menú");

// Lets timers, movie frames and paints run for about `ms` milliseconds.
void play(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Memory {
    long resident = -1, heap = -1, pictures = -1;
};

Memory measureOnTheMenu(shell::Shell& shell)
{
    shell.switchTo(MeasuredScreen);
    play(300);
    return {residentKiB(), heapInUseKiB(), long(movie::ShapeRasters::totalBytes() / 1024)};
}

} // namespace

int main(int argc, char** argv)
{
    shell::Shell::shareOneHeap();  // as the program does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long long events = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const quint32 seed = argc > 2 ? quint32(std::strtoul(argv[2], nullptr, 10)) : 1;
    const long long every = argc > 3 ? std::atoll(argv[3]) : 50000;
    // Sounds are mixed as in the program (without a device, the mixer's thread keeps time).
    movie::sound::Mixer mixer(movie::sound::Mixer::Output::Device);
    shell::Shell shell(QCoreApplication::applicationDirPath(), &mixer);
    shell.setQuit([] {});
    shell.start();
    shell.view().resize(692, 475);
    std::printf("at the start: resident %ld KiB, heap in use %ld KiB\n", residentKiB(), heapInUseKiB());

    for (const QString& name : shell.catalog().names()) {
        shell.switchTo(name);
        play(150);
    }
    const QDir movies(QCoreApplication::applicationDirPath());  // where the shell finds them
    for (const QString& file : movies.entryList({QStringLiteral("*.swf")}, QDir::Files, QDir::Name)) {
        movie::MoviePlayer player(&mixer);
        QImage frame(shell.view().size(), QImage::Format_ARGB32_Premultiplied);
        if (!player.load(movies.filePath(file)))
            continue;
        player.setPlaying(true);
        for (int i = 0; i < 3; ++i) {
            play(70);
            QPainter p(&frame);
            player.paint(p, QRectF(frame.rect()));
        }
    }
    const Memory toured = measureOnTheMenu(shell);
    std::printf("after the first full tour, on the menu: resident %ld KiB, heap in use %ld KiB (movie shape pictures %ld KiB)\n",
                toured.resident, toured.heap, toured.pictures);

    SoakDriver driver(shell, seed);
    QElapsedTimer clock;
    clock.start();
    for (long long i = 1; i <= events; ++i) {
        driver.step();
        if (i % 25 == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        QString why;
        if (i % 1000 == 0 && !driver.consistent(&why)) {
            std::printf("inconsistent after %lld gestures: %s\n", i, qPrintable(why));
            return 1;
        }
        if (i % every == 0 || i == events)
            std::printf("%lld gestures, %.0f a second, %lld screens seen, %d exit questions, on %s: resident %ld KiB, "
                        "heap in use %ld KiB\n",
                        i, double(i) * 1000 / std::max<qint64>(1, clock.elapsed()), (long long)driver.visited().size(),
                        driver.exitQuestions(), shell.currentScreen() ? qPrintable(shell.currentScreen()->name()) : "-",
                        residentKiB(), heapInUseKiB());
        std::fflush(stdout);
    }
    const Memory end = measureOnTheMenu(shell);
    std::printf("at the end, on the menu: resident %ld KiB (%+.1f %%), heap in use %ld KiB (%+.1f %%) (movie shape pictures %ld KiB)\n",
                end.resident, 100.0 * (end.resident - toured.resident) / std::max(1L, toured.resident), end.heap,
                100.0 * (end.heap - toured.heap) / std::max(1L, toured.heap), end.pictures);
    return 0;
}
