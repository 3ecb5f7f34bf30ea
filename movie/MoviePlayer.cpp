#include "MoviePlayer.h"

#include "Movie.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace movie {

struct MoviePlayer::State {
    std::unique_ptr<Movie> movie;
    QTimer timer;
};

MoviePlayer::MoviePlayer(QObject* parent) : QObject(parent) {}
MoviePlayer::~MoviePlayer() = default;

bool MoviePlayer::load(const QString& path)
{
    clear();
    auto loaded = Movie::fromFile(path);
    if (!loaded) {
        std::fprintf(stderr, "movie: %s refused: %s\n", qPrintable(path), qPrintable(loaded.error()));
        return false;
    }
    auto state = std::make_unique<State>();
    state->movie = std::move(loaded.value());
    // Rates below one frame a second or above the display's are not useful for playback.
    double fps = std::clamp(state->movie->frameRate(), 1.0, 120.0);
    if (state->movie->frameRate() <= 0)
        fps = 12;
    state->timer.setTimerType(Qt::PreciseTimer);
    state->timer.setInterval(int(std::lround(1000.0 / fps)));
    connect(&state->timer, &QTimer::timeout, this, &MoviePlayer::onTick);
    m_state = std::move(state);
    m_path = path;
    if (m_playing)
        m_state->timer.start();
    emit frameChanged();
    return true;
}

void MoviePlayer::clear()
{
    bool had = m_state != nullptr;
    m_state.reset();
    m_path.clear();
    if (had)
        emit frameChanged();
}

void MoviePlayer::setPlaying(bool on)
{
    if (m_playing == on)
        return;
    m_playing = on;
    if (!m_state)
        return;
    if (on) {
        m_state->timer.start();
    } else {
        m_state->timer.stop();
        m_state->movie->restart();
        emit frameChanged();
    }
}

void MoviePlayer::setVisible(bool on)
{
    if (m_visible == on)
        return;
    m_visible = on;
    if (on && m_state)
        emit frameChanged();
}

void MoviePlayer::onTick()
{
    if (!m_state)
        return;
    bool changed = m_state->movie->tick();
    // A hidden player keeps time but asks for no repaint; a still picture needs none either.
    if (m_visible && changed)
        emit frameChanged();
}

bool MoviePlayer::isEmpty() const { return !m_state; }

Movie* MoviePlayer::movie() const { return m_state ? m_state->movie.get() : nullptr; }

void MoviePlayer::paint(QPainter& painter, const QRectF& target) const
{
    if (!m_visible || !m_state)
        return;
    m_state->movie->paint(painter, target);
}

} // namespace movie
