#include "ActivityHarness.h"
#include "ControlCounts.h"
#include "Journey.h"
#include "ScreenCatalog.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

struct Cell {
    const char* slot;
    const char* piece;
    const char* right;
    const char* wrong;
};

struct Puzzle {
    const char* screen;
    std::vector<Cell> cells; // one row per slot, in the order the answer table gives them
    const char* fixed;
    const char* model;
    const char* cursor;
    bool goodbyeShown;
};

const Puzzle kPuzzles[] = {
    {"Rompecabezas1",
     {{"Image6", "Image2", "Image9", "Image12"}, {"Image7", "Image1", "Image10", "Image13"},
      {"Image8", "Image3", "Image11", "Image14"}},
     "Image4", "Image5", "Image18", true},
    {"Rompecabezas2",
     {{"Image7", "Image3", "Image13", "Image14"}, {"Image10", "Image1", "Image19", "Image20"},
      {"Image8", "Image5", "Image15", "Image16"}, {"Image9", "Image2", "Image17", "Image18"},
      {"Image12", "Image4", "Image21", "Image22"}},
     "Image11", "Image6", "Image26", true},
    {"Rompecabezas3",
     {{"Image10", "Image6", "Image19", "Image20"}, {"Image13", "Image3", "Image25", "Image26"},
      {"Image16", "Image1", "Image29", "Image30"}, {"Image11", "Image5", "Image21", "Image22"},
      {"Image14", "Image8", "Image23", "Image24"}, {"Image17", "Image7", "Image31", "Image32"},
      {"Image15", "Image2", "Image27", "Image28"}, {"Image18", "Image4", "Image33", "Image34"}},
     "Image12", "Image9", "Image38", true},
    {"Rompecabezas4",
     {{"Image13", "Image6", "Image25", "Image26"}, {"Image16", "Image2", "Image31", "Image32"},
      {"Image19", "Image3", "Image35", "Image36"}, {"Image22", "Image10", "Image39", "Image40"},
      {"Image14", "Image11", "Image27", "Image28"}, {"Image17", "Image9", "Image33", "Image34"},
      {"Image23", "Image5", "Image41", "Image42"}, {"Image15", "Image1", "Image29", "Image30"},
      {"Image18", "Image7", "Image33", "Image34"}, {"Image21", "Image4", "Image37", "Image38"},
      {"Image24", "Image8", "Image43", "Image44"}},
     "Image20", "Image12", "Image48", false},
    {"Rompecabezas5",
     {{"Image16", "Image11", "Image30", "Image29"}, {"Image19", "Image5", "Image32", "Image31"},
      {"Image22", "Image8", "Image38", "Image37"}, {"Image14", "Image6", "Image25", "Image26"},
      {"Image17", "Image4", "Image34", "Image33"}, {"Image20", "Image3", "Image36", "Image35"},
      {"Image23", "Image10", "Image40", "Image39"}, {"Image15", "Image7", "Image28", "Image27"},
      {"Image18", "Image9", "Image34", "Image33"}, {"Image21", "Image2", "Image36", "Image35"},
      {"Image24", "Image1", "Image42", "Image41"}},
     "Image13", "Image12", "Image45", false},
};

struct Rompecabezas : ActivityHarness {
    // Every control's picture and visibility: what a drop may change.
    std::vector<std::pair<screens::Picture::Handle, bool>> state()
    {
        std::vector<std::pair<screens::Picture::Handle, bool>> s;
        for (const screens::Control* control : shell.currentScreen()->allControls())
            s.emplace_back(screens::handleOf(control->picture()), control->isVisible());
        return s;
    }

    // Plays a puzzle to its reward, the slots filled in the given order; before each right
    // drop the piece of a later slot is tried there and turned away.
    void solve(const Puzzle& p, const std::vector<std::size_t>& order)
    {
        open(QString::fromUtf8(p.screen));
        EXPECT_EQ(shown("ShockwaveFlash2"), p.goodbyeShown);
        EXPECT_TRUE(shown("ShockwaveFlash3"));
        for (std::size_t i = 0; i < order.size(); ++i) {
            const Cell& cell = p.cells[order[i]];
            if (i + 1 < order.size()) {
                const char* other = p.cells[order[i + 1]].piece;
                dragOnto(other, cell.slot);
                EXPECT_TRUE(shown(cell.wrong)) << cell.slot;
                EXPECT_TRUE(shown(other));
                EXPECT_EQ(c(cell.slot).pictureHandle(), 0u);
            }
            dragOnto(cell.piece, cell.slot);
            EXPECT_EQ(c(cell.slot).pictureHandle(), c(cell.piece).pictureHandle()) << cell.slot;
            EXPECT_FALSE(shown(cell.piece));
            // The piece took the pointer picture when the child's mouse came over it.
            EXPECT_EQ(c(cell.piece).mouseIcon().get(), c(p.cursor).picture().get());
            EXPECT_TRUE(shown(cell.right));
            EXPECT_FALSE(shown(cell.wrong));
            EXPECT_EQ(rewards(), i + 1 == order.size() ? 1 : 0) << cell.slot;
        }
        const QByteArray reward = QStringLiteral("feliz%1.swf").arg(QString::fromUtf8(p.screen).right(1)).toUtf8();
        EXPECT_TRUE(rewardPlaying(reward.constData()));
    }
};

} // namespace

