#include "MoviePlayer.h"

#include <QFile>
#include <QPainter>
#include <cstdio>

namespace movie {

// Until the movie decoder is in place a loaded movie is only recorded: the player keeps
// its path and paints nothing.
struct MoviePlayer::State {
    QByteArray signature;
};

MoviePlayer::MoviePlayer(QObject* parent) : QObject(parent) {}
MoviePlayer::~MoviePlayer() = default;

bool MoviePlayer::load(const QString& path)
{
    clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "movie: cannot open %s\n", qPrintable(path));
        return false;
    }
    auto state = std::make_unique<State>();
    state->signature = file.read(3);
    if (state->signature != "FWS" && state->signature != "CWS" && state->signature != "ZWS") {
        std::fprintf(stderr, "movie: %s is not a movie file\n", qPrintable(path));
        return false;
    }
    m_state = std::move(state);
    m_path = path;
    emit frameChanged();
    return true;
}

void MoviePlayer::clear()
{
    m_state.reset();
    m_path.clear();
}

void MoviePlayer::setPlaying(bool on) { m_playing = on; }

bool MoviePlayer::isEmpty() const { return !m_state; }

void MoviePlayer::paint(QPainter&, const QRectF&) const {}

} // namespace movie
