#pragma once

#include "DisplayObject.h"
#include "MovieData.h"

#include <QPainter>

namespace movie {

class Timeline;

// Paints a running timeline with QPainter. Shapes are drawn from their shared compiled
// paths; colour transforms apply to colours and, for bitmaps, to a cached copy.
class Renderer {
public:
    explicit Renderer(const MovieData& movie, bool antialiasing = true)
        : m_movie(movie), m_antialiasing(antialiasing) {}

    // "Show all": the whole stage scaled into `target` keeping proportions, centred. The
    // margins take the background colour and whatever the movie draws beyond its stage.
    static QTransform showAllTransform(const QRectF& stage, const QRectF& target);

    // A gradient's colours as 256 ratio entries (plus the end), colour transform applied.
    static QGradientStops gradientRamp(const FillStyle& fill, const ColorTransform& colors);

    void paint(QPainter& painter, const Timeline& root, const QRectF& target, Rgba background) const;
    void paintTimeline(QPainter& painter, const Timeline& timeline, const QTransform& world,
                       const ColorTransform& colors, int nesting) const;

private:
    void paintObject(QPainter& painter, const DisplayObject& obj, const QTransform& world,
                     const ColorTransform& colors, int nesting) const;
    void paintShape(QPainter& painter, const CompiledShape& shape, const QTransform& world,
                    const ColorTransform& colors) const;
    QBrush brushFor(const FillStyle& fill, const ColorTransform& colors) const;
    void paintBitmapFill(QPainter& painter, const QPainterPath& path, const FillStyle& fill,
                         const QTransform& world, const ColorTransform& colors) const;
    const QImage* bitmapFor(uint16_t id, const ColorTransform& colors) const;
    // The area an object covers, in device coordinates, for use as a clip layer.
    void collectOutline(QPainterPath& out, const DisplayObject& obj, const QTransform& world, int nesting) const;

    const MovieData& m_movie;
    bool m_antialiasing;
    mutable double m_stageScale = 0.05;  // pixels per twip of the whole stage
    // Morph edges that may be blended anew for one picture; beyond, cached shapes are used.
    static constexpr qint64 MorphEdgesPerPaint = 200000;
    mutable qint64 m_morphBudget = MorphEdgesPerPaint;
};

} // namespace movie
