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
