// The program's movies against the players that show them: each is drawn for the shape of
// the players it is seen in, and in any player its scenery fills the whole rectangle.

#include "Movie.h"
#include "Renderer.h"
#include "Screen.h"
#include "ScreenCatalog.h"
#include "ScreenDescription.h"
#include "Shell.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <gtest/gtest.h>

namespace {

struct Showing {
    QString screen;
    QString player;
    QSize twips;
    bool seen = false;  // a visible player, or the reward player (shown before its movie loads)
    bool reward = false;
};

// Every player of every screen with the movie it is given, read from the descriptions.
std::map<QString, std::vector<Showing>> showings()
{
    shell::Shell shell(QStringLiteral("/app"));
    std::map<QString, std::vector<Showing>> out;
    for (const QString& name : shell.catalog().names()) {
        const screens::ScreenDescription* d = shell.catalog().find(name);
        auto screen = shell.create(name);
        if (!d || !screen)
            continue;
        auto add = [&](const QString& player, const QString& movie, bool reward) {
            const screens::Control* c = screen->control(player);
            if (!c)
                return;
            out[movie.mid(1)].push_back({name, player, c->geometry().size(), reward || c->isVisible(), reward});
        };
        for (const screens::MovieLoad& load : d->load)
            add(load.player, load.movie, false);
        if (d->reward)
            add(d->reward->player, d->reward->movie, true);
        for (const screens::NavigationButton& b : d->navigation)
            if (!b.exitPlayer.isEmpty())
                add(b.exitPlayer, QStringLiteral("\\ADIOS.swf"), false);
    }
    return out;
}

std::unique_ptr<movie::Movie> load(const QString& file)
{
    auto loaded = movie::Movie::fromFile(QDir(QStringLiteral(NUMBALI_PROGRAM_MOVIES)).filePath(file));
    EXPECT_TRUE(loaded.ok()) << qPrintable(file);
    return loaded.ok() ? std::move(loaded.value()) : nullptr;
}

double aspect(QSizeF s) { return s.width() / s.height(); }
bool within10(double a, double b) { return std::abs(std::log(a / b)) <= std::log(1.1); }

// How much two lines of pixels differ, on average over the channels (0..255).
double difference(const QImage& img, QPoint a0, QPoint b0, QPoint step, int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        const QRgb a = img.pixel(a0 + step * i), b = img.pixel(b0 + step * i);
        sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
    }
    return sum / (3.0 * count);
}

} // namespace

TEST(MovieShapes, EachMovieHasTheShapeOfMostPlayersThatShowIt)
{
    const auto all = showings();
    ASSERT_EQ(all.size(), 17u);
    for (const auto& [file, list] : all) {
        SCOPED_TRACE(qPrintable(file));
        auto m = load(file);
        ASSERT_TRUE(m);
        const double movieAspect = aspect(m->stageSize());
        int seen = 0, matching = 0;
        for (const Showing& s : list)
            if (s.seen) {
                ++seen;
                matching += within10(movieAspect, aspect(s.twips));
            }
        // A background loop that is only ever heard (none here) has no shape to keep.
        if (seen == 0)
            continue;
        EXPECT_GE(2 * matching, seen) << "matches " << matching << " of the " << seen << " players it is seen in";
    }
}

TEST(MovieShapes, InEveryPlayerTheSceneRunsOnPastTheStageWithoutBars)
{
    // At four moments of each loop, so that a moving piece cut off by a stage edge shows too.
    for (const auto& [file, list] : showings()) {
        auto m = load(file);
        ASSERT_TRUE(m);
        for (int frame = 13; frame <= 52; frame += 13) {
            while (m->ticks() < uint64_t(frame))
                m->tick();
            std::set<std::pair<int, int>> done;
            for (const Showing& s : list) {
                // Twice the design size, so that the lines compared lie clear of the stage's edge.
                const QSize size(std::lround(s.twips.width() / 7.5), std::lround(s.twips.height() / 7.5));
                if (!done.insert({size.width(), size.height()}).second)
                    continue;
                SCOPED_TRACE(qPrintable(QStringLiteral("%1 %2 %3 frame %4").arg(file, s.screen, s.player).arg(frame)));
                QImage img(size, QImage::Format_RGB32);
                img.fill(Qt::black);
                QPainter painter(&img);
                const QRectF target(QPointF(0, 0), QSizeF(size));
                m->paint(painter, target);
                painter.end();
                const QRect stage = movie::Renderer::showAllTransform(QRectF(QPointF(0, 0), m->stageSize()), target)
                                        .mapRect(QRectF(QPointF(0, 0), m->stageSize()))
                                        .toAlignedRect();
                constexpr int gap = 3, limit = 24;
                if (stage.left() >= 2 * gap) {  // margins left and right
                    const int n = stage.height() - 2;
                    EXPECT_LT(difference(img, {stage.left() - gap, stage.top() + 1}, {stage.left() + gap, stage.top() + 1}, {0, 1}, n), limit);
                    EXPECT_LT(difference(img, {stage.right() + gap, stage.top() + 1}, {stage.right() - gap, stage.top() + 1}, {0, 1}, n), limit);
                }
                if (stage.top() >= 2 * gap) {  // margins above and below
                    const int n = stage.width() - 2;
                    EXPECT_LT(difference(img, {stage.left() + 1, stage.top() - gap}, {stage.left() + 1, stage.top() + gap}, {1, 0}, n), limit);
                    EXPECT_LT(difference(img, {stage.left() + 1, stage.bottom() + gap}, {stage.left() + 1, stage.bottom() - gap}, {1, 0}, n), limit);
                }
            }
        }
    }
}

namespace {

// How busy a band of a picture is: the share of its pixels that differ clearly from their
// neighbours to the right and below. Outlines and drawn things count; gradients do not.
double busyness(const QImage& img, int top, int bottom)
{
    int busy = 0, all = 0;
    for (int y = top; y + 2 < bottom; ++y)
        for (int x = 0; x + 2 < img.width(); ++x) {
            const QRgb p = img.pixel(x, y), r = img.pixel(x + 2, y), d = img.pixel(x, y + 2);
            auto far = [](QRgb a, QRgb b) { return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 60; };
            busy += far(p, r) || far(p, d);
            ++all;
        }
    return all ? double(busy) / all : 0;
}

} // namespace

TEST(MovieShapes, EachRewardFillsItsPictureTopAndBottom)
{
    int rewards = 0;
    for (const auto& [file, list] : showings()) {
        if (std::none_of(list.begin(), list.end(), [](const Showing& s) { return s.reward; }))
            continue;
        ++rewards;
        SCOPED_TRACE(qPrintable(file));
        auto m = load(file);
        ASSERT_TRUE(m);
        double top = 0, bottom = 0;
        const int frames = m->root().frameCount();
        for (int f = 0; f < frames; ++f) {
            m->tick();
            if (f % 6 != 3)
                continue;
            const QImage img = m->snapshot();
            top += busyness(img, 0, img.height() / 2);
            bottom += busyness(img, img.height() / 2, img.height());
        }
        // A character low on the stage under an empty sky reads small; the top half of the
        // picture must be drawn on too, if less than the bottom.
        EXPECT_GE(top, bottom / 3) << "the top half is " << top / bottom << " as busy as the bottom";
    }
    EXPECT_EQ(rewards, 6);
}
