#pragma once

#include <QPoint>
#include <QSet>
#include <QString>
#include <cstdint>
#include <random>

namespace shell {
class Shell;
}

// Plays the program through its view as an untiring, random child would: clicks, drags and
// releases anywhere (pieces, slots, buttons, the background, outside the window), the
// navigation buttons along the screen graph, and the exit question answered No. The same
// seed gives the same game.
class SoakDriver {
public:
    SoakDriver(shell::Shell& shell, quint32 seed);

    // One gesture.
    void step();
    // Whether the program is in a state the game can reach: exactly one screen open and
    // shown; every piece at its place, and any piece out of sight held by a slot; every
    // slot empty or holding a piece's or an answer's picture. `why` says what is wrong.
    bool consistent(QString* why) const;

    const QSet<QString>& visited() const { return m_visited; }
    int exitQuestions() const { return m_questions; }
    long long gestures() const { return m_gestures; }

private:
    QPoint anywhere();
    QPoint onControl(bool draggable);
    void click(QPoint at, bool quick);
    void drag(QPoint from, QPoint to);
    void send(int type, QPoint at, int buttons, quint64 advance);

    // What the slots of the screen held when it opened.
    void noteOpenedScreen();

    shell::Shell& m_shell;
    const void* m_screenSeen = nullptr;
    QSet<std::uint64_t> m_designPictures;
    std::mt19937 m_random;
    quint64 m_clock = 1000000;
    QSet<QString> m_visited;
    int m_questions = 0;
    long long m_gestures = 0;
};
