#include "Mixer.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

using namespace movie::sound;

namespace {

// Waits (bounded) until the mixer has mixed at least `frames` more frames.
bool mixesOn(const Mixer& mixer, int64_t frames)
{
    const int64_t start = mixer.renderedFrames();
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (mixer.renderedFrames() >= start + frames)
            return true;
        QThread::msleep(5);
    }
    return false;
}

} // namespace

// With or without an audio device the mixer's thread keeps time: sounds start, play to their
// end and stop, and nothing waits for a device that is not there.
TEST(AudioThread, RunsWithOrWithoutADevice)
{
    auto mixer = std::make_unique<Mixer>(Mixer::Output::Device);
    const Owner owner = Mixer::newOwner();
    ASSERT_TRUE(mixesOn(*mixer, Mixer::BufferFrames));
    if (!mixer->hasDevice()) {
        EXPECT_EQ(mixer->deviceBufferFrames(), 0);
    }

    // Quiet, in case a developer's machine does have speakers.
    auto sound = std::make_shared<DecodedSound>();
    for (int i = 0; i < Mixer::BufferFrames * 4; ++i) {
        const auto v = int16_t(i % 100 < 50 ? 100 : -100);
        sound->samples.push_back(v);
        sound->samples.push_back(v);
    }
    mixer->startEvent(owner, 1, sound, {});
    ASSERT_TRUE(mixesOn(*mixer, Mixer::BufferFrames * 8));
    EXPECT_EQ(mixer->playingCount(owner), 0);  // played out

    SoundInfo endless;
    endless.loopCount = 65535;
    mixer->startEvent(owner, 2, sound, endless);
    ASSERT_TRUE(mixesOn(*mixer, Mixer::BufferFrames * 2));
    EXPECT_TRUE(mixer->isPlaying(owner, 2));
    mixer->stopOwner(owner);
    ASSERT_TRUE(mixesOn(*mixer, Mixer::BufferFrames * 2));
    EXPECT_FALSE(mixer->isPlaying(owner, 2));

    mixer.reset();  // stops the thread and returns
    SUCCEED();
}

// Once its output is stopped the mixer mixes no more on its own; commands wait for render().
TEST(AudioThread, StoppedOutputLeavesTheClockToRender)
{
    Mixer mixer(Mixer::Output::Device);
    ASSERT_TRUE(mixesOn(mixer, Mixer::BufferFrames));
    mixer.stopOutput();
    mixer.stopOutput();
    EXPECT_FALSE(mixer.hasDevice());
    const int64_t stoppedAt = mixer.renderedFrames();
    const Owner owner = Mixer::newOwner();
    auto sound = std::make_shared<DecodedSound>();
    sound->samples.assign(size_t(Mixer::BufferFrames) * 4, 1);
    mixer.startEvent(owner, 1, sound, {});
    QThread::msleep(30);
    EXPECT_EQ(mixer.renderedFrames(), stoppedAt);
    EXPECT_EQ(mixer.playingCount(owner), 0);
    mixer.render(Mixer::BufferFrames);
    EXPECT_EQ(mixer.playingCount(owner), 1);
}

TEST(AudioThread, StoppedOutputKeepsCommandsBounded)
{
    Mixer mixer(Mixer::Output::None);
    const Owner owner = Mixer::newOwner();
    for (int i = 0; i < (1 << 16) + 10; ++i)
        mixer.stopEvent(owner, i);
    EXPECT_EQ(mixer.droppedCommands(), 10);
    mixer.render(1);
    mixer.stopEvent(owner, 1);
    EXPECT_EQ(mixer.droppedCommands(), 10);
}

// Once nothing has sounded for a while the thread sleeps and mixes nothing; a sound started
// then wakes it, plays to its end, and the thread falls asleep again.
TEST(AudioThread, SleepsInSilenceAndWakesForASound)
{
    Mixer mixer(Mixer::Output::Device);
    auto asleepSoon = [&] {
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && !mixer.isOutputAsleep())
            QThread::msleep(10);
        return mixer.isOutputAsleep();
    };
    ASSERT_TRUE(asleepSoon());
    const int64_t asleepAt = mixer.renderedFrames();
    QThread::msleep(100);
    EXPECT_EQ(mixer.renderedFrames(), asleepAt);

    const Owner owner = Mixer::newOwner();
    auto sound = std::make_shared<DecodedSound>();
    sound->samples.assign(size_t(Mixer::BufferFrames) * 8, 0);
    mixer.startEvent(owner, 1, sound, {});
    EXPECT_FALSE(mixer.isOutputAsleep());
    ASSERT_TRUE(mixesOn(mixer, Mixer::BufferFrames * 8));
    EXPECT_EQ(mixer.playingCount(owner), 0);  // played out
    EXPECT_TRUE(asleepSoon());
}
