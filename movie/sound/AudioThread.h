#pragma once

#include <QThread>

#include <atomic>

namespace movie::sound {

class Mixer;

// The mixer's own thread. It opens the default audio device and keeps it fed; without a
// device (or when the device fails) it keeps the mixer's time running and discards the sound,
// so that nothing waits for an audio device that is not there.
class AudioThread : public QThread {
public:
    explicit AudioThread(Mixer& mixer);
    ~AudioThread() override;

    static constexpr int TickMs = 5;
    static constexpr int DeviceBuffers = 3;  // mixed buffers the device may hold

protected:
    void run() override;

private:
    Mixer& m_mixer;
    // Set as run() returns and read after wait(): orders everything run() did before what
    // follows the wait in plain C++ terms (QThread's own hand-over goes through a lock of Qt's
    // that race checkers do not see).
    std::atomic<bool> m_ran{false};
};

} // namespace movie::sound