TEST_F(Rompecabezas, EveryPuzzlePlaysToItsRewardInTwoOrders)
{
    for (const Puzzle& p : kPuzzles) {
        SCOPED_TRACE(p.screen);
        std::vector<std::size_t> order(p.cells.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        solve(p, order);
        // Bottom right first, then row by row from the top: the shared marks meet other orders.
        std::reverse(order.begin(), order.end());
        std::rotate(order.begin(), order.begin() + 1, order.end());
        solve(p, order);
    }
}

TEST_F(Rompecabezas, WrongDropsOnSolvedSlotsShowBothFacesAndOnlySlotsTakeDrops)
{
    open(QStringLiteral("Rompecabezas1"));
    const auto before = state();
    // The fixed piece, the model, another piece and the bare screen take no drops.
    dragOnto("Image1", "Image4");
    dragOnto("Image1", "Image5");
    dragOnto("Image1", "Image2");
    auto& view = shell.view();
    const QPoint bare = view.toView(QRect(1500, 6700, 0, 0)).topLeft().toPoint();
    ASSERT_EQ(view.controlAt(bare), nullptr);
    mouse::drag(&view, view.centreOf(c("Image1")), bare);
    EXPECT_EQ(state(), before);

    dragOnto("Image2", "Image6");
    dragOnto("Image3", "Image6");
    EXPECT_TRUE(shown("Image9"));
    EXPECT_TRUE(shown("Image12"));
    EXPECT_EQ(c("Image6").pictureHandle(), c("Image2").pictureHandle());
    EXPECT_TRUE(shown("Image3"));
    // The other slots' faces are their own.
    EXPECT_FALSE(shown("Image13"));
    EXPECT_FALSE(shown("Image14"));
    EXPECT_EQ(rewards(), 0);
}

TEST_F(Rompecabezas, ASharedPairAnswersForBothOfItsSlots)
{
    struct Pair {
        const char* screen;
        const char* a; const char* aPiece;
        const char* b; const char* bPiece;
        const char* right; const char* wrong;
    };
    const Pair pairs[] = {
        {"Rompecabezas4", "Image17", "Image9", "Image18", "Image7", "Image33", "Image34"},
        {"Rompecabezas5", "Image17", "Image4", "Image18", "Image9", "Image34", "Image33"},
        {"Rompecabezas5", "Image20", "Image3", "Image21", "Image2", "Image36", "Image35"},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(std::string(p.screen) + " " + p.a);
        for (bool upperFirst : {true, false}) {
            open(QString::fromUtf8(p.screen));
            const char* first = upperFirst ? p.a : p.b;
            const char* firstPiece = upperFirst ? p.aPiece : p.bPiece;
            const char* second = upperFirst ? p.b : p.a;
            const char* secondPiece = upperFirst ? p.bPiece : p.aPiece;
            // A sad face on one slot is taken away by the right piece on the other.
            dragOnto(firstPiece, second);
            EXPECT_TRUE(shown(p.wrong));
            dragOnto(firstPiece, first);
            EXPECT_FALSE(shown(p.wrong));
            EXPECT_TRUE(shown(p.right));
            EXPECT_EQ(c(second).pictureHandle(), 0u);
            // A wrong drop on the solved slot brings the sad face back beside the smile.
            dragOnto(secondPiece, first);
            EXPECT_TRUE(shown(p.wrong));
            EXPECT_TRUE(shown(p.right));
            dragOnto(secondPiece, second);
            EXPECT_FALSE(shown(p.wrong));
            EXPECT_EQ(c(second).pictureHandle(), c(secondPiece).pictureHandle());
        }
    }
}

TEST_F(Rompecabezas, AHalfDonePuzzleStartsAfreshOnTheNextVisit)
{
    open(QStringLiteral("Rompecabezas1"));
    dragOnto("Image1", "Image7");
    dragOnto("Image3", "Image6");
    ASSERT_TRUE(shown("Image12"));
    clickOn("Image15");
    ASSERT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
    clickOn("Image1");
    ASSERT_EQ(shell.currentScreen()->name(), QStringLiteral("Rompecabezas1"));
    for (const char* piece : {"Image1", "Image2", "Image3"})
        EXPECT_TRUE(shown(piece));
    for (const char* slot : {"Image6", "Image7", "Image8"})
        EXPECT_EQ(c(slot).pictureHandle(), 0u);
    for (const char* mark : {"Image9", "Image10", "Image11", "Image12", "Image13", "Image14"})
        EXPECT_FALSE(shown(mark));
    EXPECT_FALSE(shown("ShockwaveFlash1"));
}

// Each piece and the fixed piece show the part of the model that lies at their cell: their
// crops, placed as the cells are placed in the grid, make up one picture of the grid's
// shape inside the model's file.
TEST(RompecabezasPictures, PiecesAreCutFromTheirModelAtTheirCells)
{
    shell::Shell shell(QStringLiteral("/app"));
    for (const Puzzle& p : kPuzzles) {
        SCOPED_TRACE(p.screen);
        const auto* d = shell.catalog().find(QString::fromUtf8(p.screen));
        ASSERT_TRUE(d);
        const auto* model = d->find(QString::fromUtf8(p.model));
        ASSERT_TRUE(model);
        // Each cell with the picture that completes it.
        std::vector<std::pair<const screens::ControlDescription*, const screens::ControlDescription*>> cells;
        cells.emplace_back(d->find(QString::fromUtf8(p.fixed)), d->find(QString::fromUtf8(p.fixed)));
        for (const Cell& cell : p.cells)
            cells.emplace_back(d->find(QString::fromUtf8(cell.slot)), d->find(QString::fromUtf8(cell.piece)));
        QRect grid, cut;
        for (const auto& [cell, piece] : cells) {
            EXPECT_EQ(piece->picture, model->picture) << qPrintable(piece->name);
            EXPECT_FALSE(piece->crop.isEmpty()) << qPrintable(piece->name);
            // Without a border an empty cell would not show on the white screen.
            EXPECT_TRUE(piece->border && cell->border && model->border) << qPrintable(cell->name);
            grid |= cell->geometry;
            cut |= piece->crop;
        }
        const auto whole = screens::Picture::fromFile(screens::picturePath(model->picture));
        EXPECT_EQ(whole->pixelSize(), model->geometry.size() / 15);
        EXPECT_TRUE(QRect(QPoint(0, 0), whole->pixelSize()).contains(cut));
        EXPECT_NEAR(double(cut.width()) / cut.height(), double(grid.width()) / grid.height(), 0.015);
        const double sx = double(cut.width()) / grid.width(), sy = double(cut.height()) / grid.height();
        const QImage big = whole->pixmap(whole->pixelSize() * 4).toImage();
        for (const auto& [cell, piece] : cells) {
            SCOPED_TRACE(qPrintable(piece->name));
            const QRect g = cell->geometry;
            const QRect c = piece->crop;
            EXPECT_NEAR(c.left(), cut.left() + (g.left() - grid.left()) * sx, 1.0);
            EXPECT_NEAR(c.top(), cut.top() + (g.top() - grid.top()) * sy, 1.0);
            EXPECT_NEAR(c.width(), g.width() * sx, 1.0);
            EXPECT_NEAR(c.height(), g.height() * sy, 1.0);
            // The piece, as it is drawn, is that part of the model's drawing.
            const QImage part = big.copy(QRect(c.topLeft() * 4, c.size() * 4));
            const QImage drawn = screens::Picture::fromFile(screens::picturePath(piece->picture), c)
                                     ->pixmap(c.size() * 4).toImage().convertToFormat(part.format());
            ASSERT_EQ(drawn.size(), part.size());
            double difference = 0;
            for (int y = 0; y < part.height(); ++y)
                for (int x = 0; x < part.width(); ++x)
                    difference += std::abs(qGray(part.pixel(x, y)) - qGray(drawn.pixel(x, y)));
            EXPECT_LT(difference / (part.width() * part.height()), 2.0);
        }
    }
}

TEST(RompecabezasCounts, PuzzleScreensHoldTheControlsTheyShould)
{
    expectControlCounts({
        {"Rompecabezas1", 18, 3, 0, 0, 0, 3, 4, 7},
        {"Rompecabezas2", 26, 3, 0, 0, 0, 5, 6, 11},
        {"Rompecabezas3", 38, 3, 0, 0, 0, 8, 9, 17},
        {"Rompecabezas4", 48, 3, 0, 0, 0, 11, 12, 21},
        {"Rompecabezas5", 45, 3, 0, 0, 0, 11, 11, 19},
    });
}

TEST_F(Journey, FromTheMenuThroughThePuzzlesToTheLastScreen)
{
    shell.start();
    clickOn("Image4");
    clickOn("Image1");
    std::vector<Step> steps;
    const char* next[] = {"Image16", "Image24", "Image36", "Image46", nullptr};
    for (std::size_t i = 0; i < std::size(kPuzzles); ++i) {
        Step step{kPuzzles[i].screen, {}, next[i]};
        for (const Cell& cell : kPuzzles[i].cells)
            step.drops.emplace_back(cell.piece, cell.slot);
        steps.push_back(step);
    }
    play(steps);
    for (const Cell& cell : kPuzzles[4].cells)
        EXPECT_FALSE(shown(cell.piece));
    sayGoodbyeButStay();
    clickOn("Image43");
    EXPECT_EQ(shell.currentScreen()->name(), QString::fromUtf8("Menú"));
}
