// Sound costs: mixing four streams at the real-time rate, the time from startEvent until the
// sound is in a mixed buffer, and what a start costs the calling (UI) thread.
#include "Adpcm.h"
#include "AudioThread.h"
#include "Mixer.h"
#include "SoundDecoder.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

using namespace movie::sound;

namespace {

constexpr double Fps = 12.0;
constexpr int FrameLength = 3675;

std::vector<int16_t> toneBlock(int frame, double hz)
{
    std::vector<int16_t> out(size_t(FrameLength) * 2);
    for (int i = 0; i < FrameLength; ++i) {
        const double t = double(frame * FrameLength + i) / OutputRate;
        const auto v = int16_t(6000 * std::sin(2 * 3.14159265358979 * hz * t));
        out[size_t(i) * 2] = v;
        out[size_t(i) * 2 + 1] = v;
    }
    return out;
}


void mixStreams(benchmark::State& state, bool withEvents)
{
    Mixer mixer;
    const int streams = 4;
    std::vector<Owner> owners;
    for (int s = 0; s < streams; ++s) {
        owners.push_back(Mixer::newOwner());
        mixer.streamOpen(owners.back(), 1, {Fps});
    }
    // Blocks are made once and pushed again and again, as decoded blocks would be.
    std::vector<std::vector<int16_t>> blocks;
    for (int s = 0; s < streams; ++s)
        blocks.push_back(toneBlock(0, 220.0 * (s + 1)));
    auto event = std::make_shared<DecodedSound>();
    event->samples = toneBlock(0, 660);
    SoundInfo fade;
    fade.loopCount = 4;  // a little over a second, so one or two play at any time
    fade.envelope = {{0, 0, 32768}, {44100, 32768, 0}};

    int frame = 0;
    int64_t mixed = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        while (mixed >= int64_t(frame) * FrameLength) {
            for (int s = 0; s < streams; ++s) {
                mixer.streamPush(owners[size_t(s)], 1, frame, blocks[size_t(s)]);
                mixer.streamShowFrame(owners[size_t(s)], 1, frame);
            }
            if (withEvents && frame % 12 == 0)
                mixer.startEvent(owners[0], frame, event, fade);
            ++frame;
        }
        auto out = mixer.render(Mixer::BufferFrames);
        benchmark::DoNotOptimize(out.data());
        mixed += Mixer::BufferFrames;
    }
    // Share of one core that mixing at the real-time rate takes: seconds spent per second
    // of sound.
    const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["pct_of_core_at_realtime"] = 100.0 * spent / (double(mixed) / OutputRate);
    state.counters["buffer_frames"] = Mixer::BufferFrames;
}

void BM_MixFourStreams(benchmark::State& state)
{
    mixStreams(state, false);
}
BENCHMARK(BM_MixFourStreams);

void BM_MixFourStreamsAndEnvelopedEvents(benchmark::State& state)
{
    mixStreams(state, true);
}
BENCHMARK(BM_MixFourStreamsAndEnvelopedEvents);

// From startEvent on the calling thread until the mixer's thread has mixed a buffer holding
// the sound. With a device, the device's own buffer comes on top; it is reported as
// device_buffer_ms (0 when there is no device, as on build machines).
void BM_StartEventToFirstBuffer(benchmark::State& state)
{
    Mixer mixer(Mixer::Output::Device);
    std::atomic<int64_t> heardAt{0};
    mixer.setMixObserver([&heardAt](std::span<const int16_t> buffer) {
        if (heardAt.load() == 0 && std::any_of(buffer.begin(), buffer.end(), [](int16_t s) { return s != 0; }))
            heardAt = std::chrono::steady_clock::now().time_since_epoch().count();
    });
    // A freshly opened device may take a while to ask for its first buffers; that start-up
    // is reported on its own and kept out of the figures.
    const auto opening = std::chrono::steady_clock::now();
    while (mixer.renderedFrames() < 4 * Mixer::BufferFrames)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double startup = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - opening).count();
    auto sound = std::make_shared<DecodedSound>();
    sound->samples = toneBlock(0, 440);
    sound->samples.resize(size_t(Mixer::BufferFrames) * 2);
    double worst = 0;
    for (auto _ : state) {
        const Owner owner = Mixer::newOwner();
        heardAt = 0;
        const auto start = std::chrono::steady_clock::now();
        mixer.startEvent(owner, 1, sound, {});
        while (heardAt.load() == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const double seconds = double(heardAt.load() - start.time_since_epoch().count()) * 1e-9;
        worst = std::max(worst, seconds);
        state.SetIterationTime(seconds);
        mixer.stopOwner(owner);
        // Let the sound end before the next start.
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    state.counters["worst_ms"] = worst * 1000;
    state.counters["buffer_ms"] = Mixer::BufferFrames * 1000.0 / OutputRate;
    state.counters["tick_ms"] = AudioThread::TickMs;
    state.counters["device_buffer_ms"] = mixer.deviceBufferFrames() * 1000.0 / OutputRate;
    state.counters["has_device"] = mixer.hasDevice() ? 1 : 0;
    state.counters["startup_ms"] = startup;
}
BENCHMARK(BM_StartEventToFirstBuffer)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

// What the UI thread pays to start a sound while the mixer's thread is busy mixing.
void BM_StartEventCallCost(benchmark::State& state)
{
    Mixer mixer(Mixer::Output::Device);
    auto sound = std::make_shared<DecodedSound>();
    sound->samples.assign(2000, 1);
    const Owner owner = Mixer::newOwner();
    SoundInfo info;
    info.syncNoMultiple = true;
    for (auto _ : state)
        mixer.startEvent(owner, 1, sound, info);
    mixer.stopOwner(owner);
}
BENCHMARK(BM_StartEventCallCost);

void BM_DecodeAdpcmSecond(benchmark::State& state)
{
    // One second of 22 kHz mono 4-bit ADPCM made of arbitrary codes.
    std::vector<uint8_t> data(2 + 22050 / 2);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 131 + 7);
    data[0] = 0x80;
    SoundFormat f;
    f.codec = int(Codec::Adpcm);
    f.rateCode = 2;
    for (auto _ : state) {
        auto sound = decodeSound(f, 22050, data);
        benchmark::DoNotOptimize(sound.ok());
    }
}
BENCHMARK(BM_DecodeAdpcmSecond)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
