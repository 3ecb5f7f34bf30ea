#pragma once

#include "MovieData.h"
#include "PaintCaches.h"
#include "PlayContext.h"
#include "Renderer.h"
#include "Result.h"
#include "Scene.h"
#include "ShapeRasters.h"
#include "Timeline.h"

#include <QPainter>
#include <memory>

namespace movie {

// A loaded movie with its running timeline. Used by the player widget, the render tool,
// tests and benchmarks alike; knows nothing about timers.
class Movie {
public:
    static Result<std::unique_ptr<Movie>> fromBytes(const QByteArray& bytes);
    static Result<std::unique_ptr<Movie>> fromFile(const QString& path);
    // A movie file's bytes, refusing files too large to be one.
    static Result<QByteArray> readFile(const QString& path);

    explicit Movie(std::shared_ptr<const MovieData> data);
    ~Movie();

    // Back to the first frame, as when just loaded.
    void restart();
    // Runs one frame: the timelines advance, then the queued actions run. Returns whether
    // the picture may have changed (false when nothing was placed, moved or removed).
    bool tick();
    // Paints the current frame into `target`. Given `visible` (in the painter's coordinates),
    // only what may show inside it is drawn; the rest of the picture is left as it was.
    void paint(QPainter& painter, const QRectF& target, const QRectF& visible = QRectF()) const;

    // Where the picture may have changed since the last call: stage rectangles in twips, or
    // everything (just made or restarted). Empty when nothing visible changed.
    struct Changes {
        bool everything = false;
        std::vector<QRectF> rects;
        bool empty() const { return !everything && rects.empty(); }
    };
    Changes takeChanges();
    // The current frame as an opaque image; an empty size means the stage at its own scale,
    // cut to whole pixels (scaled down to at most 16 megapixels).
    QImage snapshot(QSize size = {}) const;

    // The name used in messages (the file's path when read from a file).
    void setName(const QString& name) { m_name = name; }
    const QString& name() const { return m_name; }

    // Whether some paint had more to draw than the renderer's budget allows and left part
    // of its frame out. The first such paint writes one line to standard error.
    bool drawingCut() const { return m_drawingCut; }
    // The drawing work of the last paint, in the renderer's budget units.
    qint64 lastDrawingWork() const { return m_lastDrawingWork; }

    // Shapes drawn alike again are copied from pictures kept in `rasters`, which should
    // belong to this movie's data (the player keeps one set with each movie it has read).
    void setShapeRasters(std::shared_ptr<ShapeRasters> rasters) { m_rasters = std::move(rasters); }
    // What painting works out is kept in `caches`, which should belong to this movie's data
    // (a movie has caches of its own until given others).
    void setPaintCaches(std::shared_ptr<PaintCaches> caches) { m_caches = std::move(caches); }

    // How long painting may take before it leaves things out (see Renderer::TimeLimits).
    void setPaintTimeLimits(Renderer::TimeLimits limits) { m_timeLimits = limits; }

    // Edges are smoothed unless turned off (to compare with references drawn without).
    void setAntialiasing(bool on) { m_antialiasing = on; }

    const MovieData& data() const { return *m_data; }
    const std::shared_ptr<const MovieData>& sharedData() const { return m_data; }
    Timeline& root() { return *m_root; }
    const Timeline& root() const { return *m_root; }
    QSizeF stageSize() const { return m_data->stage.size() / 20.0; }
    double frameRate() const { return m_data->frameRate; }

    // Sounds to start (event sounds) and stream sound data of the frames shown since the
    // last call, for a sound mixer. Pointers stay valid while the movie exists.
    struct SoundEvents {
        bool stopAll = false;  // a stop-sounds action ran (before any started sound listed)
        std::vector<const StartSound*> started;
        std::vector<PlayContext::StreamBlock> streamBlocks;
    };
    SoundEvents takeSoundEvents();
    int objectCount() const { return m_context.objects; }
    uint64_t ticks() const { return m_context.tick; }  // frames run since the start

private:
    void runQueuedActions();

    std::shared_ptr<const MovieData> m_data;
    PlayContext m_context;
    std::unique_ptr<Timeline> m_root;
    bool m_antialiasing = true;
    QString m_name;
    mutable CharacterBounds m_bounds;
    std::shared_ptr<ShapeRasters> m_rasters;
    std::shared_ptr<PaintCaches> m_caches = std::make_shared<PaintCaches>();
    Scene m_scene, m_nextScene;  // as last shown, and a spare to build the next in
    Changes m_changes;
    mutable bool m_drawingCut = false;
    mutable bool m_cutForTime = false;  // since changes were last taken
    Renderer::TimeLimits m_timeLimits;
    mutable qint64 m_lastDrawingWork = 0;
};

} // namespace movie
