#include "Renderer.h"

#include "Timeline.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <cmath>
#include <ctime>

namespace movie {

namespace {

// The processor time the program has used, in nanoseconds.
qint64 processCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

namespace {

constexpr double GradientHalf = 16384.0;  // gradients are defined on a 32768-twip square
// Ramp bands start this fraction of an entry early, so that a position falling exactly on a
// band's start still lands in it after the painter's own colour table rounds it.
constexpr double BandBias = 0.15;

QColor toQColor(Rgba c) { return QColor(c.r, c.g, c.b, c.a); }

double toLinear(double v)
{
    v /= 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double fromLinear(double v)
{
    v = v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return std::clamp(v * 255.0, 0.0, 255.0);
}

// Entry r of the ramp covers [r/256, (r+1)/256) of the gradient square as one flat band,
// not a blend with its neighbours.
QGradientStops rampBands(const QGradientStops& ramp)
{
    QGradientStops bands;
    const int entries = std::min<int>(ramp.size(), 256);
    bands.reserve(entries * 2);
    for (int i = 0; i < entries; ++i) {
        bands.append({std::max(0.0, (i - BandBias) / 256.0), ramp[i].second});
        bands.append({std::min(1.0, (i + 1 - BandBias) / 256.0 - 1e-6), ramp[i].second});
    }
    return bands;
}

} // namespace

// The gradient as a 256-entry ramp, built the way movies expect: walking the ratios, the
// current segment moves on by at most one stop per entry, entering a stop's segment at its
// ratio. Stops sharing a ratio thus show one entry each (the last of them only starts the
// next segment), and a stop whose ratio goes backwards is passed over.
QGradientStops Renderer::gradientRamp(const FillStyle& fill, const ColorTransform& colors)
{
    QGradientStops stops;
    const size_t n = fill.stops.size();
    if (n == 0)
        return stops;
    std::vector<Rgba> c(n);
    for (size_t i = 0; i < n; ++i)
        c[i] = colors.apply(fill.stops[i].color);
    const bool linear = fill.interpolation == Interpolation::LinearRgb;
    auto mix = [linear](int a, int b, double t) {
        if (!linear)
            return a + (b - a) * t;
        return fromLinear(toLinear(a) + (toLinear(b) - toLinear(a)) * t);
    };
    stops.reserve(257);
    size_t next = 0;  // the stop ending the current segment; before the first, it pads
    for (int i = 0; i < 256; ++i) {
        if (next < n && i > fill.stops[next].ratio)
            ++next;
        QColor color;
        if (next == 0 || next >= n) {
            const Rgba& e = c[next == 0 ? 0 : n - 1];
            color = QColor(e.r, e.g, e.b, e.a);
        } else {
            const GradientStop& a = fill.stops[next - 1];
            const GradientStop& b = fill.stops[next];
            int span = b.ratio - a.ratio;
            double t = span <= 0 ? 0.0 : std::clamp(double(i - a.ratio) / span, 0.0, 1.0);
            const Rgba& ca = c[next - 1];
            const Rgba& cb = c[next];
            color.setRgbF(float(std::clamp(mix(ca.r, cb.r, t) / 255.0, 0.0, 1.0)),
                          float(std::clamp(mix(ca.g, cb.g, t) / 255.0, 0.0, 1.0)),
                          float(std::clamp(mix(ca.b, cb.b, t) / 255.0, 0.0, 1.0)),
                          float(std::clamp((ca.a + (cb.a - ca.a) * t) / 255.0, 0.0, 1.0)));
        }
        // Ratio r starts at r/256 of the gradient square.
        stops.append({i / 256.0, color});
    }
    stops.append({1.0, stops.back().second});
    return stops;
}

QTransform Renderer::showAllTransform(const QRectF& stage, const QRectF& target)
{
    if (stage.width() <= 0 || stage.height() <= 0 || target.isEmpty())
        return QTransform();
    double scale = std::min(target.width() / stage.width(), target.height() / stage.height());
    double dx = target.x() + (target.width() - stage.width() * scale) / 2 - stage.x() * scale;
    double dy = target.y() + (target.height() - stage.height() * scale) / 2 - stage.y() * scale;
    return QTransform(scale, 0, 0, scale, dx, dy);
}

void Renderer::paint(QPainter& painter, const Timeline& root, const QRectF& target, Rgba background,
                     const QRectF& visible) const
{
    if (!target.isValid() || target.isEmpty())
        return;
    painter.save();
    // A margin of two pixels takes in antialiased edges and one-pixel strokes.
    m_paintedArea = visible.isNull() || !m_bounds
        ? QRectF()
        : painter.worldTransform().mapRect(visible.intersected(target)).adjusted(-2, -2, 2, 2);
    painter.fillRect(target, toQColor(background));
    // Everything below is drawn with absolute transforms that include the caller's own.
    const QTransform base = painter.worldTransform();
    const QTransform showAll = showAllTransform(m_movie.stage, target);
    // Like the platform's player in this scale mode, what a movie draws beyond its stage
    // shows in the margins: a movie can carry its scenery past the stage's edges so that it
    // fills players of other proportions. Nothing is drawn outside the player.
    painter.setClipRect(target, Qt::IntersectClip);
    const QTransform world = showAll * base;
    m_stageScale = showAll.m11() * std::sqrt(std::abs(base.determinant()));
    m_paint = m_rasters ? ShapeRasters::nextPaint() : 0;
    m_morphBudget = MorphEdgesPerPaint;
    m_drawn = 0;
    m_leftOut = 0;
    m_ranOutOfTime = false;
    m_leftOutSlow = false;
    m_clock.start();
    m_cpuAtStart = processCpuNs();
    painter.setRenderHint(QPainter::Antialiasing, m_antialiasing);
    paintTimeline(painter, root, world, ColorTransform(), 0);
    painter.restore();
}

bool Renderer::spend(double cost) const
{
    const qint64 units = qint64(std::ceil(std::min(cost, 1e15)));
    if (spentTime(m_limits.paintNs)) {
        m_leftOut += std::max<qint64>(units, 1);
        m_ranOutOfTime = true;
        return false;
    }
    if (units > DrawingBudget - m_drawn) {
        m_leftOut += units;
        return false;
    }
    m_drawn += units;
    return true;
}

bool Renderer::leaveOutSlow() const
{
    m_leftOut += 1;
    m_leftOutSlow = true;
    return false;
}

void Renderer::timePart(PaintCaches::Part& part, qint64 startNs) const
{
    if (spentTime(m_limits.partNs, startNs))
        ++part.slowPaints;
}

bool Renderer::spentTime(qint64 ns, qint64 sinceNs) const
{
    // The clock first, which costs nothing to read; the processor time only when it is due.
    return m_clock.nsecsElapsed() - sinceNs >= ns && processCpuNs() - m_cpuAtStart >= ns;
}

bool Renderer::spendOnPath(const QPainterPath& path, double moviePixels, double weight) const
{
    const int elements = path.elementCount();
    if (elements * weight > double(DrawingBudget - m_drawn))
        return spend(elements * weight);
    return spend(pathCost(elements, pathLength(path) * moviePixels) * weight);
}

double Renderer::moviePixels(const QTransform& world) const
{
    const double scale = std::sqrt(std::abs(world.determinant()));
    return m_stageScale > 0 ? scale / m_stageScale * 0.05 : scale;
}

double Renderer::pathLength(const QPainterPath& path)
{
    double length = 0;
    QPointF last;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        if (!e.isMoveTo())
            length += std::abs(e.x - last.x()) + std::abs(e.y - last.y());
        last = QPointF(e.x, e.y);
    }
    return length;
}

void Renderer::paintTimeline(QPainter& painter, const Timeline& timeline, const QTransform& world,
                             const ColorTransform& colors, int nesting) const
{
    struct Mask {
        int clipDepth;
        QPainterPath path;  // device coordinates
    };
    std::vector<Mask> masks;
    // The clip is set up once for a run of objects under the same masks.
    int maskVersion = 0, appliedVersion = -1;
    bool clipped = false;
    for (const auto& [depth, obj] : timeline.displayList()) {
        size_t before = masks.size();
        std::erase_if(masks, [depth = depth](const Mask& m) { return depth > m.clipDepth; });
        if (masks.size() != before)
            ++maskVersion;
        if (obj.clipDepth > 0) {
            Mask m{obj.clipDepth, {}};
            m.path.setFillRule(Qt::WindingFill);
            collectOutline(m.path, obj, obj.matrix * world, nesting);
            masks.push_back(std::move(m));
            ++maskVersion;
            continue;
        }
        if (!obj.visible)
            continue;
        if (masks.empty()) {
            if (clipped) {
                painter.restore();
                clipped = false;
            }
        } else if (!clipped || appliedVersion != maskVersion) {
            if (clipped) {
                painter.restore();
                clipped = false;
            }
            // Clip paths are in the device's pixels.
            const double toMovie = moviePixels(QTransform());
            bool fits = true;
            for (const Mask& m : masks)
                fits = fits && spendOnPath(m.path, toMovie);
            // Without its clip an object would show where it should not: it is left out.
            if (!fits)
                continue;
            painter.save();
            painter.setTransform(QTransform());
            for (const Mask& m : masks)
                painter.setClipPath(m.path, Qt::IntersectClip);
            clipped = true;
            appliedVersion = maskVersion;
        }
        paintObject(painter, obj, obj.matrix * world, colors, nesting);
    }
    if (clipped)
        painter.restore();
}

void Renderer::collectOutline(QPainterPath& out, const DisplayObject& obj, const QTransform& world, int nesting) const
{
    if (!obj.character || nesting > PlayContext::MaxNesting + 2)
        return;
    switch (obj.character->kind()) {
    case Character::Kind::Shape: {
        const QPainterPath& outline = std::get<ShapeCharacter>(*obj.character).shape.fillOutline;
        if (spendOnPath(outline, moviePixels(world)))
            out.addPath(world.map(outline));
        break;
    }
    case Character::Kind::Morph: {
        auto morph = m_caches.morphAt(std::get<MorphCharacter>(*obj.character), obj.ratio, &m_morphBudget);
        if (spendOnPath(morph->shape.fillOutline, moviePixels(world)))
            out.addPath(world.map(morph->shape.fillOutline));
        break;
    }
    case Character::Kind::Text: {
        QTransform t = std::get<TextCharacter>(*obj.character).matrix * world;
        for (const auto& run : std::get<TextCharacter>(*obj.character).runs) {
            if (spendOnPath(run.path, moviePixels(t)))
                out.addPath(t.map(run.path));
        }
        break;
    }
    case Character::Kind::Sprite:
        if (obj.sprite) {
            for (const auto& [depth, child] : obj.sprite->displayList()) {
                if (child.clipDepth == 0 && child.visible)
                    collectOutline(out, child, child.matrix * world, nesting + 1);
            }
        }
        break;
    case Character::Kind::Button:
        for (const DisplayObject& child : obj.children)
            collectOutline(out, child, child.matrix * world, nesting + 1);
        break;
    default:
        break;
    }
}

bool Renderer::outsidePaintedArea(const Character& character, const QTransform& world) const
{
    if (m_paintedArea.isNull())
        return false;
    const QRectF local = m_bounds->of(character);
    return !local.isNull() && !world.mapRect(local).adjusted(-2, -2, 2, 2).intersects(m_paintedArea);
}

void Renderer::paintObject(QPainter& painter, const DisplayObject& obj, const QTransform& world,
                           const ColorTransform& parentColors, int nesting) const
{
    if (!obj.character || nesting > PlayContext::MaxNesting + 2 || outsidePaintedArea(*obj.character, world))
        return;
    ColorTransform colors = parentColors.combined(obj.colorTransform);
    if (colors.ma <= 0 && colors.aa <= -255)
        return;
    switch (obj.character->kind()) {
    case Character::Kind::Shape:
        if (!paintKeptShape(painter, *obj.character, world, colors)) {
            const CompiledShape& shape = std::get<ShapeCharacter>(*obj.character).shape;
            paintShape(painter, shape, m_caches.of(shape), world, colors);
        }
        break;
    case Character::Kind::Morph: {
        auto morph = m_caches.morphAt(std::get<MorphCharacter>(*obj.character), obj.ratio, &m_morphBudget);
        paintShape(painter, morph->shape, morph->kept, world, colors);
        break;
    }
    case Character::Kind::Text: {
        const TextCharacter& text = std::get<TextCharacter>(*obj.character);
        painter.setTransform(text.matrix * world);
        painter.setPen(Qt::NoPen);
        const double toMovie = moviePixels(text.matrix * world);
        for (const auto& run : text.runs) {
            if (!spendOnPath(run.path, toMovie))
                continue;
            painter.setBrush(colors.toColor(run.color));
            painter.drawPath(run.path);
        }
        break;
    }
    case Character::Kind::Sprite:
        if (obj.sprite)
            paintTimeline(painter, *obj.sprite, world, colors, nesting + 1);
        break;
    case Character::Kind::Button:
        for (const DisplayObject& child : obj.children)
            paintObject(painter, child, child.matrix * world, colors, nesting + 1);
        break;
    default:
        break;
    }
}

bool Renderer::paintKeptShape(QPainter& painter, const Character& character, const QTransform& world,
                              const ColorTransform& colors) const
{
    if (!m_rasters)
        return false;
    const QRectF local = m_bounds->of(character);
    if (local.isNull())
        return false;
    const CompiledShape& shape = std::get<ShapeCharacter>(character).shape;
    // Two pixels around take in antialiased edges and strokes of at least a pixel.
    const QRectF device = world.mapRect(local).adjusted(-2, -2, 2, 2);
    const ShapeRasters::Picture picture = m_rasters->find(
        shape, world, colors, m_antialiasing, device, m_paint, [&](QImage& image, QPoint origin) {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing, m_antialiasing);
            const qint64 leftOutBefore = m_leftOut;
            paintShape(p, shape, m_caches.of(shape), world * QTransform::fromTranslate(-origin.x(), -origin.y()), colors);
            return m_leftOut == leftOutBefore;
        });
    if (!picture.image)
        return false;
    painter.setTransform(QTransform());
    painter.drawImage(picture.at, *picture.image);
    return true;
}

const QImage* Renderer::bitmapFor(uint16_t id, const ColorTransform& colors) const
{
    const BitmapCharacter* b = m_movie.character<BitmapCharacter>(id);
    if (!b || b->image.isNull())
        return nullptr;
    if (colors.isIdentity() || colors.onlyAlphaMultiplier())
        return &b->image;
    return &m_caches.recoloured(*b, colors);
}

QBrush Renderer::brushFor(const FillStyle& fill, PaintCaches::Ramp& ramp, const ColorTransform& colors) const
{
    switch (fill.kind) {
    case FillStyle::Kind::Solid:
        return QBrush(colors.toColor(fill.color));
    case FillStyle::Kind::Linear:
    case FillStyle::Kind::Radial:
    case FillStyle::Kind::Focal: {
        // The brush is kept until the colour transform changes.
        if (ramp.ready && ramp.colors == colors)
            return ramp.brush;
        QGradient gradient;
        if (fill.kind == FillStyle::Kind::Linear)
            gradient = QLinearGradient(-GradientHalf, 0, GradientHalf, 0);
        else
            gradient = QRadialGradient(QPointF(0, 0), GradientHalf,
                                       QPointF(fill.kind == FillStyle::Kind::Focal ? fill.focal * GradientHalf : 0, 0));
        gradient.setStops(rampBands(gradientRamp(fill, colors)));
        gradient.setSpread(fill.spread == SpreadMode::Reflect ? QGradient::ReflectSpread
                               : fill.spread == SpreadMode::Repeat ? QGradient::RepeatSpread
                                                                   : QGradient::PadSpread);
        ramp.brush = QBrush(gradient);
        ramp.brush.setTransform(fill.matrix);
        ramp.colors = colors;
        ramp.ready = true;
        return ramp.brush;
    }
    case FillStyle::Kind::Bitmap: {
        const QImage* image = bitmapFor(fill.bitmapId, colors);
        if (!image)
            return QBrush(Qt::NoBrush);
        QBrush brush(*image);
        brush.setTransform(fill.matrix);
        return brush;
    }
    }
    return QBrush();
}

void Renderer::paintBitmapFill(QPainter& painter, const QPainterPath& path, const FillStyle& fill,
                               const QTransform& world, const ColorTransform& colors) const
{
    const QImage* image = bitmapFor(fill.bitmapId, colors);
    if (!image)
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, fill.smoothed);
    if (colors.onlyAlphaMultiplier() && colors.ma < 1)
        painter.setOpacity(painter.opacity() * std::max(0.0, colors.ma));
    if (fill.repeating) {
        QBrush brush(*image);
        brush.setTransform(fill.matrix);
        painter.setPen(Qt::NoPen);
        painter.setBrush(brush);
        painter.drawPath(path);
    } else {
        // Clipped fills show the image once; the shape usually matches its outline.
        painter.setClipPath(path, Qt::IntersectClip);
        painter.setTransform(fill.matrix * world);
        painter.drawImage(QPointF(0, 0), *image);
    }
    painter.restore();
}

