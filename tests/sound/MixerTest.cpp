#include "Mixer.h"

#include <gtest/gtest.h>

using namespace movie::sound;

namespace {

SharedSound constant(int16_t left, int16_t right, int frames)
{
    auto s = std::make_shared<DecodedSound>();
    for (int i = 0; i < frames; ++i) {
        s->samples.push_back(left);
        s->samples.push_back(right);
    }
    return s;
}

// Left channel counts frames up from 1, right down from -1, so positions show in the output.
SharedSound ramp(int frames)
{
    auto s = std::make_shared<DecodedSound>();
    for (int i = 0; i < frames; ++i) {
        s->samples.push_back(int16_t(i + 1));
        s->samples.push_back(int16_t(-i - 1));
    }
    return s;
}

bool silent(const std::vector<int16_t>& v)
{
    return std::all_of(v.begin(), v.end(), [](int16_t s) { return s == 0; });
}

} // namespace

TEST(Mixer, TwoSoundsAtOnceAddUp)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.startEvent(owner, 1, constant(1000, -500, 1000), {});
    mixer.startEvent(owner, 2, constant(2000, 700, 1000), {});
    const auto out = mixer.render(256);
    for (size_t i = 0; i < out.size(); i += 2) {
        ASSERT_EQ(out[i], 3000);
        ASSERT_EQ(out[i + 1], 200);
    }
    EXPECT_EQ(mixer.playingCount(owner), 2);
}

TEST(Mixer, LoudSumsSaturateInsteadOfWrapping)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.startEvent(owner, 1, constant(30000, -30000, 100), {});
    mixer.startEvent(owner, 2, constant(30000, -30000, 100), {});
    mixer.startEvent(owner, 3, constant(-5000, 5000, 100), {});
    const auto out = mixer.render(50);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
}

TEST(Mixer, SoundEndsAndLeavesSilence)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.startEvent(owner, 1, ramp(100), {});
    const auto out = mixer.render(150);
    EXPECT_EQ(out[99 * 2], 100);
    EXPECT_EQ(out[100 * 2], 0);
    EXPECT_EQ(mixer.playingCount(owner), 0);
}

TEST(Mixer, LoopsPlayTheSoundAgain)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    SoundInfo info;
    info.loopCount = 3;
    mixer.startEvent(owner, 1, ramp(100), info);
    // Rendered in uneven pieces so loop ends fall inside buffers.
    std::vector<int16_t> out;
    for (int n : {37, 100, 63, 128})
        for (int16_t s : mixer.render(n))
            out.push_back(s);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(out[size_t(i) * 2], i % 100 + 1) << i;
        ASSERT_EQ(out[size_t(i) * 2 + 1], -(i % 100 + 1)) << i;
    }
    EXPECT_EQ(out[300 * 2], 0);
}

TEST(Mixer, InAndOutPointsTrimEachLoop)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    SoundInfo info;
    info.inPoint = 10;
    info.outPoint = 20;
    info.loopCount = 2;
    mixer.startEvent(owner, 1, ramp(100), info);
    const auto out = mixer.render(30);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(out[size_t(i) * 2], 11 + i % 10) << i;
    EXPECT_EQ(out[20 * 2], 0);
}

TEST(Mixer, OutPointsPastTheEndAreCut)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    SoundInfo info;
    info.inPoint = 90;
    info.outPoint = 5000;
    mixer.startEvent(owner, 1, ramp(100), info);
    SoundInfo empty;
    empty.inPoint = 500;  // starts after the end: plays nothing
    mixer.startEvent(owner, 2, ramp(100), empty);
    const auto out = mixer.render(20);
    EXPECT_EQ(out[0], 91);
    EXPECT_EQ(out[9 * 2], 100);
    EXPECT_EQ(out[10 * 2], 0);
}

TEST(Mixer, EnvelopeSetsEachChannelsLevel)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    SoundInfo info;
    info.envelope = {{0, 32768, 0}, {1000, 0, 32768}};
    mixer.startEvent(owner, 1, constant(10000, 10000, 3000), info);
    const auto out = mixer.render(2000);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(out[1], 0);
    EXPECT_NEAR(out[500 * 2], 5000, 1);
    EXPECT_NEAR(out[500 * 2 + 1], 5000, 1);
    EXPECT_NEAR(out[250 * 2], 7500, 1);
    EXPECT_EQ(out[1000 * 2], 0);
    EXPECT_EQ(out[1000 * 2 + 1], 10000);
    EXPECT_EQ(out[1999 * 2 + 1], 10000);  // the last level holds
}

TEST(Mixer, EnvelopeBeforeItsFirstPointHoldsThatLevel)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    SoundInfo info;
    info.envelope = {{100, 16384, 16384}};
    mixer.startEvent(owner, 1, constant(-8000, 8000, 300), info);
    const auto out = mixer.render(200);
    EXPECT_EQ(out[0], -4000);
    EXPECT_EQ(out[199 * 2 + 1], 4000);
}

