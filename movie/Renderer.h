#pragma once

#include "DisplayObject.h"
#include "MovieData.h"
#include "PaintCaches.h"
#include "Scene.h"
#include "ShapeRasters.h"

#include <QElapsedTimer>
#include <QPainter>
#include <algorithm>

namespace movie {

class Timeline;

// Paints a running timeline with QPainter. Shapes are drawn from their shared compiled
// paths; colour transforms apply to colours and, for bitmaps, to a cached copy. What is
// worked out while painting is kept in `caches`, which belong to the same movie data.
class Renderer {
public:
    // With `bounds`, objects wholly outside the area being painted are not drawn at all;
    // with `rasters` as well, shapes drawn alike again are copied from kept pictures.
    Renderer(const MovieData& movie, PaintCaches& caches, bool antialiasing = true,
             CharacterBounds* bounds = nullptr, ShapeRasters* rasters = nullptr)
        : m_movie(movie), m_caches(caches), m_antialiasing(antialiasing), m_bounds(bounds),
          m_rasters(bounds ? rasters : nullptr) {}

    // "Show all": the whole stage scaled into `target` keeping proportions, centred. The
    // margins take the background colour and whatever the movie draws beyond its stage.
    static QTransform showAllTransform(const QRectF& stage, const QRectF& target);

    // A gradient's colours as 256 ratio entries (plus the end), colour transform applied.
    static QGradientStops gradientRamp(const FillStyle& fill, const ColorTransform& colors);

    // The drawing work one paint may do, counting every placement: the edges of filled
    // areas, clip layers and text (a curve counts as three) and their length, and stroke
    // segments weighted by their width. Lengths and widths are in the movie's own pixels,
    // so a movie costs the same whatever the size of its player. The busiest frame the
    // program ships needs under a quarter of it; a frame that needs more draws what fits and
    // leaves the rest out, so that a small hostile file cannot hold the screen for seconds.
    static constexpr qint64 DrawingBudget = 50000;
    // The painter's work grows with every pixel an edge crosses as well as with the edges.
    static constexpr double PixelsPerUnit = 16;
    static double pathCost(int elements, double lengthPx) { return elements + lengthPx / PixelsPerUnit; }
    // What one unit of a stroke costs when it is `width` of the movie's pixels wide.
    static double strokeWeight(double width) { return 1.0 + std::max(0.0, width) / 2.0; }
    // Each edge's extent across plus its extent up, in the path's own units.
    static double pathLength(const QPainterPath& path);

    // However the work is counted, some paths cost the painter far more than their edges and
    // lengths say (thousands of long hairlines side by side can take seconds). So a paint that
    // has run longer than `paintNs` draws nothing more, and a part of a shape that alone took
    // longer than `partNs` is left out of every later paint of the movie. Both lie far above
    // what any real movie needs, even on a slow computer at full screen. Time counts only when
    // the program itself was working through it (a computer busy elsewhere only makes the clock
    // run), and a part must be slow in two paints before it is left out.
    struct TimeLimits {
        qint64 paintNs = 250'000'000;
        qint64 partNs = 100'000'000;
    };
    void setTimeLimits(TimeLimits limits) { m_limits = limits; }

    // `visible`, in the painter's coordinates, limits the painting to what may show inside
    // it (the part of a player being repainted); null means all of `target`.
    void paint(QPainter& painter, const Timeline& root, const QRectF& target, Rgba background,
               const QRectF& visible = QRectF()) const;
    void paintTimeline(QPainter& painter, const Timeline& timeline, const QTransform& world,
                       const ColorTransform& colors, int nesting) const;

    // The work of the last paint, and the work it left out (0 when it drew everything).
    qint64 drawingDone() const { return m_drawn; }
    qint64 drawingLeftOut() const { return m_leftOut; }
    // Whether the paint ran out of time, or left out parts known to be slow; how long it took.
    bool ranOutOfTime() const { return m_ranOutOfTime; }
    bool leftOutSlowParts() const { return m_leftOutSlow; }
    qint64 paintNs() const { return m_clock.nsecsElapsed(); }

private:
    // Takes `cost` from the paint's budget; false (and the work counted as left out) when
    // it does not fit, or when the paint has run out of time.
    bool spend(double cost) const;
    // Whether at least `ns` went by since the paint began, with the program at work for as long.
    bool spentTime(qint64 ns, qint64 sinceNs = 0) const;
    // Leaves out a part known to take too long.
    bool leaveOutSlow() const;
    // Counts a slow paint of the part if drawing it, from `startNs` on, took longer than allowed.
    void timePart(PaintCaches::Part& part, qint64 startNs) const;
    // Spends the cost of filling `path` drawn at `moviePixels` of the movie's pixels to
    // one of its units, the edge count tried first so that huge paths are never measured.
    bool spendOnPath(const QPainterPath& path, double moviePixels, double weight = 1) const;
    // The movie's pixels to one unit under `world`, leaving the player's zoom out.
    double moviePixels(const QTransform& world) const;
    void paintObject(QPainter& painter, const DisplayObject& obj, const QTransform& world,
                     const ColorTransform& colors, int nesting) const;
    void paintShape(QPainter& painter, const CompiledShape& shape, PaintCaches::Shape& kept,
                    const QTransform& world, const ColorTransform& colors) const;
    QBrush brushFor(const FillStyle& fill, PaintCaches::Ramp& ramp, const ColorTransform& colors) const;
    void paintBitmapFill(QPainter& painter, const QPainterPath& path, const FillStyle& fill,
                         const QTransform& world, const ColorTransform& colors) const;
    const QImage* bitmapFor(uint16_t id, const ColorTransform& colors) const;
    // The area an object covers, in device coordinates, for use as a clip layer.
    void collectOutline(QPainterPath& out, const DisplayObject& obj, const QTransform& world, int nesting) const;

    // Whether an object with this character, drawn under `world`, lies wholly outside the
    // area being painted.
    bool outsidePaintedArea(const Character& character, const QTransform& world) const;
    // Draws the shape from its kept picture (making it when due); false when it is to be
    // drawn from its outlines.
    bool paintKeptShape(QPainter& painter, const Character& character, const QTransform& world,
                        const ColorTransform& colors) const;

    const MovieData& m_movie;
    PaintCaches& m_caches;
    bool m_antialiasing;
    CharacterBounds* m_bounds;
    ShapeRasters* m_rasters;
    mutable uint64_t m_paint = 0;
    mutable QRectF m_paintedArea;  // device pixels; null when everything is painted
    mutable double m_stageScale = 0.05;  // pixels per twip of the whole stage
    // Morph edges that may be blended anew for one picture; beyond, cached shapes are used.
    static constexpr qint64 MorphEdgesPerPaint = 200000;
    mutable qint64 m_morphBudget = MorphEdgesPerPaint;
    mutable qint64 m_drawn = 0;
    mutable qint64 m_leftOut = 0;
    TimeLimits m_limits;
    mutable QElapsedTimer m_clock;
    mutable qint64 m_cpuAtStart = 0;
    mutable bool m_ranOutOfTime = false;
    mutable bool m_leftOutSlow = false;
};

} // namespace movie
