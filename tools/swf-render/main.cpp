// Renders one frame of a movie file to a PNG at the movie's stage size, or as a player of
// the given size shows it.
//   numbali-swf-render FILE FRAME OUT.png [--no-antialias] [--size WIDTHxHEIGHT]
// FRAME counts from 1: the image shows the movie after it has run that many frames from
// its start, following loops and actions as the player would.
//   numbali-swf-render FILE --digests FRAMES [--no-antialias] [--size WIDTHxHEIGHT]
// prints, for each of the first FRAMES frames, its number and a digest of its pixels: two
// builds that print the same lines draw the movie alike to the pixel.

#include "Movie.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bool antialias = true;
    QSize size;
    bool usage = argc < 4;
    for (int i = 4; i < argc && !usage; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--no-antialias") {
            antialias = false;
        } else if (arg == "--size" && i + 1 < argc) {
            const QList<QByteArray> wh = QByteArray(argv[++i]).split('x');
            bool okW = false, okH = false;
            if (wh.size() == 2)
                size = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
            usage = !okW || !okH || size.width() < 1 || size.height() < 1 || size.width() > 8192 || size.height() > 8192;
        } else {
            usage = true;
        }
    }
    if (usage) {
        std::fprintf(stderr, "usage: %s FILE FRAME OUT.png [--no-antialias] [--size WIDTHxHEIGHT]\n"
                             "       %s FILE --digests FRAMES [--no-antialias] [--size WIDTHxHEIGHT]\n",
                     argv[0], argv[0]);
        return 2;
    }
    const bool digests = QByteArray(argv[2]) == "--digests";
    bool ok = false;
    long frame = QString::fromLocal8Bit(argv[digests ? 3 : 2]).toLong(&ok);
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
    auto draw = [&] {
        if (!size.isValid())
            return m.snapshot();
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        m.paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        return image;
    };
    if (digests) {
        for (long i = 1; i <= frame; ++i) {
            if (i > 1)
                m.tick();
            const QImage image = draw().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCryptographicHash hash(QCryptographicHash::Sha1);
            for (int y = 0; y < image.height(); ++y)
                hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)),
                                            image.width() * 4));
            std::printf("%ld %s\n", i, hash.result().toHex().constData());
        }
        return 0;
    }
    for (long i = 1; i < frame; ++i)
        m.tick();
    const QImage image = draw();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
