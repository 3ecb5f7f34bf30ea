// Renders one frame of a movie file to a PNG at the movie's stage size.
//   numbali-swf-render FILE FRAME OUT.png [--no-antialias]
// FRAME counts from 1: the image shows the movie after it has run that many frames from
// its start, following loops and actions as the player would.

#include "Movie.h"

#include <QCoreApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bool antialias = true;
    if (argc == 5 && QByteArray(argv[4]) == "--no-antialias")
        antialias = false;
    else if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE FRAME OUT.png [--no-antialias]\n", argv[0]);
        return 2;
    }
    bool ok = false;
    long frame = QString::fromLocal8Bit(argv[2]).toLong(&ok);
    if (!ok || frame < 1 || frame > 1000000) {
        std::fprintf(stderr, "%s: FRAME must be a number from 1\n", argv[0]);
        return 2;
    }
    auto loaded = movie::Movie::fromFile(QString::fromLocal8Bit(argv[1]));
    if (!loaded) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[1], qPrintable(loaded.error()));
        return 1;
    }
    movie::Movie& m = *loaded.value();
    m.setAntialiasing(antialias);
    for (long i = 1; i < frame; ++i)
        m.tick();
    QImage image = m.snapshot();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
