#include "Renderer.h"

#include "ShapeBuilder.h"
#include "Timeline.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace movie {

namespace {

constexpr double GradientHalf = 16384.0;  // gradients are defined on a 32768-twip square

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

QGradientStops gradientStops(const FillStyle& fill, const ColorTransform& colors)
{
    QGradientStops stops;
    std::vector<std::pair<double, QColor>> raw;
    // Ratios must not go backwards, and the painter needs distinct positions: a repeated
    // ratio becomes a hard edge, made by nudging the later stop forward (or the earlier one
    // back when the repeat sits at the end).
    constexpr double nudge = 1e-5;
    double last = -1;
    for (const GradientStop& s : fill.stops) {
        double pos = std::max(s.ratio / 255.0, last + nudge);
        last = pos;
        raw.emplace_back(pos, colors.toColor(s.color));
    }
    for (size_t i = raw.size(); i-- > 0;) {
        double limit = 1.0 - double(raw.size() - 1 - i) * nudge;
        raw[i].first = std::max(0.0, std::min(raw[i].first, limit));
    }
    if (raw.empty())
        return stops;
    if (fill.interpolation == Interpolation::LinearRgb && raw.size() > 1) {
        // Blend in linear light by inserting intermediate stops.
        for (size_t i = 0; i + 1 < raw.size(); ++i) {
            const auto& [p0, c0] = raw[i];
            const auto& [p1, c1] = raw[i + 1];
            const int steps = 8;
            for (int k = 0; k < steps; ++k) {
                double t = double(k) / steps;
                QColor c;
                c.setRgbF(float(fromLinear(toLinear(c0.red()) + (toLinear(c1.red()) - toLinear(c0.red())) * t) / 255),
                          float(fromLinear(toLinear(c0.green()) + (toLinear(c1.green()) - toLinear(c0.green())) * t) / 255),
                          float(fromLinear(toLinear(c0.blue()) + (toLinear(c1.blue()) - toLinear(c0.blue())) * t) / 255),
                          float((c0.alphaF() + (c1.alphaF() - c0.alphaF()) * t)));
                stops.append({p0 + (p1 - p0) * t, c});
            }
        }
        stops.append({raw.back().first, raw.back().second});
    } else {
        for (const auto& [p, c] : raw)
            stops.append({p, c});
    }
    if (stops.size() == 1)
        stops.append({1.0, stops.front().second});
    return stops;
}

} // namespace

QTransform Renderer::showAllTransform(const QRectF& stage, const QRectF& target)
{
    if (stage.width() <= 0 || stage.height() <= 0 || target.isEmpty())
        return QTransform();
    double scale = std::min(target.width() / stage.width(), target.height() / stage.height());
    double dx = target.x() + (target.width() - stage.width() * scale) / 2 - stage.x() * scale;
    double dy = target.y() + (target.height() - stage.height() * scale) / 2 - stage.y() * scale;
    return QTransform(scale, 0, 0, scale, dx, dy);
}

void Renderer::paint(QPainter& painter, const Timeline& root, const QRectF& target, Rgba background) const
{
    painter.save();
    painter.fillRect(target, toQColor(background));
    QTransform world = showAllTransform(m_movie.stage, target);
    painter.setClipRect(world.mapRect(m_movie.stage), Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, m_antialiasing);
    paintTimeline(painter, root, world, ColorTransform(), 0);
    painter.restore();
}

void Renderer::paintTimeline(QPainter& painter, const Timeline& timeline, const QTransform& world,
                             const ColorTransform& colors, int nesting) const
{
    struct Mask {
        int clipDepth;
        QPainterPath path;  // device coordinates
    };
    std::vector<Mask> masks;
    for (const auto& [depth, obj] : timeline.displayList()) {
        std::erase_if(masks, [depth = depth](const Mask& m) { return depth > m.clipDepth; });
        if (obj.clipDepth > 0) {
            Mask m{obj.clipDepth, {}};
            m.path.setFillRule(Qt::WindingFill);
            collectOutline(m.path, obj, obj.matrix * world, nesting);
            masks.push_back(std::move(m));
            continue;
        }
        if (!obj.visible)
            continue;
        if (masks.empty()) {
            paintObject(painter, obj, obj.matrix * world, colors, nesting);
            continue;
        }
        painter.save();
        painter.setTransform(QTransform());
        for (const Mask& m : masks)
            painter.setClipPath(m.path, Qt::IntersectClip);
        paintObject(painter, obj, obj.matrix * world, colors, nesting);
        painter.restore();
    }
}