void Renderer::paintShape(QPainter& painter, const CompiledShape& shape, PaintCaches::Shape& kept,
                          const QTransform& world, const ColorTransform& colors) const
{
    painter.setTransform(world);
    const double pixelScale = std::sqrt(std::abs(world.determinant()));
    const double toMovie = moviePixels(world);
    // A part's cost, its length measured once and kept with it.
    auto partCost = [&](const CompiledShape::Part& part, PaintCaches::Part& keptPart, double weight) {
        if (keptPart.slowPaints >= 2)
            return leaveOutSlow();
        const int elements = part.path.elementCount();
        if (elements * weight > double(DrawingBudget - m_drawn))
            return spend(elements * weight);
        if (keptPart.length < 0)
            keptPart.length = pathLength(part.path);
        return spend(pathCost(elements, keptPart.length * toMovie) * weight);
    };
    // Movies sample gradients at a pixel's top-left corner, while the painter samples at its
    // centre: moving the gradient half a pixel along keeps the ramp's bands where movies put them.
    const bool shiftGradients = world.isInvertible();
    const QTransform toCorner = shiftGradients ? world * QTransform::fromTranslate(0.5, 0.5) * world.inverted() : QTransform();
    auto gradientBrush = [&](const FillStyle& fill, PaintCaches::Ramp& ramp) {
        QBrush brush = brushFor(fill, ramp, colors);
        if (shiftGradients && brush.gradient())
            brush.setTransform(brush.transform() * toCorner);
        return brush;
    };
    for (size_t i = 0; i < shape.parts.size(); ++i) {
        const CompiledShape::Part& part = shape.parts[i];
        PaintCaches::Part& keptPart = kept.parts[i];
        // Drawing each part is timed, however it ends.
        struct Timed {
            const Renderer& renderer;
            PaintCaches::Part& part;
            qint64 start;
            ~Timed() { renderer.timePart(part, start); }
        };
        if (!part.stroke) {
            if (!partCost(part, keptPart, 1))
                continue;
            const Timed timed{*this, keptPart, m_clock.nsecsElapsed()};
            const FillStyle& fill = shape.fills[size_t(part.style)];
            if (fill.kind == FillStyle::Kind::Bitmap) {
                paintBitmapFill(painter, part.path, fill, world, colors);
                painter.setTransform(world);
                continue;
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(gradientBrush(fill, kept.ramps[size_t(part.style)]));
            painter.drawPath(part.path);
            continue;
        }
        const LineStyle& line = shape.lines[size_t(part.style)];
        QBrush brush = line.hasFill ? gradientBrush(line.fill, kept.ramps[shape.fills.size() + size_t(part.style)])
                                    : QBrush(colors.toColor(line.color));
        QPen pen(brush, line.width);
        pen.setCapStyle(line.cap);
        pen.setJoinStyle(line.join);
        pen.setMiterLimit(line.miterLimit);
        // A stroke may ignore the placement's scale in one or both directions (the stage's
        // own zoom still applies); strokes never get thinner than one pixel.
        double widthPx = line.width * pixelScale;
        if (line.noHScale || line.noVScale) {
            double sx = std::hypot(world.m11(), world.m12()), sy = std::hypot(world.m21(), world.m22());
            widthPx = line.noHScale && line.noVScale ? line.width * m_stageScale
                : line.noHScale                      ? line.width * sy
                                                     : line.width * sx;
        }
        // Wide strokes cost more per segment and per pixel of length.
        const double movieWidth = m_stageScale > 0 ? widthPx / m_stageScale * 0.05 : widthPx;
        if (!partCost(part, keptPart, strokeWeight(movieWidth)))
            continue;
        const Timed timed{*this, keptPart, m_clock.nsecsElapsed()};
        if (widthPx < 1.0 || line.noHScale || line.noVScale) {
            pen.setWidthF(std::max(1.0, widthPx));
            pen.setCosmetic(true);
        } else if (m_antialiasing) {
            // Filling the stroke's outline each frame is far cheaper than stroking the curves again.
            if (!keptPart.outlineReady) {
                QPainterPathStroker stroker(pen);
                stroker.setCurveThreshold(2.0);  // twips: a tenth of a pixel at full size
                keptPart.outline = stroker.createStroke(part.path);
                keptPart.outline.setFillRule(Qt::WindingFill);
                keptPart.outlineReady = true;
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(brush);
            painter.drawPath(keptPart.outline);
            continue;
        }
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (!m_antialiasing) {
            // Hard-edged strokes are centred on pixel rows and columns rather than on pixel
            // boundaries, which keeps one-pixel lines on the row they belong to.
            painter.setTransform(world * QTransform::fromTranslate(-0.5, -0.5));
            painter.drawPath(part.path);
            painter.setTransform(world);
            continue;
        }
        painter.drawPath(part.path);
    }
}

} // namespace movie
