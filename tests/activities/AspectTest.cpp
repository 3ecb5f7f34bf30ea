#include "Picture.h"
#include "ScreenCatalog.h"
#include "ScreenDescription.h"

#include <QImage>
#include <gtest/gtest.h>
#include <cmath>

using namespace screens;

namespace {

// How far a picture of `picture` pixels looks squashed or stretched when shown in a
// rectangle of `shown` twips: 0 for the same proportions, 0.15 for 15 % off.
double distortion(QSize picture, QSize shown)
{
    const double r = (double(picture.width()) / picture.height()) / (double(shown.width()) / shown.height());
    return std::max(r, 1 / r) - 1;
}

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

struct Shown {
    QString where;
    double off;
};

void walk(const std::vector<ControlDescription>& list, std::vector<const ControlDescription*>& out)
{
    for (const auto& c : list) {
        out.push_back(&c);
        walk(c.children, out);
    }
}

} // namespace

// Every picture a stretched control shows, at design time or after a drop, against the
// proportions of the rectangle that shows it.
TEST(Aspect, NoStretchedPictureOfAnyScreenLooksSquashed)
{
    constexpr double kLimit = 0.15;
    shell::ScreenCatalog catalog;
    std::vector<Shown> over;
    int checked = 0;
    for (const QString& name : catalog.names()) {
        const ScreenDescription* d = catalog.find(name);
        ASSERT_TRUE(d) << qPrintable(name);
        std::vector<const ControlDescription*> controls;
        walk(d->controls, controls);
        auto pictureOf = [&](const ControlDescription& c) { return Picture::fromFile(picturePath(c.picture), c.crop); };
        // Cursor pictures are never shown as pictures, only as the pointer.
        auto consider = [&](const ControlDescription& showing, const ControlDescription& source, const QString& how) {
            if (!showing.stretch || showing.kind != ControlKind::Image || source.picture.isEmpty() ||
                showing.geometry.isEmpty() || source.picture.startsWith(QLatin1String("assets/pictures/cursors/")))
                return;
            const auto p = pictureOf(source);
            if (p->isNull() || isFlatColour(*p))
                return;
            ++checked;
            const double off = distortion(p->pixelSize(), showing.geometry.size());
            // A piece shown both in its own rectangle and in a slot of another shape is drawn
            // for a shape between the two; it cannot do better than half the difference.
            double limit = kLimit;
            if (&showing != &source && source.stretch && !source.geometry.isEmpty())
                limit = std::max(kLimit, std::sqrt(1 + distortion(source.geometry.size(), showing.geometry.size())) - 1 + 0.03);
            if (off >= limit)
                over.push_back({QStringLiteral("%1 %2%3 (%4)").arg(name, showing.name, how, source.picture), off});
        };
        for (const ControlDescription* c : controls)
            consider(*c, *c, QString());
        if (!d->activity)
            continue;
        // What a drop puts into a slot: the answer picture of a match slot; any piece a fill slot takes.
        for (const SlotRule& s : d->activity->slotRules) {
            const ControlDescription* slot = d->find(s.slot);
            if (s.rule == DropRule::Match) {
                consider(*slot, *d->find(s.answer), QStringLiteral(" holding ") + s.answer);
                continue;
            }
            const QStringList& refused = d->activity->refusedFor(s);
            for (const ControlDescription* piece : controls)
                if (piece->dragAutomatic && !refused.contains(piece->name))
                    consider(*slot, *piece, QStringLiteral(" holding ") + piece->name);
        }
    }
    EXPECT_GT(checked, 300);
    for (const Shown& s : over)
        ADD_FAILURE() << qPrintable(s.where) << " is " << int(std::lround(s.off * 100)) << " % off its proportions";
}
