#pragma once

#include "Screen.h"
#include "Shell.h"

#include <gtest/gtest.h>

// Per screen: picture controls, players, panels, frames, labels, draggable pictures,
// controls with a custom pointer, pictures hidden at start.
struct ControlCounts {
    const char* screen;
    int images, players, panels, frames, labels, draggable, custom, hidden;
};

// Builds each screen from its description and compares what it holds with the counts.
inline void expectControlCounts(std::initializer_list<ControlCounts> table)
{
    using screens::ControlKind;
    shell::Shell shell(QStringLiteral("/app"));
    for (const ControlCounts& expected : table) {
        SCOPED_TRACE(expected.screen);
        auto screen = shell.create(QString::fromUtf8(expected.screen));
        ASSERT_TRUE(screen);
        ControlCounts got{expected.screen, 0, 0, 0, 0, 0, 0, 0, 0};
        for (const screens::Control* c : screen->allControls()) {
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
            got.custom += c->mousePointer() == screens::MousePointer::Custom;
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
