// Developer tool: plays every movie in a folder for a stretch of movie time, faster than real
// time, painting each frame, and reports the memory held before and after.
//   numbali-long-play MOVIE_FOLDER [MINUTES_OF_MOVIE_TIME]
#include "Movie.h"
#include "ResidentMemory.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: numbali-long-play MOVIE_FOLDER [MINUTES]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const double minutes = argc > 2 ? std::atof(argv[2]) : 60;
    QImage canvas(240, 180, QImage::Format_ARGB32_Premultiplied);
    for (const QString& name : folder.entryList({QStringLiteral("*.swf")})) {
        auto loaded = movie::Movie::fromFile(folder.filePath(name));
        if (!loaded) {
            std::printf("%s: refused: %s\n", qPrintable(name), qPrintable(loaded.error()));
            continue;
        }
        movie::Movie& m = *loaded.value();
        const long frames = long(minutes * 60 * std::max(1.0, m.frameRate()));
        const long before = residentKiB();
        long afterFirstMinute = -1;
        QElapsedTimer clock;
        clock.start();
        for (long f = 0; f < frames; ++f) {
            m.tick();
            m.takeSoundEvents();
            canvas.fill(Qt::white);
            QPainter p(&canvas);
            m.paint(p, QRectF(canvas.rect()));
            if (f == long(60 * m.frameRate()))
                afterFirstMinute = residentKiB();
        }
        std::printf("%-14s %ld frames (%.0f min) in %.1f s; resident %ld KiB before, %ld after a minute, %ld at the end\n",
                    qPrintable(name), frames, minutes, clock.elapsed() / 1000.0, before, afterFirstMinute, residentKiB());
        std::fflush(stdout);
    }
    return 0;
}
