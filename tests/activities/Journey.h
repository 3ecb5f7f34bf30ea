#pragma once

#include "ActivityHarness.h"
#include "MoviePlayer.h"
#include "ScreenCatalog.h"
#include "ScreenDescription.h"
#include "sound/Mixer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cmath>

// A child's way through a family, started as a new user would: the program opens on the
// presentation with the real movie files beside it, the menu picture opens the family, each
// screen is played to its reward and the next button leads on. What the child should see
// and hear on the way is checked as it goes: the title movies, the aquarium, each screen's
// background loop, each reward and the goodbye of the exit button.
struct Step {
    const char* screen;
    std::vector<std::pair<const char*, const char*>> drops; // piece, slot
    const char* next;                                       // null on the last screen
    const char* reward = nullptr;                           // null: "feliz" and the screen's number
};

struct Journey : ActivityHarness {
    Journey() : ActivityHarness(QStringLiteral(NUMBALI_PROGRAM_MOVIES), &testMixer()) {}

    // The players' sounds go here. It outlives every fixture's shell and the players in it.
    static movie::sound::Mixer& testMixer()
    {
        static auto* m = new movie::sound::Mixer(movie::sound::Mixer::Output::None);
        return *m;
    }
    movie::sound::Mixer& mixer = testMixer();

    // Lets the players run for `ms` of real time while the mixer is played at the same
    // pace; the loudness (RMS) of what came out.
    double listen(int ms = 250)
    {
        QElapsedTimer clock;
        clock.start();
        int64_t played = 0;
        double energy = 0;
        while (clock.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            const int64_t due = clock.elapsed() * movie::sound::OutputRate / 1000;
            if (due > played) {
                for (int16_t v : mixer.render(int(due - played)))
                    energy += double(v) * v;
                played = due;
            }
            QThread::msleep(4);
        }
        return played > 0 ? std::sqrt(energy / double(2 * played)) : 0;
    }

    // The player control shows this movie file, really loaded from the application folder.
    void expectPlaying(const char* player, const char* file)
    {
        screens::Control& control = c(player);
        EXPECT_TRUE(control.movie().endsWith(QString::fromUtf8(file))) << player << " " << qPrintable(control.movie());
        movie::MoviePlayer* running = shell.view().moviePlayer(control);
        ASSERT_TRUE(running) << player;
        EXPECT_FALSE(running->isEmpty()) << file << " did not load";
    }

    QString exitButton()
    {
        const auto* d = shell.catalog().find(shell.currentScreen()->name());
        for (const screens::NavigationButton& b : d->navigation)
            if (!b.exitPlayer.isEmpty())
                return b.button;
        return {};
    }

    // The exit button, answered No: the goodbye is heard and the screen stays.
    void sayGoodbyeButStay()
    {
        const QString screen = shell.currentScreen()->name();
        const QString button = exitButton();
        ASSERT_FALSE(button.isEmpty());
        answer = false;
        clickOn(qPrintable(button));
        EXPECT_EQ(shell.currentScreen()->name(), screen);
        const char* goodbye = screen == QStringLiteral("Tablero") ? "ShockwaveFlash1" : "ShockwaveFlash2";
        expectPlaying(goodbye, "ADIOS.swf");
        EXPECT_GT(listen(), 300) << "no goodbye heard";
    }

    void play(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.screen);
            ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8(step.screen));
            const QString number = QString::fromUtf8(step.screen).right(1);
            expectPlaying("ShockwaveFlash3", qPrintable(QStringLiteral("f_romp%1.swf").arg(number)));
            // The background loop is heard whether its player is shown or not.
            const double background = listen();
            EXPECT_GT(background, 100) << "background loop not heard";
            for (const auto& [piece, slot] : step.drops)
                dragOnto(piece, slot);
            EXPECT_TRUE(c("ShockwaveFlash1").isVisible());
            EXPECT_EQ(rewards(), 1);
            expectPlaying("ShockwaveFlash1", step.reward ? step.reward : qPrintable(QStringLiteral("feliz%1.swf").arg(number)));
            // The fanfare rings out well above the quiet background music.
            EXPECT_GT(listen(400), 2 * background) << "reward not heard";
            if (step.next)
                clickOn(step.next);
        }
    }
};