TEST(Mixer, EnvelopeRunsOnThroughLoops)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    SoundInfo info;
    info.loopCount = 2;
    info.envelope = {{0, 32768, 32768}, {200, 0, 0}};
    mixer.startEvent(owner, 1, ramp(100), info);
    const auto out = mixer.render(200);
    EXPECT_EQ(out[0], 1);
    // Frame 150 is sample 51 of the second loop, at a quarter of full level.
    EXPECT_EQ(out[150 * 2], (51 * 8192) >> 15);
    EXPECT_EQ(out[150 * 2 + 1], (-51 * 8192) >> 15);
}

TEST(Mixer, NoMultipleDoesNotStartASecondCopy)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    const Owner other = Mixer::newOwner();
    SoundInfo once;
    once.syncNoMultiple = true;
    mixer.startEvent(owner, 7, constant(1000, 1000, 1000), once);
    mixer.startEvent(owner, 7, constant(1000, 1000, 1000), once);
    // Another player's copy of the same id is its own sound.
    mixer.startEvent(other, 7, constant(100, 100, 1000), once);
    EXPECT_EQ(mixer.render(10)[0], 1100);
    mixer.startEvent(owner, 7, constant(1000, 1000, 1000), once);
    EXPECT_EQ(mixer.render(10)[0], 1100);
    mixer.startEvent(owner, 7, constant(1000, 1000, 1000), {});  // without the flag it does
    EXPECT_EQ(mixer.render(10)[0], 2100);
    EXPECT_TRUE(mixer.isPlaying(owner, 7));
}

TEST(Mixer, SyncStopStopsThatSound)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.startEvent(owner, 1, constant(1000, 1000, 10000), {});
    mixer.startEvent(owner, 1, constant(1000, 1000, 10000), {});
    mixer.startEvent(owner, 2, constant(10, 10, 10000), {});
    EXPECT_EQ(mixer.render(10)[0], 2010);
    SoundInfo stop;
    stop.syncStop = true;
    mixer.startEvent(owner, 1, constant(1000, 1000, 10000), stop);
    EXPECT_EQ(mixer.render(10)[0], 10);
    EXPECT_FALSE(mixer.isPlaying(owner, 1));
    mixer.stopEvent(owner, 2);
    EXPECT_TRUE(silent(mixer.render(10)));
}

TEST(Mixer, StopOwnerSilencesWithinOneBuffer)
{
    Mixer mixer;
    const Owner going = Mixer::newOwner();
    const Owner staying = Mixer::newOwner();
    SoundInfo loops;
    loops.loopCount = 1000;
    for (int id = 0; id < 10; ++id)
        mixer.startEvent(going, id, ramp(300), loops);
    mixer.streamOpen(going, 1, {});
    mixer.streamPush(going, 1, 0, std::vector<int16_t>(20000, 1234));
    mixer.streamShowFrame(going, 1, 0);
    mixer.startEvent(staying, 1, constant(5, 5, 100000), {});
    EXPECT_NE(mixer.render(Mixer::BufferFrames)[0], 5);
    mixer.stopOwner(going);
    const auto after = mixer.render(Mixer::BufferFrames);
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](int16_t s) { return s == 5; }));
    EXPECT_EQ(mixer.playingCount(going), 0);
    EXPECT_FALSE(mixer.streamStatus(going, 1).has_value());
    EXPECT_EQ(mixer.playingCount(staying), 1);
}

TEST(Mixer, StopAllSilencesEventsAndStreamsButKeepsStreamsOpen)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.startEvent(owner, 1, constant(1000, 1000, 100000), {});
    mixer.streamOpen(owner, 1, {12.0});
    mixer.streamPush(owner, 1, 0, std::vector<int16_t>(3675 * 2, 100));
    mixer.streamShowFrame(owner, 1, 0);
    EXPECT_EQ(mixer.render(Mixer::StreamPrerollFrames)[0], 1000);  // the stream's first moment waits
    EXPECT_EQ(mixer.render(100)[0], 1100);
    mixer.stopAll(owner);
    EXPECT_TRUE(silent(mixer.render(100)));
    mixer.streamPush(owner, 1, 1, std::vector<int16_t>(3675 * 2, 100));
    mixer.streamShowFrame(owner, 1, 1);
    mixer.render(Mixer::StreamPrerollFrames);
    EXPECT_EQ(mixer.render(100)[0], 100);
}

TEST(Mixer, OwnersAreDistinct)
{
    const Owner a = Mixer::newOwner();
    const Owner b = Mixer::newOwner();
    EXPECT_NE(a, b);
    EXPECT_NE(a, 0u);
}

TEST(Mixer, EmptyOrMissingSoundsAreIgnored)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.startEvent(owner, 1, nullptr, {});
    mixer.startEvent(owner, 2, std::make_shared<DecodedSound>(), {});
    EXPECT_TRUE(silent(mixer.render(64)));
    EXPECT_EQ(mixer.playingCount(owner), 0);
}

TEST(Mixer, ManyVoicesAreBounded)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    for (int i = 0; i < 1000; ++i)
        mixer.startEvent(owner, i, constant(1, 1, 1000), {});
    const auto out = mixer.render(16);
    EXPECT_LE(out[0], 128);
    EXPECT_GT(out[0], 0);
}
