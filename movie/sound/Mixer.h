#pragma once

#include "DecodedSound.h"
#include "SoundInfo.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace movie::sound {

class AudioThread;

// Identifies whoever started sounds (one per movie player), so that all of them can be
// stopped together.
using Owner = uint64_t;

struct StreamParams {
    double frameRate = 12.0;  // of the timeline the stream belongs to
};

// Where a stream's sound is relative to its timeline, as of the last mixed buffer.
struct StreamStatus {
    int shownFrame = -1;      // as last told by streamShowFrame, -1 before that
    double audioFrame = -1;   // the frame the sound being played belongs to (fractional)
    int64_t queuedFrames = 0;  // 44.1 kHz frames pushed but not yet played
    int64_t droppedFrames = 0;  // thrown away to catch up with the timeline
    int64_t paddedFrames = 0;   // silence played while waiting for the timeline or for data
};

// Mixes every sound of the program into 44.1 kHz, 16-bit stereo.
//
// Calls that start and stop sounds may come from any thread: they only queue a command under
// a short lock and return. Commands take effect at the start of the next mixed buffer, so a
// stop silences within one buffer. Mixing happens either on the mixer's own thread, which
// feeds the audio device (or, without one, keeps time and discards), or, for a mixer made
// without output, whenever render() is called.
//
// A movie player takes one owner from newOwner() and calls stopOwner() when it goes. Each
// DefineSound is decoded once (decodeSound) and the shared result kept with the movie;
// StartSound becomes startEvent, StopSounds stopAll. A timeline with a SoundStreamHead keeps
// a StreamDecoder and opens a stream; on entering a frame it pushes that frame's decoded
// block, and once the frame is on screen it calls streamShowFrame.
class Mixer {
public:
    enum class Output { None, Device };

    static constexpr int SampleRate = 44100;
    static constexpr int BufferFrames = 512;  // one mixed buffer, about 11.6 ms
    // Silence before a stream's sound when it starts (or starts again after a jump): 20 ms of
    // margin for the timeline's timer, within the one frame the stream may lag behind.
    static constexpr int StreamPrerollFrames = 882;

    explicit Mixer(Output output = Output::None);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // The program's mixer, playing to the default audio device. Made on first use; its
    // thread is stopped when the application object goes away.
    static Mixer& instance();
    static Owner newOwner();

    // Event sounds. A sound with syncStop stops the owner's voices of soundId instead.
    void startEvent(Owner owner, int soundId, SharedSound sound, const SoundInfo& info);
    void stopEvent(Owner owner, int soundId);
    // The StopSounds action: silences the owner's event sounds and streams. Streams stay
    // open and start again with the next pushed block.
    void stopAll(Owner owner);
    // For a player that goes away: forgets every voice and stream of the owner.
    void stopOwner(Owner owner);

    // Stream sound. Blocks are pushed as the timeline reaches their frame, decoded to 44.1 kHz
    // stereo; a block whose frame does not follow the previous one starts the stream anew.
    // streamShowFrame tells the frame on screen; the mixer drops or holds back sound so that
    // the stream stays within one frame of it.
    void streamOpen(Owner owner, int streamId, const StreamParams& params);
    void streamPush(Owner owner, int streamId, int frameIndex, std::vector<int16_t> samples);
    void streamShowFrame(Owner owner, int streamId, int frameIndex);
    void streamClose(Owner owner, int streamId);

    // As of the last mixed buffer; never waits for mixing.
    int playingCount(Owner owner) const;
    bool isPlaying(Owner owner, int soundId) const;
    std::optional<StreamStatus> streamStatus(Owner owner, int streamId) const;

    // Mixes the next frames into `out` (interleaved stereo; out.size() / 2 frames). For a
    // mixer without output this is the clock; with output only the mixer's thread calls it.
    void render(std::span<int16_t> out);
    std::vector<int16_t> render(int frames);

    // Whether an audio device is open and being fed (false before the thread has looked).
    bool hasDevice() const { return m_deviceOpen.load(); }
    // The device's buffer in frames, 0 without a device.
    int deviceBufferFrames() const { return m_deviceBufferFrames.load(); }
    int64_t renderedFrames() const { return m_renderedFrames.load(); }
    int64_t droppedCommands() const { return m_droppedCommands.load(); }

    // Called on the mixing thread with every buffer it mixes; for tools and benchmarks.
    void setMixObserver(std::function<void(std::span<const int16_t>)> observer);

    // Stops the mixer's thread; later commands are kept until render() (used at exit).
    void stopOutput();

private:
    friend class AudioThread;
    struct Command;
    struct Voice;
    struct Stream;
    struct Snapshot;

    void enqueue(Command&& command);
    void applyCommands();
    void apply(Command& command);
    void mixVoices(int32_t* accumulator, int frames);
    void mixStreams(int32_t* accumulator, int frames);
    void publish();
    Stream* findStream(Owner owner, int streamId);

    void setDeviceState(bool open, int bufferFrames);

    mutable std::mutex m_commandMutex;
    std::vector<Command> m_commands;  // guarded by m_commandMutex
    std::vector<Command> m_applying;  // mixing side only

    std::mutex m_mixMutex;  // one mixer at a time; only the mixing side takes it
    std::vector<Voice> m_voices;
    std::vector<std::unique_ptr<Stream>> m_streams;
    std::vector<int32_t> m_accumulator;
    std::function<void(std::span<const int16_t>)> m_observer;

    mutable std::mutex m_snapshotMutex;
    std::shared_ptr<const Snapshot> m_snapshot;  // guarded by m_snapshotMutex

    std::atomic<bool> m_deviceOpen{false};
    std::atomic<int> m_deviceBufferFrames{0};
    std::atomic<int64_t> m_renderedFrames{0};
    std::atomic<int64_t> m_droppedCommands{0};

    std::unique_ptr<AudioThread> m_thread;
};

} // namespace movie::sound
