#pragma once

#include <QThread>

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
};

} // namespace movie::sound
