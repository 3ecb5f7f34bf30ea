// libFuzzer entry point: reads a movie from the input, and when it is accepted plays a few
// frames and paints each one, so the reader, timeline and renderer all see hostile data.

#include "Movie.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    auto loaded = movie::Movie::fromBytes(bytes);
    if (!loaded)
        return 0;
    movie::Movie& m = *loaded.value();
    QImage image(48, 36, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 4; ++i) {
        QPainter painter(&image);
        m.paint(painter, QRectF(0, 0, 48, 36));
        painter.end();
        m.tick();
    }
    return 0;
}
