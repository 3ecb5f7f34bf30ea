#include "MoviePlayer.h"

#include "Movie.h"
#include "MoviePreparer.h"
#include "MovieSound.h"

#include <QHash>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <deque>

namespace movie {

namespace {

// Movies read before, kept parsed (with the shapes already built for them) so that coming
// back to a screen does not parse and build its movies again. The file is read every time
// and parsed again when its bytes differ.
struct CachedMovie {
    QByteArray bytes;
    std::shared_ptr<const MovieData> data;
};

constexpr std::size_t kCachedMovies = 24;

Result<std::shared_ptr<const MovieData>> readMovie(const QString& path)
{
    using R = Result<std::shared_ptr<const MovieData>>;
    static QHash<QString, CachedMovie> cache;
    static std::deque<QString> order;
    auto read = Movie::readFile(path);
    if (!read)
        return R::failure(read.error());
    const QByteArray& bytes = read.value();
    if (auto it = cache.find(path); it != cache.end() && it->bytes == bytes)
        return it->data;
    auto parsed = MoviePreparer::load(bytes);
    if (!parsed)
        return R::failure(parsed.error());
    std::shared_ptr<const MovieData> data = parsed.value();
    cache.insert(path, CachedMovie{bytes, data});
    order.erase(std::remove(order.begin(), order.end(), path), order.end());
    order.push_back(path);
    if (order.size() > kCachedMovies) {
        cache.remove(order.front());
        order.pop_front();
    }
    return data;
}

} // namespace

struct MoviePlayer::State {
    std::unique_ptr<Movie> movie;
    // The movie's sounds; only while the play setting is on.
    std::unique_ptr<MovieSound> sound;
    QTimer timer;
};

MoviePlayer::MoviePlayer(sound::Mixer* mixer, QObject* parent) : QObject(parent), m_mixer(mixer) {}
MoviePlayer::~MoviePlayer() = default;

bool MoviePlayer::load(const QString& path)
{
    clear();
    auto loaded = readMovie(path);
    if (!loaded) {
        std::fprintf(stderr, "movie: %s refused: %s\n", qPrintable(path), qPrintable(loaded.error()));
        return false;
    }
    auto state = std::make_unique<State>();
    state->movie = std::make_unique<Movie>(loaded.value());
    state->movie->setName(path);
    // Rates below one frame a second or above the display's are not useful for playback.
    double fps = std::clamp(state->movie->frameRate(), 1.0, 120.0);
    if (state->movie->frameRate() <= 0)
        fps = 12;
    state->timer.setTimerType(Qt::PreciseTimer);
    state->timer.setInterval(int(std::lround(1000.0 / fps)));
    connect(&state->timer, &QTimer::timeout, this, &MoviePlayer::onTick);
    m_state = std::move(state);
    m_path = path;
    if (m_playing) {
        startSound();
        m_state->timer.start();
    } else {
        m_state->movie->takeSoundEvents(); // the first frame is shown, and silent
    }
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
        m_state->movie->restart(); // from the first frame, with its sounds
        startSound();
        m_state->timer.start();
    } else {
        m_state->timer.stop();
        m_state->sound.reset(); // silences at once
        m_state->movie->restart();
        m_state->movie->takeSoundEvents();
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
    Movie::SoundEvents events = m_state->movie->takeSoundEvents();
    if (m_state->sound)
        m_state->sound->frameShown(std::move(events));
    // A hidden player keeps time but asks for no repaint; a still picture needs none either.
    if (m_visible && changed)
        emit frameChanged();
}

void MoviePlayer::startSound()
{
    Movie::SoundEvents first = m_state->movie->takeSoundEvents();
    if (!m_mixer)
        return;
    m_state->sound = std::make_unique<MovieSound>(*m_mixer, m_state->movie->sharedData());
    // The sounds of the first frame, which was entered when the movie was made.
    m_state->sound->frameShown(std::move(first));
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
