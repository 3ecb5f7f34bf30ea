// Developer tool: plays the program with random gestures for a long time and reports the
// pace and the memory it holds.
//   numbali-soak [EVENTS [SEED [REPORT_EVERY]]]
// Gestures go to the real program's view (offscreen), with its movies beside it.
#include "ResidentMemory.h"
#include "SoakDriver.h"
#include "ScreenView.h"
#include "Shell.h"
#include "sound/Mixer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
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
    SoakDriver driver(shell, seed);
    QElapsedTimer clock;
    clock.start();
    long firstTour = -1;
    for (long long i = 1; i <= events; ++i) {
        driver.step();
        if (i % 25 == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        QString why;
        if (i % 1000 == 0 && !driver.consistent(&why)) {
            std::printf("inconsistent after %lld gestures: %s\n", i, qPrintable(why));
            return 1;
        }
        if (firstTour < 0 && driver.visited().size() == shell.catalog().names().size())
            firstTour = residentKiB();
        if (i % every == 0 || i == events)
            std::printf("%lld gestures, %.0f a second, %lld screens seen, %d exit questions, resident %ld KiB (after the first full tour %ld KiB)\n",
                        i, double(i) * 1000 / std::max<qint64>(1, clock.elapsed()), (long long)driver.visited().size(),
                        driver.exitQuestions(), residentKiB(), firstTour);
        std::fflush(stdout);
    }
    return 0;
}
