#include "Mixer.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

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

template <class Condition>
bool soon(Condition condition)
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && !condition())
        QThread::msleep(5);
    return condition();
}

// A stand-in for a sound card that plays in real time from a buffer of three mixed buffers,
// and can be pulled out.
struct FakeCard {
    std::atomic<int64_t> written{0};
    std::atomic<bool> pulledOut{false};
    std::atomic<bool> closed{false};
};

class FakeDevice : public AudioDevice {
public:
    explicit FakeDevice(std::shared_ptr<FakeCard> card) : m_card(std::move(card)) { m_clock.start(); }
    ~FakeDevice() override { m_card->closed = true; }
    int bufferFrames() const override { return Mixer::BufferFrames * 3; }
    int framesFree() const override
    {
        const int64_t played = m_clock.nsecsElapsed() * 44100 / 1000000000;
        return int(std::clamp<int64_t>(bufferFrames() - (m_card->written - played), 0, bufferFrames()));
    }
    void write(std::span<const int16_t> samples) override { m_card->written += int64_t(samples.size() / 2); }
    bool hasFailed(int& code) const override
    {
        code = 6;
        return m_card->pulledOut;
    }

private:
    std::shared_ptr<FakeCard> m_card;
    QElapsedTimer m_clock;
};

} // namespace

// A device pulled out while a sound plays: the mixer says so once on standard error and goes
// on without it, keeping time; the sound plays on, and sounds started later play too.
TEST(AudioThread, ADeviceThatVanishesMidSoundLeavesTheMixerKeepingTime)
{
    auto card = std::make_shared<FakeCard>();
    Mixer mixer([card] { return std::make_unique<FakeDevice>(card); });
    ASSERT_TRUE(soon([&] { return mixer.hasDevice(); }));
    EXPECT_EQ(mixer.deviceBufferFrames(), Mixer::BufferFrames * 3);

    const Owner owner = Mixer::newOwner();
    auto sound = std::make_shared<DecodedSound>();
    sound->samples.assign(size_t(Mixer::BufferFrames) * 8, 3);
    SoundInfo endless;
    endless.loopCount = 65535;
    mixer.startEvent(owner, 1, sound, endless);
    ASSERT_TRUE(soon([&] { return card->written > Mixer::BufferFrames * 6; }));

    testing::internal::CaptureStderr();
    card->pulledOut = true;
    ASSERT_TRUE(soon([&] { return !mixer.hasDevice() && card->closed; }));
    const int64_t writtenBeforeLoss = card->written;
    mixer.startEvent(owner, 2, sound, {});
    ASSERT_TRUE(mixesOn(mixer, Mixer::BufferFrames * 12));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the audio device stopped (error 6)"), std::string::npos) << said;
    EXPECT_EQ(card->written, writtenBeforeLoss);
    EXPECT_TRUE(mixer.isPlaying(owner, 1));
    EXPECT_FALSE(mixer.isPlaying(owner, 2));  // played to its end without the device
    EXPECT_EQ(mixer.deviceBufferFrames(), 0);

    // No device at all from the start: the same, without a word.
    Mixer silent([] { return std::unique_ptr<AudioDevice>(); });
    ASSERT_TRUE(mixesOn(silent, Mixer::BufferFrames));
    EXPECT_FALSE(silent.hasDevice());
}

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
