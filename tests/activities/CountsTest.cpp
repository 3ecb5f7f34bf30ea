#include "Screen.h"
#include "Shell.h"

#include <gtest/gtest.h>

using namespace screens;

namespace {

// Per screen: picture controls, players, panels, frames, labels, draggable pictures,
// controls with a custom pointer, pictures hidden at start.
struct Counts {
    const char* screen;
    int images, players, panels, frames, labels, draggable, custom, hidden;
};

const Counts kCounts[] = {
    {"Presentación", 1, 4, 0, 0, 2, 0, 0, 0},
    {"Menú", 12, 2, 0, 0, 0, 0, 0, 1},
    {"Tablero", 7, 2, 6, 0, 0, 0, 4, 1},
    {"Colores1", 18, 3, 1, 3, 1, 3, 4, 5},
    {"Colores2", 19, 3, 0, 0, 0, 3, 4, 6},
    {"Colores3", 19, 3, 0, 0, 0, 3, 4, 6},
    {"Colores4", 20, 3, 0, 0, 0, 3, 4, 6},
    {"Cantidad1", 21, 3, 4, 0, 0, 5, 6, 7},
    {"Cantidad2", 21, 3, 4, 0, 0, 8, 9, 7},
    {"Cantidad3", 21, 3, 4, 0, 0, 5, 6, 7},
    {"Cantidad4", 21, 3, 4, 0, 0, 8, 9, 7},
    {"Cantidad5", 28, 3, 6, 0, 0, 5, 5, 11},
};

} // namespace

TEST(Counts, FinishedScreensHoldTheControlsTheyShould)
{
    shell::Shell shell(QStringLiteral("/app"));
    for (const Counts& expected : kCounts) {
        SCOPED_TRACE(expected.screen);
        auto screen = shell.create(QString::fromUtf8(expected.screen));
        ASSERT_TRUE(screen);
        Counts got{expected.screen, 0, 0, 0, 0, 0, 0, 0, 0};
        for (const Control* c : screen->allControls()) {
            switch (c->kind()) {
            case ControlKind::Image:
                ++got.images;
                got.draggable += c->dragAutomatic();
                got.hidden += !c->isVisible();
                break;
            case ControlKind::Player: ++got.players; break;
            case ControlKind::Panel: ++got.panels; break;
            case ControlKind::Frame: ++got.frames; break;
            case ControlKind::Label: ++got.labels; break;
            case ControlKind::Line: break;
            }
            got.custom += c->mousePointer() == MousePointer::Custom;
        }
        EXPECT_EQ(got.images, expected.images);
        EXPECT_EQ(got.players, expected.players);
        EXPECT_EQ(got.panels, expected.panels);
        EXPECT_EQ(got.frames, expected.frames);
        EXPECT_EQ(got.labels, expected.labels);
        EXPECT_EQ(got.draggable, expected.draggable);
        EXPECT_EQ(got.custom, expected.custom);
        EXPECT_EQ(got.hidden, expected.hidden);
    }
}
