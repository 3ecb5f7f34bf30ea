#include "Mixer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace movie::sound;

namespace {

constexpr double Fps = 12.0;
constexpr double FrameLength = OutputRate / Fps;  // 3675 frames

bool silent(const std::vector<int16_t>& v)
{
    return std::all_of(v.begin(), v.end(), [](int16_t s) { return s == 0; });
}

// Stream blocks cut the way MP3 streams are: whole 1152-sample MP3 frames, so block sizes
// wander around the movie frame's length. Values count up so order can be checked.
std::vector<int16_t> block(int frameIndex, int64_t& written)
{
    const auto mp3Frames = [](int k) { return int64_t(k * FrameLength / 1152.0) * 1152; };
    const int64_t n = mp3Frames(frameIndex + 1) - mp3Frames(frameIndex);
    std::vector<int16_t> out;
    for (int64_t i = 0; i < n; ++i) {
        const auto v = int16_t((written + i) % 30000 + 1);
        out.push_back(v);
        out.push_back(v);
    }
    written += n;
    return out;
}

struct SyncRun {
    int64_t dropped = 0;
    int64_t padded = 0;
    std::vector<int16_t> played;  // left channel of everything the stream gave
    std::vector<int16_t> pushed;
};

// One simulated minute of a timeline whose clock runs `speed` times as fast as the audio
// clock, mixed in device-sized buffers; after every buffer the stream must be within one frame
// of the frame on screen.
SyncRun simulateMinute(double speed)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.streamOpen(owner, 3, {Fps});
    SyncRun run;
    int64_t written = 0;
    int next = 0;
    int64_t audioTime = 0;
    while (audioTime < 60 * OutputRate) {
        while (next * FrameLength / speed <= double(audioTime)) {
            auto samples = block(next, written);
            for (size_t i = 0; i < samples.size(); i += 2)
                run.pushed.push_back(samples[i]);
            mixer.streamPush(owner, 3, next, std::move(samples));
            mixer.streamShowFrame(owner, 3, next);
            ++next;
        }
        const auto out = mixer.render(Mixer::BufferFrames);
        for (size_t i = 0; i < out.size(); i += 2) {
            if (out[i] != 0)
                run.played.push_back(out[i]);
        }
        audioTime += Mixer::BufferFrames;
        const auto status = mixer.streamStatus(owner, 3);
        EXPECT_TRUE(status.has_value());
        if (!status)
            break;
        // In step: the sound is in the shown frame's span, or at most a frame either side.
        EXPECT_GE(status->audioFrame, status->shownFrame - 1.0) << "at " << audioTime;
        EXPECT_LE(status->audioFrame, status->shownFrame + 2.0) << "at " << audioTime;
        if (status->audioFrame < status->shownFrame - 1.0 || status->audioFrame > status->shownFrame + 2.0)
            break;
        run.dropped = status->droppedFrames;
        run.padded = status->paddedFrames;
    }
    return run;
}

} // namespace

TEST(StreamSync, InStepTimelinePlaysEverySampleInOrder)
{
    const SyncRun run = simulateMinute(1.0);
    EXPECT_EQ(run.dropped, 0);
    ASSERT_GT(run.played.size(), size_t(59 * OutputRate));
    ASSERT_LE(run.played.size(), run.pushed.size());
    EXPECT_TRUE(std::equal(run.played.begin(), run.played.end(), run.pushed.begin()));
}

TEST(StreamSync, FastTimelineMakesTheStreamSkipAhead)
{
    const SyncRun run = simulateMinute(1.03);
    EXPECT_GT(run.dropped, 0);
    // It skips what it must and not much more: about 3% of a minute.
    EXPECT_LT(run.dropped, int64_t(0.05 * 60 * OutputRate));
}

TEST(StreamSync, SlowTimelineMakesTheStreamWait)
{
    const SyncRun run = simulateMinute(0.97);
    EXPECT_EQ(run.dropped, 0);
    // Nothing is lost, it is only held back: what played is the pushed sound in order.
    EXPECT_TRUE(std::equal(run.played.begin(), run.played.end(), run.pushed.begin()));
}

TEST(StreamSync, StoppedTimelineHoldsTheStreamBack)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.streamOpen(owner, 1, {Fps});
    int64_t written = 0;
    for (int f = 0; f < 20; ++f)
        mixer.streamPush(owner, 1, f, block(f, written));
    mixer.streamShowFrame(owner, 1, 0);
    mixer.render(OutputRate);
    const auto status = mixer.streamStatus(owner, 1);
    ASSERT_TRUE(status.has_value());
    EXPECT_LE(status->audioFrame, 2.0);
    EXPECT_GT(status->queuedFrames, 0);
    // Once the timeline moves, the sound goes on from where it waited.
    mixer.streamShowFrame(owner, 1, 1);
    EXPECT_NE(mixer.render(16)[0], 0);
}