void Renderer::collectOutline(QPainterPath& out, const DisplayObject& obj, const QTransform& world, int nesting) const
{
    if (!obj.character || nesting > PlayContext::MaxNesting + 2)
        return;
    switch (obj.character->kind) {
    case Character::Kind::Shape:
        out.addPath(world.map(obj.character->shape->shape.fillOutline));
        break;
    case Character::Kind::Morph:
        out.addPath(world.map(ShapeBuilder::morphAt(*obj.character->morph, obj.ratio)->fillOutline));
        break;
    case Character::Kind::Text: {
        QTransform t = obj.character->text->matrix * world;
        for (const auto& run : obj.character->text->runs)
            out.addPath(t.map(run.path));
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

void Renderer::paintObject(QPainter& painter, const DisplayObject& obj, const QTransform& world,
                           const ColorTransform& parentColors, int nesting) const
{
    if (!obj.character || nesting > PlayContext::MaxNesting + 2)
        return;
    ColorTransform colors = parentColors.combined(obj.colorTransform);
    if (colors.ma <= 0 && colors.aa <= -255)
        return;
    switch (obj.character->kind) {
    case Character::Kind::Shape:
        paintShape(painter, obj.character->shape->shape, world, colors);
        break;
    case Character::Kind::Morph:
        paintShape(painter, *ShapeBuilder::morphAt(*obj.character->morph, obj.ratio), world, colors);
        break;
    case Character::Kind::Text: {
        const TextCharacter& text = *obj.character->text;
        painter.setTransform(text.matrix * world);
        painter.setPen(Qt::NoPen);
        for (const auto& run : text.runs) {
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

const QImage* Renderer::bitmapFor(uint16_t id, const ColorTransform& colors) const
{
    const Character* c = m_movie.character(id);
    if (!c || c->kind != Character::Kind::Bitmap || c->bitmap->image.isNull())
        return nullptr;
    const BitmapCharacter& b = *c->bitmap;
    if (colors.isIdentity() || colors.onlyAlphaMultiplier())
        return &b.image;
    if (b.cachedImage.isNull() || !(b.cachedTransform == colors)) {
        b.cachedImage = colors.applied(b.image);
        b.cachedTransform = colors;
    }
    return &b.cachedImage;
}

QBrush Renderer::brushFor(const FillStyle& fill, const ColorTransform& colors) const
{
    switch (fill.kind) {
    case FillStyle::Kind::Solid:
        return QBrush(colors.toColor(fill.color));
    case FillStyle::Kind::Linear:
    case FillStyle::Kind::Radial:
    case FillStyle::Kind::Focal: {
        QGradient gradient;
        if (fill.kind == FillStyle::Kind::Linear)
            gradient = QLinearGradient(-GradientHalf, 0, GradientHalf, 0);
        else
            gradient = QRadialGradient(QPointF(0, 0), GradientHalf,
                                       QPointF(fill.kind == FillStyle::Kind::Focal ? fill.focal * GradientHalf : 0, 0));
        gradient.setStops(gradientStops(fill, colors));
        gradient.setSpread(fill.spread == SpreadMode::Reflect ? QGradient::ReflectSpread
                               : fill.spread == SpreadMode::Repeat ? QGradient::RepeatSpread
                                                                   : QGradient::PadSpread);
        QBrush brush(gradient);
        brush.setTransform(fill.matrix);
        return brush;
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

void Renderer::paintShape(QPainter& painter, const CompiledShape& shape, const QTransform& world,
                          const ColorTransform& colors) const
{
    painter.setTransform(world);
    const double pixelScale = std::sqrt(std::abs(world.determinant()));
    for (const CompiledShape::Part& part : shape.parts) {
        if (!part.stroke) {
            const FillStyle& fill = shape.fills[size_t(part.style)];
            if (fill.kind == FillStyle::Kind::Bitmap) {
                paintBitmapFill(painter, part.path, fill, world, colors);
                painter.setTransform(world);
                continue;
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(brushFor(fill, colors));
            painter.drawPath(part.path);
            continue;
        }
        const LineStyle& line = shape.lines[size_t(part.style)];
        QBrush brush = line.hasFill ? brushFor(line.fill, colors) : QBrush(colors.toColor(line.color));
        QPen pen(brush, line.width);
        pen.setCapStyle(line.cap);
        pen.setJoinStyle(line.join);
        pen.setMiterLimit(line.miterLimit);
        // Strokes never get thinner than one pixel; unscaled strokes keep their width.
        if (line.width * pixelScale < 1.0) {
            pen.setWidthF(1.0);
            pen.setCosmetic(true);
        } else if (line.noScale) {
            pen.setWidthF(std::max(1.0, line.width / 20.0));
            pen.setCosmetic(true);
        }
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(part.path);
    }
}

} // namespace movie
