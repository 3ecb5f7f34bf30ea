#include "AudioThread.h"

#include "Mixer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <vector>

namespace movie::sound {

namespace {

constexpr int BytesPerFrame = 4;
constexpr int MinWriteFrames = 64;  // smaller writes cost more than they gain in latency

class SinkDevice : public AudioDevice {
public:
    SinkDevice(std::unique_ptr<QAudioSink> sink, QIODevice* io) : m_sink(std::move(sink)), m_io(io) {}
    ~SinkDevice() override { m_sink->stop(); }
    int bufferFrames() const override { return int(m_sink->bufferSize() / BytesPerFrame); }
    int framesFree() const override { return int(m_sink->bytesFree() / BytesPerFrame); }
    void write(std::span<const int16_t> samples) override
    {
        m_io->write(reinterpret_cast<const char*>(samples.data()), qint64(samples.size_bytes()));
    }
    bool hasFailed(int& code) const override
    {
        code = int(m_sink->error());
        return m_sink->state() == QAudio::StoppedState && m_sink->error() != QAudio::NoError
            && m_sink->error() != QAudio::UnderrunError;
    }

private:
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_io;
};

} // namespace

std::unique_ptr<AudioDevice> openDefaultAudioDevice()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    QAudioFormat format;
    format.setSampleRate(OutputRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return nullptr;
    auto sink = std::make_unique<QAudioSink>(device, format);
    sink->setBufferSize(Mixer::BufferFrames * AudioThread::DeviceBuffers * BytesPerFrame);
    QIODevice* io = sink->start();
    if (!io || sink->error() != QAudio::NoError)
        return nullptr;
    return std::make_unique<SinkDevice>(std::move(sink), io);
}

AudioThread::AudioThread(Mixer& mixer, AudioDeviceOpener open) : m_mixer(mixer), m_open(std::move(open))
{
    setObjectName(QStringLiteral("sound mixer"));
}

AudioThread::~AudioThread()
{
    quit();
    wait();
    (void)m_ran.load(std::memory_order_acquire);
}

void AudioThread::wakeUp()
{
    // The context is only cleared as run() ends, which the mixer's thread lock keeps from
    // happening while this runs; a call still queued then is dropped with the context.
    if (QObject* context = m_context.load())
        QMetaObject::invokeMethod(context, [this] { if (m_wake) m_wake(); }, Qt::QueuedConnection);
}

void AudioThread::run()
{
    std::unique_ptr<AudioDevice> device = m_open ? m_open() : nullptr;
    m_mixer.setDeviceState(device != nullptr, device ? device->bufferFrames() : 0);

    std::vector<int16_t> buffer(size_t(Mixer::BufferFrames) * 2);
    QElapsedTimer clock;
    clock.start();
    int64_t clockFrames = 0;

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(device ? TickMs : KeepTimeTickMs);
    QElapsedTimer quiet;  // how long nothing has sounded
    quiet.start();
    // Sleeps once the mixer has been silent long enough. The flag is raised before the last
    // look for commands, and a caller queues its command before it reads the flag: either
    // the command is seen here, or its caller finds the thread asleep and wakes it.
    auto maybeSleep = [&] {
        if (m_mixer.isSounding()) {
            quiet.restart();
            return false;
        }
        if (quiet.elapsed() < IdleBeforeSleepMs)
            return false;
        m_mixer.m_outputAsleep.store(true);
        if (m_mixer.hasQueuedCommands()) {
            m_mixer.m_outputAsleep.store(false);
            quiet.restart();
            return false;
        }
        timer.stop();
        return true;
    };
    m_wake = [&] {
        if (timer.isActive())
            return;
        quiet.restart();
        // Time slept is not made up: the clock starts again from now.
        clock.restart();
        clockFrames = 0;
        timer.start();
    };
    QObject context;
    m_context.store(&context);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (maybeSleep())
            return;
        if (device) {
            int error = 0;
            if (!device->hasFailed(error)) {
                // Fill the device's buffer right up: a device that waits for a full buffer
                // before it starts would otherwise wait for ever on a partial one.
                for (int i = 0; i < 8; ++i) {
                    const int room = device->framesFree();
                    if (room < MinWriteFrames)
                        break;
                    const auto frames = size_t(std::min(room, Mixer::BufferFrames));
                    const std::span<int16_t> piece(buffer.data(), frames * 2);
                    m_mixer.render(piece);
                    device->write(piece);
                }
                return;
            }
            // The device went away: go on without it, keeping time.
            std::fprintf(stderr, "sound: the audio device stopped (error %d); going on without sound\n", error);
            device.reset();
            m_mixer.setDeviceState(false, 0);
            timer.setInterval(KeepTimeTickMs);
            clock.restart();
            clockFrames = 0;
        }
        const int64_t due = clock.nsecsElapsed() * OutputRate / 1000000000;
        // After a long stall the lost time is not made up in a rush.
        clockFrames = std::max(clockFrames, due - OutputRate / 4);
        while (due - clockFrames >= Mixer::BufferFrames) {
            m_mixer.render(buffer);
            clockFrames += Mixer::BufferFrames;
        }
    });
    timer.start();
    exec();
    m_context.store(nullptr);
    m_wake = nullptr;
    timer.stop();
    device.reset();
    m_ran.store(true, std::memory_order_release);
}

} // namespace movie::sound
