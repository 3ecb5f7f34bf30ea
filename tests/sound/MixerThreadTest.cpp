// The mixer used from several threads at once: players play, stop and go on the
// user-interface thread while the mixer's thread mixes. The same program is built with
// ThreadSanitizer by the NUMBALI_TSAN configuration
// (tools/sanitize/run-thread-sanitized-mixer-test.sh).
#include "Movie.h"
#include "MoviePlayer.h"
#include "MovieSound.h"
#include "sound/Mixer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <new>
#include <thread>

using movie::sound::Mixer;
using movie::sound::Owner;
using namespace std::chrono_literals;

// Every operator new and delete is counted on the thread that makes it.
namespace {
thread_local int64_t t_heapCalls = 0;
}

void* operator new(std::size_t size)
{
    ++t_heapCalls;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* p) noexcept
{
    if (p)
        ++t_heapCalls;
    std::free(p);
}
void operator delete[](void* p) noexcept { ::operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { ::operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { ::operator delete(p); }

namespace {

QString programMovie(const char* name)
{
    return QStringLiteral(NUMBALI_PROGRAM_MOVIES "/") + QString::fromUtf8(name);
}

std::shared_ptr<const movie::MovieData> readMovie(const char* name)
{
    auto movie = movie::Movie::fromFile(programMovie(name));
    return movie ? movie.value()->sharedData() : nullptr;
}

// Runs the Qt event loop (the players' timers) for a while.
void runEvents(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

} // namespace

// A thread that mixes while movies with event sounds and streams start, restart, stop and go
// on another makes no call to operator new or delete. The movies are shown no faster than
// the mixed time, as a player's timer shows them in step with the device.
TEST(MixerThreads, MixingNeitherAllocatesNorFrees)
{
    Mixer mixer(Mixer::Output::None);
    std::atomic<int64_t> heard{0};
    mixer.setMixObserver([&heard](std::span<const int16_t> buffer) {
        for (int16_t v : buffer)
            if (v != 0) {
                heard.fetch_add(1, std::memory_order_relaxed);
                return;
            }
    });
    std::atomic<bool> stop{false};
    std::atomic<int64_t> heapCalls{-1};
    std::thread mixing([&] {
        std::array<int16_t, Mixer::BufferFrames * 2> buffer{};
        const int64_t before = t_heapCalls;
        while (!stop.load()) {
            mixer.render(buffer);
            std::this_thread::sleep_for(1ms);
        }
        heapCalls = t_heapCalls - before;
    });

    const char* names[] = {"feliz1.swf", "f_romp1.swf", "feliz2.swf", "ADIOS.swf"};
    int mostVoices = 0;
    bool sawStream = false;
    for (int round = 0; round < 3; ++round) {
        struct Playing {
            std::unique_ptr<movie::Movie> movie;
            std::unique_ptr<movie::MovieSound> sound;
        };
        std::deque<Playing> playing;
        for (const char* name : names) {
            auto data = readMovie(name);
            ASSERT_TRUE(data) << name;
            Playing p{std::make_unique<movie::Movie>(data), nullptr};
            p.sound = std::make_unique<movie::MovieSound>(mixer, data);
            p.sound->frameShown(p.movie->takeSoundEvents());
            playing.push_back(std::move(p));
        }
        for (int frame = 0; frame < 45; ++frame) {
            // At least a frame's time (at 15 a second) is mixed before the next frame shows.
            const int64_t due = mixer.renderedFrames() + movie::sound::OutputRate / 15;
            ASSERT_TRUE(waitUntil([&] { return mixer.renderedFrames() >= due; }));
            for (Playing& p : playing) {
                p.movie->tick();
                p.sound->frameShown(p.movie->takeSoundEvents());
                mostVoices = std::max(mostVoices, mixer.playingCount(p.sound->owner()));
                sawStream = sawStream || mixer.streamStatus(p.sound->owner(), 1).has_value();
            }
            if (frame == 20) {
                // Play setting off and on again: the same movie from its start, a new owner.
                playing[1].sound.reset();
                playing[1].movie->restart();
                playing[1].sound = std::make_unique<movie::MovieSound>(mixer, playing[1].movie->sharedData());
                playing[1].sound->frameShown(playing[1].movie->takeSoundEvents());
            }
            if (frame == 30)
                playing.pop_front();  // a player goes while its sounds play
        }
    }
    stop = true;
    mixing.join();
    EXPECT_EQ(heapCalls.load(), 0);
    EXPECT_GT(heard.load(), 100);
    EXPECT_GE(mostVoices, 1);
    EXPECT_TRUE(sawStream);
}

// Players are made, played, stopped and destroyed on this thread while the mixer's own
// thread mixes and another thread uses every other call of the mixer; then the output is
// stopped from two threads at once. When every player has gone, the mixer falls silent.
TEST(MixerThreads, PlayersComeAndGoWhileTheMixerRuns)
{
    auto mixer = std::make_unique<Mixer>(Mixer::Output::Device);
    std::atomic<int64_t> lastSound{0};  // frames mixed when a buffer last held sound
    mixer->setMixObserver([&](std::span<const int16_t> buffer) {
        for (int16_t v : buffer)
            if (v != 0) {
                lastSound = mixer->renderedFrames();
                return;
            }
    });

    std::atomic<bool> stop{false};
    std::thread other([&] {
        const Owner owner = Mixer::newOwner();
        auto beep = std::make_shared<movie::sound::DecodedSound>();
        beep->samples.assign(2000, 10);
        int round = 0;
        while (!stop.load()) {
            mixer->startEvent(owner, 1, beep, {});
            if (round % 10 == 0)
                mixer->streamOpen(owner, 2, {15.0});
            mixer->streamPush(owner, 2, 0, std::vector<int16_t>(2940, 10));
            mixer->streamShowFrame(owner, 2, 0);
            (void)mixer->playingCount(owner);
            (void)mixer->isPlaying(owner, 1);
            (void)mixer->streamStatus(owner, 2);
            (void)mixer->hasDevice();
            (void)mixer->deviceBufferFrames();
            (void)mixer->droppedCommands();
            if (round % 10 == 5)
                mixer->setMixObserver(nullptr);  // replaced while mixing
            std::this_thread::sleep_for(2ms);
            mixer->stopEvent(owner, 1);
            mixer->stopAll(owner);
            if (round % 10 == 9)
                mixer->streamClose(owner, 2);
            ++round;
        }
        mixer->stopOwner(owner);
    });

    const char* names[] = {"feliz1.swf", "f_romp2.swf", "ADIOS.swf", "feliz3.swf", "acuario2.swf"};
    std::vector<std::unique_ptr<movie::MoviePlayer>> players;
    for (int step = 0; step < 12; ++step) {
        auto player = std::make_unique<movie::MoviePlayer>(mixer.get());
        ASSERT_TRUE(player->load(programMovie(names[step % 5])));
        players.push_back(std::move(player));
        runEvents(40);
        if (step % 3 == 1)
            players.front()->setPlaying(false);
        if (step % 3 == 2) {
            players.front()->setPlaying(true);
            players.erase(players.begin());
        }
        if (step % 4 == 3)
            players.back()->load(programMovie(names[(step + 2) % 5]));
    }
    stop = true;
    other.join();
    players.clear();

    mixer->setMixObserver([&](std::span<const int16_t> buffer) {
        for (int16_t v : buffer)
            if (v != 0) {
                lastSound = mixer->renderedFrames();
                return;
            }
    });
    const int64_t goneAt = mixer->renderedFrames();
    ASSERT_TRUE(waitUntil([&] { return mixer->renderedFrames() > goneAt + 6 * Mixer::BufferFrames; }));
    EXPECT_LE(lastSound.load(), goneAt + 2 * Mixer::BufferFrames) << "still playing after every player went";

    std::thread stopper([&] { mixer->stopOutput(); });
    mixer->stopOutput();
    stopper.join();
    EXPECT_FALSE(mixer->hasDevice());
    mixer.reset();
}

// The observer may take a lock that a caller of the mixer holds meanwhile: it runs with none
// of the mixer's locks held, so neither waits for the other.
TEST(MixerThreads, AnObserverMayTakeALockACallerHolds)
{
    Mixer mixer(Mixer::Output::Device);
    std::mutex shared;
    std::atomic<bool> observerWaiting{false};
    std::atomic<int> timedOut{0};
    std::atomic<int> passed{0};
    const auto observer = [&](std::span<const int16_t>) {
        observerWaiting = true;
        // Polled rather than waited for, so that a deadlock shows as a failure, not a hang.
        if (!waitUntil([&] { return shared.try_lock(); }, 2s)) {
            ++timedOut;
            return;
        }
        shared.unlock();
        ++passed;
    };
    mixer.setMixObserver(observer);
    const Owner owner = Mixer::newOwner();
    for (int i = 0; i < 3; ++i) {
        std::unique_lock lock(shared);
        observerWaiting = false;
        ASSERT_TRUE(waitUntil([&] { return observerWaiting.load(); }));
        // The mixing thread now waits for `shared`, which this thread holds.
        mixer.setMixObserver(observer);
        mixer.stopAll(owner);
        (void)mixer.playingCount(owner);
        const int before = passed.load();
        lock.unlock();
        ASSERT_TRUE(waitUntil([&] { return passed.load() > before; }));
    }
    mixer.stopOutput();
    EXPECT_EQ(timedOut.load(), 0);
}

int main(int argc, char** argv)
{
    // The players' timers and the mixer's thread want an application object.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Sounds started from several threads at once on a mixer whose thread has fallen asleep wake
// it, all play to their end, and it falls asleep again.
TEST(MixerThreads, CallersFromManyThreadsWakeASleepingMixer)
{
    Mixer mixer(Mixer::Output::Device);
    ASSERT_TRUE(waitUntil([&] { return mixer.isOutputAsleep(); }));
    auto sound = std::make_shared<movie::sound::DecodedSound>();
    sound->samples.assign(size_t(Mixer::BufferFrames) * 4, 0);
    for (int round = 0; round < 3; ++round) {
        std::vector<std::thread> callers;
        std::vector<Owner> owners;
        for (int i = 0; i < 4; ++i)
            owners.push_back(Mixer::newOwner());
        for (Owner owner : owners)
            callers.emplace_back([&mixer, owner, sound] { mixer.startEvent(owner, 1, sound, {}); });
        for (std::thread& t : callers)
            t.join();
        const int64_t from = mixer.renderedFrames();
        ASSERT_TRUE(waitUntil([&] { return mixer.renderedFrames() >= from + Mixer::BufferFrames * 8; }));
        for (Owner owner : owners)
            EXPECT_EQ(mixer.playingCount(owner), 0);
        ASSERT_TRUE(waitUntil([&] { return mixer.isOutputAsleep(); }));
    }
}
