#pragma once

#include "AudioDevice.h"

#include <QThread>

#include <atomic>
#include <functional>

namespace movie::sound {

class Mixer;

// The mixer's own thread. It opens its audio device and keeps it fed; without a device (or
// when the device fails) it keeps the mixer's time running and discards the sound,
// so that nothing waits for an audio device that is not there. Once nothing has sounded for a
// while it sleeps, waking no more until a command arrives: a program showing still screens or
// silent animations costs nothing on this thread.
class AudioThread : public QThread {
public:
    AudioThread(Mixer& mixer, AudioDeviceOpener open);
    ~AudioThread() override;

    static constexpr int TickMs = 5;
    // Without a device nothing is heard, and keeping time needs fewer wake-ups: a quarter of
    // a frame at the usual 12 to 15 frames a second.
    static constexpr int KeepTimeTickMs = 20;
    static constexpr int DeviceBuffers = 3;  // mixed buffers the device may hold
    // Silence kept up before the thread sleeps, so that the gaps between sounds do not make
    // it sleep and wake again and again.
    static constexpr int IdleBeforeSleepMs = 500;

    // Wakes the sleeping thread. The mixer calls it under its thread lock, after it queued a
    // command and found the thread asleep.
    void wakeUp();

protected:
    void run() override;

private:
    Mixer& m_mixer;
    AudioDeviceOpener m_open;
    // Set as run() returns and read after wait(): orders everything run() did before what
    // follows the wait in plain C++ terms (QThread's own hand-over goes through a lock of Qt's
    // that race checkers do not see).
    std::atomic<bool> m_ran{false};
    // Lives on the thread while it runs: a wake is a call queued to it, which runs m_wake
    // there. Both are set and cleared by run().
    std::atomic<QObject*> m_context{nullptr};
    std::function<void()> m_wake;
};

} // namespace movie::sound
