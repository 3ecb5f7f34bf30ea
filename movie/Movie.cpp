#include "Movie.h"

#include "MoviePreparer.h"
#include "Renderer.h"
#include "SwfContainer.h"

#include <QFile>
#include <QImage>
#include <cmath>
#include <cstdio>

namespace movie {

Result<std::unique_ptr<Movie>> Movie::fromBytes(const QByteArray& bytes)
{
    auto data = MoviePreparer::load(bytes);
    if (!data)
        return Result<std::unique_ptr<Movie>>::failure(data.error());
    return std::make_unique<Movie>(data.value());
}

Result<QByteArray> Movie::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result<QByteArray>::failure(QString("cannot open %1").arg(path));
    // Compressed bodies are capped separately; the file itself cannot usefully exceed this.
    if (file.size() > 4 * qint64(SwfContainer::MaxBodySize))
        return Result<QByteArray>::failure("file is too large");
    return file.readAll();
}

Result<std::unique_ptr<Movie>> Movie::fromFile(const QString& path)
{
    auto bytes = readFile(path);
    if (!bytes)
        return Result<std::unique_ptr<Movie>>::failure(bytes.error());
    auto movie = fromBytes(bytes.value());
    if (movie)
        movie.value()->setName(path);
    return movie;
}

Movie::Movie(std::shared_ptr<const MovieData> data) : m_data(std::move(data))
{
    m_context.movie = m_data.get();
    restart();
}

Movie::~Movie()
{
    m_root.reset();
}

void Movie::restart()
{
    m_root.reset();
    m_context.queue.clear();
    m_context.startedSounds.clear();
    m_context.streamBlocks.clear();
    m_context.stopAllSounds = false;
    m_context.tick = 0;
    m_context.commandsThisTick = 0;
    m_context.createdThisTick = 0;
    m_context.background = m_data->background;
    m_root = std::make_unique<Timeline>(m_context, m_data->root.get(), 0);
    m_root->start();
    runQueuedActions();
    m_scene.capture(*m_root, m_bounds);
    m_changes = Changes{true, {}};
}

bool Movie::tick()
{
    ++m_context.tick;
    m_context.commandsThisTick = 0;
    m_context.createdThisTick = 0;
    m_context.pictureChanged = false;
    m_root->advance();
    runQueuedActions();
    if (m_context.pictureChanged) {
        m_nextScene.capture(*m_root, m_bounds);
        for (const QRectF& r : Scene::changes(m_scene, m_nextScene))
            m_changes.rects.push_back(r);
        // Frames not yet taken add up; many small changes become one rectangle.
        if (m_changes.rects.size() > Scene::MaxRects) {
            QRectF all;
            for (const QRectF& r : m_changes.rects)
                all = all.united(r);
            m_changes.rects.assign(1, all);
        }
        std::swap(m_scene, m_nextScene);
    }
    return m_context.pictureChanged;
}

Movie::Changes Movie::takeChanges()
{
    Changes taken = std::move(m_changes);
    m_changes = Changes{};
    // What a paint cut short for time left out is drawn with the next.
    taken.everything = taken.everything || m_cutForTime;
    m_cutForTime = false;
    return taken;
}

void Movie::runQueuedActions()
{
    // Actions may queue more (a goto queues the target frame's); the budget bounds a frame.
    int budget = PlayContext::MaxActionsPerTick;
    for (size_t i = 0; i < m_context.queue.size() && budget > 0; ++i, --budget) {
        if (m_context.commandsThisTick > PlayContext::MaxCommandsPerTick)
            break;
        PlayContext::QueuedActions item = m_context.queue[i];
        auto it = m_context.alive.find(item.timeline);
        if (it != m_context.alive.end() && it->second == item.serial)
            item.timeline->runActions(*item.actions);
    }
    m_context.queue.clear();
}

Movie::SoundEvents Movie::takeSoundEvents()
{
    SoundEvents events;
    events.stopAll = m_context.stopAllSounds;
    events.started = std::move(m_context.startedSounds);
    events.streamBlocks = std::move(m_context.streamBlocks);
    m_context.stopAllSounds = false;
    m_context.startedSounds.clear();
    m_context.streamBlocks.clear();
    return events;
}

void Movie::paint(QPainter& painter, const QRectF& target, const QRectF& visible) const
{
    Renderer renderer(*m_data, *m_caches, m_antialiasing, &m_bounds, m_rasters.get());
    renderer.setTimeLimits(m_timeLimits);
    renderer.paint(painter, *m_root, target, m_context.background, visible);
    m_lastDrawingWork = renderer.drawingDone();
    m_cutForTime = m_cutForTime || renderer.ranOutOfTime();
    if (renderer.drawingLeftOut() > 0 && !m_drawingCut) {
        m_drawingCut = true;
        const QString why = renderer.ranOutOfTime() || renderer.leftOutSlowParts()
            ? QStringLiteral("takes too long to draw (%1 ms so far)").arg(renderer.paintNs() / 1000000)
            : QStringLiteral("has too much to draw (%1 units, %2 allowed)")
                  .arg(renderer.drawingDone() + renderer.drawingLeftOut())
                  .arg(Renderer::DrawingBudget);
        std::fprintf(stderr, "movie: %s: frame %d %s; drawn in part\n",
                     m_name.isEmpty() ? "(unnamed)" : qPrintable(m_name), m_root->currentFrame() + 1, qPrintable(why));
    }
}

} // namespace movie

namespace movie {

QImage Movie::snapshot(QSize size) const
{
    QRectF target(QPointF(0, 0), QSizeF(size));
    if (size.isEmpty()) {
        QSizeF stage = stageSize();
        // Absurd stage sizes are drawn smaller rather than allocating gigabytes.
        constexpr double maxPixels = 16.0 * 1024 * 1024;
        double area = stage.width() * stage.height();
        if (area > maxPixels)
            stage *= std::sqrt(maxPixels / area);
        // The stage is drawn at its own scale and cut to whole pixels: a stage part of a
        // pixel wider than the image is not squeezed into it.
        size = QSize(std::max(1, int(std::floor(stage.width() + 1e-6))), std::max(1, int(std::floor(stage.height() + 1e-6))));
        target = QRectF(QPointF(0, 0), stage.expandedTo(QSizeF(size)));
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    paint(painter, target);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace movie
