#pragma once

#include "Mouse.h"
#include "Screen.h"
#include "ScreenView.h"
#include "Shell.h"

#include <gtest/gtest.h>

// A shell showing one activity screen, played with real mouse events on its view.
struct ActivityHarness : ::testing::Test {
    // By default the application folder holds no movies, so players stay empty.
    explicit ActivityHarness(const QString& applicationFolder = QStringLiteral("/opt/numbali"),
                             movie::sound::Mixer* mixer = nullptr)
        : shell(applicationFolder, mixer)
    {
    }

    shell::Shell shell;
    int prompts = 0;
    int quits = 0;
    bool answer = false;

    void SetUp() override
    {
        shell.setExitPrompt([this](QWidget*) {
            ++prompts;
            return answer;
        });
        shell.setQuit([this] { ++quits; });
        shell.view().resize(1038, 713);
        shell.view().show();
    }

    void open(const QString& name)
    {
        shell.switchTo(name);
        ASSERT_TRUE(shell.currentScreen());
        ASSERT_EQ(shell.currentScreen()->name(), name);
    }

    screens::Control& c(const QString& name)
    {
        screens::Control* control = shell.currentScreen()->control(name);
        EXPECT_TRUE(control) << qPrintable(name);
        return *control;
    }
    screens::Control& c(const char* name) { return c(QString::fromUtf8(name)); }

    // Presses on the piece where it shows, drags it onto the slot and releases there. The
    // piece must be the control the child would grab at that point.
    void dragOnto(const char* piece, const char* slot)
    {
        auto& view = shell.view();
        screens::Control& p = c(piece);
        screens::Control& s = c(slot);
        const QPoint from = view.centreOf(p);
        const QPoint to = view.centreOf(s);
        ASSERT_EQ(view.controlAt(from), &p) << piece << " cannot be grabbed";
        ASSERT_EQ(view.controlAt(to), &s) << slot << " is covered";
        mouse::drag(&view, from, to);
    }

    void clickOn(const char* name)
    {
        const QPoint p = shell.view().centreOf(c(name));
        ASSERT_EQ(shell.view().controlAt(p), &c(name)) << name << " is covered";
        mouse::click(&shell.view(), p);
    }

    bool shown(const char* name) { return c(name).isVisible(); }
    int rewards() { return c("ShockwaveFlash1").movieLoads(); }
    bool rewardPlaying(const char* movie)
    {
        screens::Control& player = c("ShockwaveFlash1");
        return player.isVisible() && player.movie().endsWith(QString::fromUtf8(movie));
    }
};
