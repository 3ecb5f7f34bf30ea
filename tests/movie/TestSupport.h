#pragma once

#include "Movie.h"
#include "SwfWriter.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

namespace movietest {

inline std::unique_ptr<movie::Movie> loadMovie(const QByteArray& bytes)
{
    auto r = movie::Movie::fromBytes(bytes);
    EXPECT_TRUE(r.ok()) << qPrintable(r.error());
    return r.ok() ? std::move(r.value()) : nullptr;
}

// Defines a shape: one rectangle in one solid colour, in twips.
inline void defineRectangle(SwfWriter& w, int id, Color color, int x, int y, int width, int height)
{
    ShapeWriter s;
    int f = s.solidFill(color);
    s.change(-1, f, -1);
    s.rectangle(x, y, width, height);
    w.defineShape(id, s);
}

// Places a character at depth 1.
inline void placeCharacter(SwfWriter& w, int characterId)
{
    SwfWriter::Place p;
    p.characterId = characterId;
    w.place(p);
}

// Defines a sprite of `frames` empty frames.
inline void defineEmptySprite(SwfWriter& w, int id, int frames)
{
    SwfWriter body;
    for (int i = 0; i < frames; ++i)
        body.showFrame();
    body.end();
    w.sprite(id, body.body(), frames);
}

// Ends the movie being written with one more shown frame and loads it.
inline std::unique_ptr<movie::Movie> finishAndLoad(SwfWriter& w)
{
    w.showFrame();
    w.end();
    return loadMovie(w.file());
}

// Places a character at depth 1 as the last frame's one change, then ends and loads the movie.
inline std::unique_ptr<movie::Movie> placeAndLoad(SwfWriter& w, int characterId = 1)
{
    placeCharacter(w, characterId);
    return finishAndLoad(w);
}

inline QRgb pixelAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }

inline ::testing::AssertionResult colorNear(QRgb actual, QRgb expected, int tolerance = 2)
{
    int d = std::max({std::abs(qRed(actual) - qRed(expected)), std::abs(qGreen(actual) - qGreen(expected)),
                      std::abs(qBlue(actual) - qBlue(expected))});
    if (d <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour " << std::hex << (actual & 0xffffff) << " expected "
                                         << (expected & 0xffffff);
}

} // namespace movietest
