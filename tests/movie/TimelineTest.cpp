#include "TestSupport.h"
#include "Timeline.h"

#include <gtest/gtest.h>

using namespace movietest;
using movie::Movie;

namespace {

// Root timeline with `frames` frames; shape 1 placed at depth 1 in frame 1.
SwfWriter withSquare()
{
    SwfWriter w;
    defineRectangle(w, 1, {255, 0, 0}, 0, 0, 200, 200);
    return w;
}

int depthCount(const Movie& m) { return int(m.root().displayList().size()); }

} // namespace

TEST(Timeline, RootLoopsAtItsEnd)
{
    SwfWriter w = withSquare();
    for (int i = 0; i < 2; ++i)
        w.showFrame();
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->root().frameCount(), 3);
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        seen.push_back(m->root().currentFrame());
        m->tick();
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0, 1}));
}

TEST(Timeline, PlacementsAndRemovalsFollowFramesAndRewind)
{
    SwfWriter w = withSquare();
    SwfWriter::Place p;
    p.characterId = 1;
    p.depth = 1;
    w.place(p);
    w.showFrame();
    p.depth = 2;
    w.place(p);
    w.showFrame();
    w.remove(1);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_EQ(depthCount(*m), 1);
    m->tick();
    EXPECT_EQ(depthCount(*m), 2);
    m->tick();
    EXPECT_EQ(depthCount(*m), 1);
    EXPECT_EQ(m->root().displayList().begin()->first, 2);
    m->tick();  // loop back: only frame 1's object
    EXPECT_EQ(depthCount(*m), 1);
    EXPECT_EQ(m->root().displayList().begin()->first, 1);
}

TEST(Timeline, StopActionHoldsTheFrame)
{
    SwfWriter w = withSquare();
    w.showFrame();
    w.doAction(SwfWriter::actStop());
    w.showFrame();
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    for (int i = 0; i < 5; ++i)
        m->tick();
    EXPECT_EQ(m->root().currentFrame(), 1);
    EXPECT_FALSE(m->root().isPlaying());
}

TEST(Timeline, GotoFrameJumpsAndStops)
{
    SwfWriter w = withSquare();
    w.doAction(SwfWriter::actGoto(2));
    w.showFrame();
    w.showFrame();
    w.showFrame();
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->root().currentFrame(), 2);
    m->tick();
    EXPECT_EQ(m->root().currentFrame(), 2);
}

TEST(Timeline, GotoAndPlayThenLoopsThroughLabel)
{
    SwfWriter w = withSquare();
    w.showFrame();
    w.doAction(SwfWriter::actGotoLabel("End") + SwfWriter::actPlay());
    w.showFrame();
    w.showFrame();
    w.label("end");  // labels match without regard to case
    w.showFrame();
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    m->tick();  // frame 2 runs the goto to frame 4 and plays on
    EXPECT_EQ(m->root().currentFrame(), 3);
    EXPECT_TRUE(m->root().isPlaying());
    m->tick();
    EXPECT_EQ(m->root().currentFrame(), 4);
    m->tick();
    EXPECT_EQ(m->root().currentFrame(), 0);
}

TEST(Timeline, NextAndPrevFrameMoveOneAndStop)
{
    SwfWriter w = withSquare();
    w.showFrame();
    w.showFrame();
    w.doAction(SwfWriter::actPrev());
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    m->tick();
    m->tick();  // frame 3 steps back to frame 2
    EXPECT_EQ(m->root().currentFrame(), 1);
    EXPECT_FALSE(m->root().isPlaying());
    m->root().runActions({movie::Action{movie::Action::Op::NextFrame, 0, {}}});
    EXPECT_EQ(m->root().currentFrame(), 2);
}

TEST(Timeline, SpritesKeepTheirOwnFrameAcrossRootLoops)
{
    SwfWriter w = withSquare();
    defineEmptySprite(w, 2, 5);
    placeCharacter(w, 2);
    w.showFrame();
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    auto spriteFrame = [&]() { return m->root().displayList().at(1).sprite->currentFrame(); };
    EXPECT_EQ(spriteFrame(), 0);
    m->tick();
    EXPECT_EQ(spriteFrame(), 1);
    m->tick();  // root loops; the sprite placed on frame 1 stays and keeps counting
    EXPECT_EQ(m->root().currentFrame(), 0);
    EXPECT_EQ(spriteFrame(), 2);
    m->tick();
    m->tick();
    m->tick();
    EXPECT_EQ(spriteFrame(), 0);  // five frames: it looped on its own
}

TEST(Timeline, ActionsInASpriteActOnTheSprite)
{
    SwfWriter w = withSquare();
    SwfWriter body;
    body.showFrame();
    body.doAction(SwfWriter::actStop());
    body.showFrame();
    body.showFrame();
    body.end();
    w.sprite(2, body.body(), 3);
    placeCharacter(w, 2);
    w.showFrame();
    w.showFrame();
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    for (int i = 0; i < 4; ++i)
        m->tick();
    const auto& sprite = *m->root().displayList().at(1).sprite;
    EXPECT_EQ(sprite.currentFrame(), 1);
    EXPECT_FALSE(sprite.isPlaying());
    EXPECT_TRUE(m->root().isPlaying());
    EXPECT_EQ(m->root().currentFrame(), 1);
}

TEST(Timeline, NewSpriteDoesNotAdvanceOnTheFrameItAppears)
{
    SwfWriter w = withSquare();
    defineEmptySprite(w, 2, 4);
    w.showFrame();
    placeCharacter(w, 2);
    w.showFrame();
    w.doAction(SwfWriter::actStop());
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    m->tick();
    EXPECT_EQ(m->root().displayList().at(1).sprite->currentFrame(), 0);
    m->tick();
    EXPECT_EQ(m->root().displayList().at(1).sprite->currentFrame(), 1);
}

