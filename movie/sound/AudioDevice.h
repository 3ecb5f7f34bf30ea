#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace movie::sound {

// Where the mixer's thread sends its sound: 44.1 kHz interleaved stereo, 16 bits. Made, used
// and destroyed on the mixer's thread.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // The device's buffer, and the room in it now, in frames.
    virtual int bufferFrames() const = 0;
    virtual int framesFree() const = 0;
    virtual void write(std::span<const int16_t> samples) = 0;
    // Whether the device has stopped for good (unplugged, its sound server gone); `code`
    // then says why, in the audio library's terms.
    virtual bool hasFailed(int& code) const = 0;
};

// Opens the device to play on; null when there is none.
using AudioDeviceOpener = std::function<std::unique_ptr<AudioDevice>()>;

// The system's default audio output, or null when there is none or it refuses the format.
std::unique_ptr<AudioDevice> openDefaultAudioDevice();

} // namespace movie::sound
