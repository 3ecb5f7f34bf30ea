// libFuzzer entry point: reads a movie from the input, and when it is accepted plays a few
// frames and paints each one, and decodes its sounds and stream blocks, so the reader,
// timeline, renderer and sound decoders all see hostile data.

#include "Movie.h"
#include "sound/SoundDecoder.h"
#include "sound/StreamDecoder.h"

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
    using namespace movie::sound;
    for (const auto& c : m.data().characters) {
        if (const auto* sound = std::get_if<movie::SoundCharacter>(&c))
            (void)decodeSound(sound->format, sound->sampleCount, bytesOf(sound->data));
    }
    const auto& root = *m.data().root;
    if (!root.streamHeads.empty()) {
        StreamDecoder decoder(root.streamHeads.back());
        int blocks = 0;
        for (const auto& frame : root.frames)
            for (const QByteArray& block : frame.streamBlocks)
                if (++blocks <= 64)
                    (void)decoder.decodeBlock(bytesOf(block));
    }
    QImage image(48, 36, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 4; ++i) {
        QPainter painter(&image);
        m.paint(painter, QRectF(0, 0, 48, 36));
        painter.end();
        m.tick();
    }
    return 0;
}
