#include "Shell.h"

#include <gtest/gtest.h>

// The window the program opens on desktops from a 4K monitor down to a small touch panel.
TEST(WindowSize, TheFirstWindowFillsLargeDesktopsInQuarterStepsAndFitsSmallOnes)
{
    const QSize design(692, 475);
    struct Desktop {
        QSize available;
        double scale;
    };
    for (const Desktop& d : {Desktop{{3840, 2112}, 3.75}, Desktop{{1920, 1040}, 1.75}, Desktop{{1366, 740}, 1.25},
                             Desktop{{1024, 576}, 1.0}, Desktop{{1024, 552}, 1.0}}) {
        EXPECT_DOUBLE_EQ(shell::Shell::startScale(design, d.available), d.scale) << d.available.width() << "x" << d.available.height();
    }
    // A panel smaller than the design size shrinks the screen so the window and its title
    // bar fit, down to half the design size.
    for (QSize small : {QSize(800, 456), QSize(640, 480), QSize(480, 320)}) {
        const double s = shell::Shell::startScale(design, small);
        EXPECT_LT(s, 1.0);
        EXPECT_LE(design.width() * s, small.width());
        EXPECT_LE(design.height() * s + 30, small.height()) << small.width() << "x" << small.height();
    }
    EXPECT_DOUBLE_EQ(shell::Shell::startScale(design, QSize(320, 200)), 0.5);
}