TEST(StreamSync, JumpStartsTheStreamAtTheNewFrame)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.streamOpen(owner, 1, {Fps});
    for (int f = 0; f < 5; ++f) {
        mixer.streamPush(owner, 1, f, std::vector<int16_t>(7350, 100));
        mixer.streamShowFrame(owner, 1, f);
    }
    mixer.render(256);
    mixer.streamPush(owner, 1, 40, std::vector<int16_t>(7350, -200));
    mixer.streamShowFrame(owner, 1, 40);
    EXPECT_TRUE(silent(mixer.render(Mixer::StreamPrerollFrames)));  // a moment's margin, then the new place
    const auto out = mixer.render(256);
    EXPECT_EQ(out[0], -200);
    const auto status = mixer.streamStatus(owner, 1);
    ASSERT_TRUE(status.has_value());
    EXPECT_NEAR(status->audioFrame, 40.0, 0.1);
}

TEST(StreamSync, TimelineWithoutBlocksDoesNotLetTheStreamFallBehind)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.streamOpen(owner, 1, {Fps});
    mixer.streamPush(owner, 1, 0, std::vector<int16_t>(7350, 100));
    mixer.streamShowFrame(owner, 1, 0);
    mixer.render(100);
    // The timeline runs on through frames that carry no block.
    mixer.streamShowFrame(owner, 1, 30);
    mixer.render(100);
    auto status = mixer.streamStatus(owner, 1);
    ASSERT_TRUE(status.has_value());
    EXPECT_GE(status->audioFrame, 29.0);
    // A block arriving for a later frame is played after no more than the start's margin.
    mixer.streamPush(owner, 1, 31, std::vector<int16_t>(7350, 300));
    mixer.streamShowFrame(owner, 1, 31);
    mixer.render(Mixer::StreamPrerollFrames);
    EXPECT_EQ(mixer.render(16)[0], 300);
    // So is one for an earlier frame, after the timeline jumped back.
    mixer.streamPush(owner, 1, 1, std::vector<int16_t>(7350, -300));
    mixer.streamShowFrame(owner, 1, 1);
    mixer.render(Mixer::StreamPrerollFrames);
    EXPECT_EQ(mixer.render(16)[0], -300);
    status = mixer.streamStatus(owner, 1);
    ASSERT_TRUE(status.has_value());
    EXPECT_NEAR(status->audioFrame, 1.0, 0.1);
}

TEST(StreamSync, PushesToUnknownStreamsAreIgnored)
{
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.streamPush(owner, 9, 0, std::vector<int16_t>(100, 1000));
    mixer.streamShowFrame(owner, 9, 0);
    const auto out = mixer.render(50);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t s) { return s == 0; }));
    EXPECT_FALSE(mixer.streamStatus(owner, 9).has_value());
    mixer.streamOpen(owner, 9, {Fps});
    mixer.streamClose(owner, 9);
    mixer.render(1);
    EXPECT_FALSE(mixer.streamStatus(owner, 9).has_value());
}

TEST(StreamSync, ATimerRunningALittleLateLeavesNoGapsInTheSound)
{
    // Each block is exactly one frame long, and each next frame comes up to 15 ms after its
    // sound is due (a busy timer). The margin taken at the start keeps the sound unbroken.
    Mixer mixer;
    const Owner owner = Mixer::newOwner();
    mixer.streamOpen(owner, 1, {Fps});
    const int frameLength = int(FrameLength);
    const int lateBy[] = {0, 300, 661, 120, 661, 0, 450, 661, 661, 200};
    std::vector<int16_t> played;
    int64_t due = 0, rendered = 0;
    for (int f = 0; f < 10; ++f) {
        mixer.streamPush(owner, 1, f, std::vector<int16_t>(size_t(frameLength) * 2, 1000));
        mixer.streamShowFrame(owner, 1, f);
        due += frameLength;
        // Render up to when the next frame comes: when its sound is due, plus the lateness.
        const int64_t until = due + (f + 1 < 10 ? lateBy[f + 1] : 0);
        auto out = mixer.render(int(until - rendered));
        rendered = until;
        for (size_t i = 0; i < out.size(); i += 2)
            played.push_back(out[i]);
    }
    ASSERT_GT(played.size(), size_t(Mixer::StreamPrerollFrames + 9 * frameLength));
    const std::vector<int16_t> before(played.begin(), played.begin() + Mixer::StreamPrerollFrames);
    EXPECT_TRUE(silent(before));
    const auto sound = played.begin() + Mixer::StreamPrerollFrames;
    EXPECT_TRUE(std::all_of(sound, sound + 9 * frameLength, [](int16_t v) { return v == 1000; }))
        << "a gap in the sound";
}
