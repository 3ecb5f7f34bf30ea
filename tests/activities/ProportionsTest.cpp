#include "Picture.h"
#include "ScreenCatalog.h"
#include "ScreenDescription.h"

#include <QImage>
#include <gtest/gtest.h>
#include <cmath>
#include <map>

using namespace screens;

namespace {

double aspect(QSize s) { return double(s.width()) / s.height(); }

// How far a picture looks squashed or stretched in a rectangle: 0 for the same proportions,
// 0.15 for 15 % off.
double distortion(double picture, double shown) { return std::max(picture / shown, shown / picture) - 1; }

// A flat colour (a paint swatch) reads the same at any proportions.
bool isFlatColour(const Picture& p)
{
    const QImage img = p.pixmap(QSize(12, 12)).toImage();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != img.pixel(0, 0))
                return false;
    return true;
}

void walk(const std::vector<ControlDescription>& list, std::vector<const ControlDescription*>& out)
{
    for (const auto& c : list) {
        out.push_back(&c);
        walk(c.children, out);
    }
}

// One rectangle a picture is shown stretched in.
struct Showing {
    QString where;
    double aspect;
};

} // namespace

// Every picture a stretched control shows, at design time or after a drop, against the
// proportions of each rectangle that shows it. Where the layout shows one picture in shapes
// far apart (a piece in its place and in a slot of another shape), the picture is drawn for a
// shape between them and no drawing can do better than halfway: the limit widens to that.
TEST(Proportions, NoStretchedPictureOfAnyScreenLooksSquashed)
{
    constexpr double kLimit = 0.15;
    shell::ScreenCatalog catalog;
    std::map<QString, std::vector<Showing>> showings; // by picture file and crop
    std::map<QString, double> pictureAspect;
    for (const QString& name : catalog.names()) {
        const ScreenDescription* d = catalog.find(name);
        ASSERT_TRUE(d) << qPrintable(name);
        std::vector<const ControlDescription*> controls;
        walk(d->controls, controls);
        // Cursor pictures are never shown as pictures, only as the pointer.
        QStringList cursors;
        if (d->activity)
            cursors << d->activity->cursor;
        if (d->board)
            cursors << d->board->cursor;
        auto show = [&](const ControlDescription& showing, const ControlDescription& source, const QString& how) {
            if (!showing.stretch || showing.kind != ControlKind::Image || source.picture.isEmpty() ||
                showing.geometry.isEmpty() || cursors.contains(showing.name) ||
                source.picture.startsWith(QLatin1String("assets/pictures/cursors/")))
                return;
            const auto p = Picture::fromFile(picturePath(source.picture), source.crop);
            if (p->isNull() || isFlatColour(*p))
                return;
            const QString key = source.picture + (source.crop.isEmpty() ? QString() : QStringLiteral(" crop %1,%2").arg(source.crop.x()).arg(source.crop.y()));
            pictureAspect[key] = aspect(p->pixelSize());
            showings[key].push_back({QStringLiteral("%1 %2%3").arg(name, showing.name, how), aspect(showing.geometry.size())});
        };
        for (const ControlDescription* c : controls)
            show(*c, *c, QString());
        if (!d->activity)
            continue;
        // What a drop puts into a slot: the answer picture of a match slot; any piece a fill slot takes.
        for (const SlotRule& s : d->activity->slotRules) {
            const ControlDescription* slot = d->find(s.slot);
            if (s.rule == DropRule::Match) {
                show(*slot, *d->find(s.answer), QStringLiteral(" holding ") + s.answer);
                continue;
            }
            const QStringList& refused = d->activity->refusedFor(s);
            for (const ControlDescription* piece : controls)
                if (piece->dragAutomatic && !refused.contains(piece->name))
                    show(*slot, *piece, QStringLiteral(" holding ") + piece->name);
        }
    }
    EXPECT_GT(showings.size(), 200u);
    for (const auto& [picture, list] : showings) {
        double lo = list.front().aspect, hi = lo;
        for (const Showing& s : list) {
            lo = std::min(lo, s.aspect);
            hi = std::max(hi, s.aspect);
        }
        const double limit = std::max(kLimit, std::sqrt(hi / lo) - 1 + 0.03);
        for (const Showing& s : list) {
            const double off = distortion(pictureAspect[picture], s.aspect);
            if (off >= limit)
                ADD_FAILURE() << qPrintable(s.where) << " (" << qPrintable(picture) << ") is " << int(std::lround(off * 100))
                              << " % off its proportions; the limit for this picture is " << int(std::lround(limit * 100)) << " %";
        }
    }
}
