#include "MoviePlayer.h"

#include "Movie.h"
#include "MoviePreparer.h"
#include "MovieSound.h"
#include "Renderer.h"

#include <QHash>
#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <utility>

namespace movie {

namespace {

// Movies read before, kept parsed (with the shapes already built for them) so that coming
// back to a screen does not parse and build its movies again. The file is read every time
// and parsed again when its bytes differ.
struct CachedMovie {
    QByteArray bytes;
    std::shared_ptr<const MovieData> data;
    // Pictures of its shapes as last drawn, so that a screen shown again starts drawn, and
    // what painting it worked out.
    std::shared_ptr<ShapeRasters> rasters;
    std::shared_ptr<PaintCaches> caches;
};

constexpr std::size_t kCachedMovies = 24;

Result<CachedMovie> readMovie(const QString& path)
{
    using R = Result<CachedMovie>;
    static QHash<QString, CachedMovie> cache;
    static std::deque<QString> order;
    auto read = Movie::readFile(path);
    if (!read)
        return R::failure(read.error());
    const QByteArray& bytes = read.value();
    if (auto it = cache.find(path); it != cache.end() && it->bytes == bytes)
        return *it;
    auto parsed = MoviePreparer::load(bytes);
    if (!parsed)
        return R::failure(parsed.error());
    CachedMovie entry{bytes, parsed.value(), std::make_shared<ShapeRasters>(), std::make_shared<PaintCaches>()};
    cache.insert(path, entry);
    order.erase(std::remove(order.begin(), order.end(), path), order.end());
    order.push_back(path);
    if (order.size() > kCachedMovies) {
        cache.remove(order.front());
        order.pop_front();
    }
    return entry;
}

// Players of the same frame rate advance together on one timer, so that the new frames of
// all the movies on a screen are painted in one go rather than each at a moment of its own.
class FrameClock {
public:
    static FrameClock& every(int intervalMs)
    {
        // Never destroyed: players may outlive any order of static destruction at exit.
        static auto* clocks = new std::map<int, FrameClock*>;
        FrameClock*& clock = (*clocks)[intervalMs];
        if (!clock)
            clock = new FrameClock(intervalMs);
        return *clock;
    }

    void join(const void* who, std::function<void()> tick)
    {
        m_members.emplace_back(who, std::move(tick));
        if (!m_timer.isActive())
            m_timer.start();
    }

    void leave(const void* who)
    {
        std::erase_if(m_members, [who](const auto& m) { return m.first == who; });
        if (m_members.empty())
            m_timer.stop();
    }

private:
    explicit FrameClock(int intervalMs)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            // A tick may make players join or leave; each member still there is ticked once.
            const auto members = m_members;
            for (const auto& [who, tick] : members)
                if (std::any_of(m_members.begin(), m_members.end(), [w = who](const auto& m) { return m.first == w; }))
                    tick();
        });
    }

    QTimer m_timer;
    std::vector<std::pair<const void*, std::function<void()>>> m_members;
};

} // namespace

struct MoviePlayer::State {
    std::unique_ptr<Movie> movie;
    // The movie's sounds; only while the play setting is on.
    std::unique_ptr<MovieSound> sound;
    int intervalMs = 83;
    bool ticking = false;

    void start(MoviePlayer* player)
    {
        if (!ticking)
            FrameClock::every(intervalMs).join(this, [player] { player->onTick(); });
        ticking = true;
    }
    void stop()
    {
        if (ticking)
            FrameClock::every(intervalMs).leave(this);
        ticking = false;
    }
    ~State() { stop(); }
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
    state->movie = std::make_unique<Movie>(loaded.value().data);
    state->movie->setName(path);
    state->movie->setShapeRasters(loaded.value().rasters);
    state->movie->setPaintCaches(loaded.value().caches);
    // Rates below one frame a second or above the display's are not useful for playback.
    state->intervalMs = int(std::lround(1000.0 / state->movie->data().playbackRate()));
    m_state = std::move(state);
    m_path = path;
    if (m_playing) {
        startSound();
        m_state->start(this);
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
    m_wholeChanged = true;
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
        m_state->start(this);
    } else {
        m_state->stop();
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
    m_wholeChanged = true;
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

void MoviePlayer::paint(QPainter& painter, const QRectF& target, const QRectF& visible) const
{
    if (!m_visible || !m_state)
        return;
    // Painted on a thread of the global pool while this one waits. From there the painter
    // fills each shape on its own thread: from any other thread it shares the larger fills out
    // among the pool's threads, and on the few cores of the computers this program runs on,
    // waking them and waiting for them costs more than the work they take over.
    QThreadPool* pool = QThreadPool::globalInstance();
    if (!pool || pool->contains(QThread::currentThread())) {
        m_state->movie->paint(painter, target, visible);
        return;
    }
    QSemaphore done;
    pool->start([&] {
        m_state->movie->paint(painter, target, visible);
        done.release();
    });
    done.acquire();
}

QRegion MoviePlayer::takeChangedArea(const QRectF& target)
{
    const QRect whole = target.toAlignedRect();
    Movie::Changes changes = m_state ? m_state->movie->takeChanges() : Movie::Changes{};
    if (std::exchange(m_wholeChanged, false) || changes.everything)
        return whole;
    return changedArea(*m_state->movie, changes.rects, target);
}

QRegion MoviePlayer::changedArea(const Movie& movie, const std::vector<QRectF>& stageRects, const QRectF& target)
{
    // Mapped as the renderer maps the stage, with a margin for antialiased edges.
    const QRect whole = target.toAlignedRect();
    const QTransform toTarget = Renderer::showAllTransform(movie.data().stage, target);
    QRegion area;
    for (const QRectF& r : stageRects)
        area += toTarget.mapRect(r).toAlignedRect().adjusted(-2, -2, 2, 2).intersected(whole);
    return area;
}

} // namespace movie
