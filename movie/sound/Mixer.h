#pragma once

#include "AudioDevice.h"
#include "DecodedSound.h"
#include "SoundFormat.h"
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
// Every public method may be called from any thread. Calls that start and stop sounds only
// queue a command under a short lock and return. Commands take effect at the start of the
// next mixed buffer, so a stop silences within one buffer. Mixing happens either on the
// mixer's own thread, which feeds the audio device (or, without one, keeps time and
// discards), or, for a mixer made without output, whenever render() is called.
//
// Mixing neither allocates nor frees memory once it runs, so the audio thread never waits on
// the allocator: voices and streams live in slots made up front, the state the queries read
// is double-buffered, and whatever mixing lets go of (applied commands, with the sounds and
// sample blocks they carried) is handed back and freed by the next thread that queues a
// command. A stopped voice's sound is released when its slot is taken again. The one
// exception is a stream queue that outgrows the second of sound reserved for it, which only
// a stalled timeline or mixer causes.
//
// A movie player takes one owner from newOwner() and calls stopOwner() when it goes. Each
// DefineSound is decoded once (decodeSound) and the shared result kept with the movie;
// StartSound becomes startEvent, StopSounds stopAll. A timeline with a SoundStreamHead keeps
// a StreamDecoder and opens a stream; on entering a frame it pushes that frame's decoded
// block, and once the frame is on screen it calls streamShowFrame.
class Mixer {
public:
    enum class Output { None, Device };

    static constexpr int BufferFrames = 512;  // one mixed buffer, about 11.6 ms
    // Silence before a stream's sound when it starts (or starts again after a jump): 20 ms of
    // margin for the timeline's timer, within the one frame the stream may lag behind.
    static constexpr int StreamPrerollFrames = 882;

    explicit Mixer(Output output = Output::None);
    // A mixer whose thread plays on the device `open` gives (the default output for
    // Output::Device); for tests of devices that fail.
    explicit Mixer(AudioDeviceOpener open);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // The program makes one mixer with Output::Device and hands it to whatever plays sound;
    // tools and tests make their own. A device mixer must go before the application object.
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

    // Whether a voice played, or a stream had sound queued, at the last mixed buffer.
    bool isSounding() const { return m_sounding.load(); }
    // Whether the mixer's thread sleeps because nothing sounds (it wakes with a command).
    bool isOutputAsleep() const { return m_outputAsleep.load(); }

    // Whether an audio device is open and being fed (false before the thread has looked).
    bool hasDevice() const { return m_deviceOpen.load(); }
    // The device's buffer in frames, 0 without a device.
    int deviceBufferFrames() const { return m_deviceBufferFrames.load(); }
    int64_t renderedFrames() const { return m_renderedFrames.load(); }
    int64_t droppedCommands() const { return m_droppedCommands.load(); }

    // Called on the mixing thread with every buffer it mixes, after mixing and without any of
    // the mixer's locks held; for tools and benchmarks. A call to the previous observer may
    // still be under way when this returns: what an observer refers to must outlive the
    // mixer's output (stopOutput) or the mixer.
    using MixObserver = std::function<void(std::span<const int16_t>)>;
    void setMixObserver(MixObserver observer);

    // Stops the mixer's thread and waits for it; later commands are kept until render().
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
    Voice& takeVoiceSlot();
    void mixVoices(int32_t* accumulator, int frames);
    void mixStreams(int32_t* accumulator, int frames);
    void publish();
    Stream* findStream(Owner owner, int streamId);

    void setDeviceState(bool open, int bufferFrames);
    bool hasQueuedCommands() const;

    // Commands pass from callers to mixing and back: queued in m_commands, taken whole into
    // m_applying, applied, and at the next buffer handed to m_applied, which the next caller
    // of enqueue() takes and frees. The mixing side only ever swaps these vectors.
    mutable std::mutex m_commandMutex;
    std::vector<Command> m_commands;  // guarded by m_commandMutex
    std::vector<Command> m_applied;   // guarded by m_commandMutex
    std::vector<Command> m_applying;  // mixing side; swapped under m_commandMutex

    std::mutex m_mixMutex;  // one mixer at a time; only the mixing side takes it
    // Slots made up front: the first m_voiceCount voices play, oldest first; the others wait
    // to be taken again. Likewise for streams.
    std::vector<Voice> m_voices;
    size_t m_voiceCount = 0;
    std::vector<Stream> m_streams;
    size_t m_streamCount = 0;
    std::vector<int32_t> m_accumulator;
    std::unique_ptr<Snapshot> m_nextSnapshot;  // filled by the mixing side, then swapped in

    mutable std::mutex m_snapshotMutex;
    std::unique_ptr<Snapshot> m_snapshot;  // guarded by m_snapshotMutex

    mutable std::mutex m_observerMutex;
    std::shared_ptr<const MixObserver> m_observer;  // guarded by m_observerMutex

    std::atomic<bool> m_deviceOpen{false};
    std::atomic<int> m_deviceBufferFrames{0};
    std::atomic<int64_t> m_renderedFrames{0};
    std::atomic<int64_t> m_droppedCommands{0};
    std::atomic<bool> m_sounding{false};
    std::atomic<bool> m_outputAsleep{false};  // raised by the thread, lowered by whoever wakes it

    std::mutex m_threadMutex;
    std::unique_ptr<AudioThread> m_thread;  // guarded by m_threadMutex
};

} // namespace movie::sound