TEST(Timeline, MoveUpdatesPropertiesWithoutReplacing)
{
    SwfWriter w = withSquare();
    SwfWriter::Place p;
    p.characterId = 1;
    p.hasMatrix = true;
    p.tx = 100;
    p.name = "box";
    w.place(p);
    w.showFrame();
    SwfWriter::Place mv;
    mv.move = true;
    mv.hasMatrix = true;
    mv.tx = 400;
    mv.ratio = 1000;
    w.place(mv);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    m->tick();
    const auto& obj = m->root().displayList().at(1);
    EXPECT_EQ(obj.matrix.dx(), 400);
    EXPECT_EQ(obj.ratio, 1000);
    EXPECT_EQ(obj.name, QString("box"));
    EXPECT_EQ(obj.characterId, 1);
}

TEST(Timeline, SelfNestingSpriteIsBounded)
{
    // A sprite that places itself would recurse forever without the nesting limit.
    SwfWriter w;
    SwfWriter body;
    SwfWriter::Place p;
    p.characterId = 5;
    body.place(p);
    p.depth = 2;
    body.place(p);
    body.showFrame();
    body.end();
    w.sprite(5, body.body(), 1);
    w.place(p);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_LE(m->objectCount(), movie::PlayContext::MaxObjects);
    m->tick();
    QImage img = m->snapshot();
    EXPECT_FALSE(img.isNull());
}

TEST(Timeline, ScriptedJumpLoopsEndWithinAFrame)
{
    // Frame 1 jumps to frame 2 and frame 2 jumps back: each jump queues the other's
    // actions. The per-frame budget must end the chain.
    SwfWriter w = withSquare();
    placeCharacter(w, 1);
    w.doAction(SwfWriter::actGoto(1));
    w.showFrame();
    w.doAction(SwfWriter::actGoto(0));
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    m->tick();
    EXPECT_FALSE(m->root().isPlaying());
    EXPECT_EQ(depthCount(*m), 1);
}

TEST(Timeline, TickReportsWhetherThePictureChanged)
{
    SwfWriter w = withSquare();
    placeCharacter(w, 1);
    w.showFrame();
    SwfWriter::Place mv;
    mv.move = true;
    mv.hasMatrix = true;
    mv.tx = 100;
    w.place(mv);
    w.doAction(SwfWriter::actStop());
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->tick());   // frame 2 moves the square
    EXPECT_FALSE(m->tick());  // stopped: nothing changes
    EXPECT_FALSE(m->tick());
}

TEST(Timeline, ScriptsOfTheNewerKindAreSkippedAndTheTimelinePlays)
{
    SwfWriter w = withSquare();
    w.tag(69, QByteArray("\x08\x00\x00\x00", 4));        // file attributes: newer scripts
    w.tag(82, QByteArray("\x01\x00\x00\x00main\x00\x10\x00\x2e\x00", 14), true);  // script block
    w.tag(76, QByteArray("\x01\x00\x00\x00Main\x00", 9));  // symbol class
    placeCharacter(w, 1);
    w.showFrame();
    w.remove(1);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->data().usesAs3);
    EXPECT_EQ(depthCount(*m), 1);
    m->tick();
    EXPECT_EQ(m->root().currentFrame(), 1);
    EXPECT_EQ(depthCount(*m), 0);
}

TEST(Timeline, SoundEventsOfShownFramesAreHandedOver)
{
    SwfWriter w = withSquare();
    BitWriter snd;
    snd.u16(9);
    snd.u8(0x3e);  // raw little-endian, 44 kHz, 16-bit, mono
    snd.u32(1);
    snd.bytes(QByteArray(4, '\0'));
    w.tag(14, snd.data());
    w.showFrame();
    BitWriter start;
    start.u16(9);
    start.u8(0);
    w.tag(15, start.data());
    w.tag(19, QByteArray("blk"));
    w.showFrame();
    w.doAction(QByteArray(1, 0x09));  // stop sounds
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->takeSoundEvents().started.empty());
    m->tick();
    auto events = m->takeSoundEvents();
    ASSERT_EQ(events.started.size(), 1u);
    EXPECT_EQ(events.started[0]->soundId, 9);
    ASSERT_EQ(events.streamBlocks.size(), 1u);
    EXPECT_EQ(*events.streamBlocks[0].block, QByteArray("blk"));
    EXPECT_EQ(events.streamBlocks[0].data, m->data().root.get());
    EXPECT_FALSE(events.stopAll);
    EXPECT_TRUE(m->takeSoundEvents().started.empty());  // taken once
    m->tick();
    EXPECT_TRUE(m->takeSoundEvents().stopAll);
}

TEST(Timeline, SpriteReplacingACopyOfItselfIsBounded)
{
    // Each placement at depth 1 drops the previous copy and builds a new one, which does
    // the same inside: without a creation budget this never finishes.
    SwfWriter w;
    SwfWriter body;
    SwfWriter::Place p;
    p.characterId = 5;
    for (int i = 0; i < 10; ++i)
        body.place(p);
    body.showFrame();
    body.end();
    w.sprite(5, body.body(), 1);
    w.place(p);
    auto m = finishAndLoad(w);
    ASSERT_TRUE(m);
    EXPECT_LE(m->objectCount(), movie::PlayContext::MaxNesting + 1);
    m->tick();
    EXPECT_FALSE(m->snapshot(QSize(32, 32)).isNull());
}
