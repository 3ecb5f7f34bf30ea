#include "Mixer.h"

#include "AudioThread.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace movie::sound {

namespace {

// Beyond these the oldest voice goes, or new commands are refused: a movie that misbehaves
// must not make mixing (or memory) grow without end.
constexpr size_t MaxVoices = 128;
constexpr size_t MaxStreams = 64;
constexpr size_t MaxQueuedCommands = 1 << 16;
constexpr int64_t MaxStreamQueueFrames = int64_t(OutputRate) * 10;
// Room made for each stream's queue when it opens: far more than the frame or two a stream
// runs ahead of the timeline, so that the queue does not grow while mixing.
constexpr size_t StreamReserveFrames = OutputRate;

// Removes the slots `gone` picks from the first `count`, keeping the others in order, and
// returns how many are left. Slots are only swapped, so nothing is freed: a removed slot
// keeps what it held until it is taken again.
template <typename Slot, typename Predicate>
size_t keepInOrder(std::vector<Slot>& pool, size_t count, Predicate gone)
{
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i) {
        if (gone(pool[i]))
            continue;
        if (i != kept)
            std::swap(pool[i], pool[kept]);
        ++kept;
    }
    return kept;
}

} // namespace

struct Mixer::Command {
    enum class Type { Start, StopEvent, StopAll, StopOwner, StreamOpen, StreamPush, StreamShow, StreamClose };
    Type type = Type::Start;
    Owner owner = 0;
    int id = 0;
    int frame = 0;
    SharedSound sound;
    SoundInfo info;
    StreamParams params;
    std::vector<int16_t> samples;
};

struct Mixer::Voice {
    Owner owner = 0;
    int soundId = 0;
    SharedSound sound;
    std::vector<SoundInfo::EnvelopePoint> envelope;
    size_t envelopeCursor = 0;
    int64_t begin = 0, end = 0, position = 0;
    int64_t envelopePosition = 0;  // in point plus frames played, through loops
    int loopsLeft = 1;
    bool done = false;
};

struct Mixer::Stream {
    Owner owner = 0;
    int id = 0;
    double samplesPerFrame = double(OutputRate) / 12.0;
    std::vector<int16_t> fifo;
    size_t readIndex = 0;  // in samples
    int originFrame = -1, lastPushed = -1, shownFrame = -1;
    int64_t written = 0, consumed = 0;  // frames from the origin frame's start
    int64_t dropped = 0, padded = 0;
    int64_t preroll = 0;  // silence still to play before a fresh start's first sound

    int64_t queued() const { return int64_t(fifo.size() - readIndex) / 2; }

    // A slot taken for a new stream: everything but the queue's room starts afresh.
    void reset(Owner newOwner, int newId)
    {
        owner = newOwner;
        id = newId;
        samplesPerFrame = double(OutputRate) / 12.0;
        dropped = padded = 0;
        restart();
    }

    void restart()
    {
        fifo.clear();
        readIndex = 0;
        originFrame = lastPushed = shownFrame = -1;
        written = consumed = 0;
        preroll = 0;
    }

    void discard(int64_t frames)
    {
        readIndex += size_t(std::min(frames, queued())) * 2;
        if (readIndex == fifo.size()) {
            fifo.clear();
            readIndex = 0;
        } else if (readIndex > 65536 && readIndex * 2 > fifo.size()) {
            fifo.erase(fifo.begin(), fifo.begin() + ptrdiff_t(readIndex));
            readIndex = 0;
        }
    }

    StreamStatus status() const
    {
        StreamStatus s;
        s.shownFrame = shownFrame;
        s.audioFrame = originFrame < 0 ? -1.0 : originFrame + double(consumed) / samplesPerFrame;
        s.queuedFrames = queued();
        s.droppedFrames = dropped;
        s.paddedFrames = padded;
        return s;
    }
};

struct Mixer::Snapshot {
    Snapshot()
    {
        voices.reserve(MaxVoices);
        streams.reserve(MaxStreams);
    }
    std::vector<std::pair<Owner, int>> voices;
    std::vector<std::tuple<Owner, int, StreamStatus>> streams;
};

Mixer::Mixer(Output output) : Mixer(output == Output::Device ? AudioDeviceOpener(&openDefaultAudioDevice) : nullptr) {}

Mixer::Mixer(AudioDeviceOpener open)
    : m_voices(MaxVoices), m_streams(MaxStreams), m_nextSnapshot(std::make_unique<Snapshot>()),
      m_snapshot(std::make_unique<Snapshot>())
{
    m_accumulator.reserve(size_t(BufferFrames) * 2);
    if (open) {
        m_thread = std::make_unique<AudioThread>(*this, std::move(open));
        m_thread->start();
    }
}

Mixer::~Mixer()
{
    stopOutput();
}

Owner Mixer::newOwner()
{
    static std::atomic<Owner> next{1};
    return next.fetch_add(1);
}

void Mixer::stopOutput()
{
    // Held while the thread ends, so that no caller returns while it still mixes.
    std::lock_guard lock(m_threadMutex);
    m_thread.reset();
    m_outputAsleep = false;
    setDeviceState(false, 0);
}

void Mixer::setDeviceState(bool open, int bufferFrames)
{
    m_deviceOpen = open;
    m_deviceBufferFrames = bufferFrames;
}

void Mixer::enqueue(Command&& command)
{
    {
        // Commands mixing is done with are freed here, on the caller's thread, once unlocked.
        std::vector<Command> applied;
        std::lock_guard lock(m_commandMutex);
        applied.swap(m_applied);
        if (m_commands.size() >= MaxQueuedCommands) {
            ++m_droppedCommands;
            return;
        }
        m_commands.push_back(std::move(command));
    }
    // A sleeping thread is woken by the first command after it fell asleep.
    if (m_outputAsleep.exchange(false)) {
        std::lock_guard lock(m_threadMutex);
        if (m_thread)
            m_thread->wakeUp();
    }
}

bool Mixer::hasQueuedCommands() const
{
    std::lock_guard lock(m_commandMutex);
    return !m_commands.empty();
}

void Mixer::startEvent(Owner owner, int soundId, SharedSound sound, const SoundInfo& info)
{
    Command c;
    c.type = Command::Type::Start;
    c.owner = owner;
    c.id = soundId;
    c.sound = std::move(sound);
    c.info = info;
    // Sorted here rather than while mixing, where sorting would allocate.
    std::stable_sort(c.info.envelope.begin(), c.info.envelope.end(),
                     [](const auto& a, const auto& b) { return a.position44 < b.position44; });
    enqueue(std::move(c));
}

void Mixer::stopEvent(Owner owner, int soundId)
{
    Command c;
    c.type = Command::Type::StopEvent;
    c.owner = owner;
    c.id = soundId;
    enqueue(std::move(c));
}

void Mixer::stopAll(Owner owner)
{
    Command c;
    c.type = Command::Type::StopAll;
    c.owner = owner;
    enqueue(std::move(c));
}

void Mixer::stopOwner(Owner owner)
{
    Command c;
    c.type = Command::Type::StopOwner;
    c.owner = owner;
    enqueue(std::move(c));
}

void Mixer::streamOpen(Owner owner, int streamId, const StreamParams& params)
{
    Command c;
    c.type = Command::Type::StreamOpen;
    c.owner = owner;
    c.id = streamId;
    c.params = params;
    c.samples.reserve(StreamReserveFrames * 2);  // becomes the stream's queue
    enqueue(std::move(c));
}

void Mixer::streamPush(Owner owner, int streamId, int frameIndex, std::vector<int16_t> samples)
{
    Command c;
    c.type = Command::Type::StreamPush;
    c.owner = owner;
    c.id = streamId;
    c.frame = frameIndex;
    c.samples = std::move(samples);
    enqueue(std::move(c));
}

void Mixer::streamShowFrame(Owner owner, int streamId, int frameIndex)
{
    Command c;
    c.type = Command::Type::StreamShow;
    c.owner = owner;
    c.id = streamId;
    c.frame = frameIndex;
    enqueue(std::move(c));
}

void Mixer::streamClose(Owner owner, int streamId)
{
    Command c;
    c.type = Command::Type::StreamClose;
    c.owner = owner;
    c.id = streamId;
    enqueue(std::move(c));
}

int Mixer::playingCount(Owner owner) const
{
    std::lock_guard lock(m_snapshotMutex);
    return int(std::count_if(m_snapshot->voices.begin(), m_snapshot->voices.end(),
                             [owner](const auto& v) { return v.first == owner; }));
}

bool Mixer::isPlaying(Owner owner, int soundId) const
{
    std::lock_guard lock(m_snapshotMutex);
    return std::find(m_snapshot->voices.begin(), m_snapshot->voices.end(),
                     std::pair<Owner, int>(owner, soundId))
        != m_snapshot->voices.end();
}

std::optional<StreamStatus> Mixer::streamStatus(Owner owner, int streamId) const
{
    std::lock_guard lock(m_snapshotMutex);
    for (const auto& [o, id, status] : m_snapshot->streams) {
        if (o == owner && id == streamId)
            return status;
    }
    return std::nullopt;
}

void Mixer::setMixObserver(MixObserver observer)
{
    auto next = observer ? std::make_shared<const MixObserver>(std::move(observer)) : nullptr;
    std::shared_ptr<const MixObserver> previous;  // let go of after unlocking
    std::lock_guard lock(m_observerMutex);
    previous = std::exchange(m_observer, std::move(next));
}

Mixer::Stream* Mixer::findStream(Owner owner, int streamId)
{
    for (size_t i = 0; i < m_streamCount; ++i) {
        if (m_streams[i].owner == owner && m_streams[i].id == streamId)
            return &m_streams[i];
    }
    return nullptr;
}

void Mixer::applyCommands()
{
    bool taken = false;
    {
        std::lock_guard lock(m_commandMutex);
        // The last batch goes back unless the one before is still there; it always is gone
        // by the time new commands wait, since queueing one takes it.
        if (m_applied.empty())
            std::swap(m_applied, m_applying);
        if (m_applying.empty()) {
            std::swap(m_applying, m_commands);
            taken = true;
        }
    }
    if (taken) {
        for (Command& c : m_applying)
            apply(c);
    }
}

Mixer::Voice& Mixer::takeVoiceSlot()
{
    if (m_voiceCount >= MaxVoices) {
        // The oldest voice goes: its slot moves to the end and is taken.
        for (size_t i = 1; i < m_voiceCount; ++i)
            std::swap(m_voices[i - 1], m_voices[i]);
        --m_voiceCount;
    }
    return m_voices[m_voiceCount++];
}

// What a command carries and mixing does not keep stays in it, and is freed with it by a
// caller of enqueue().
void Mixer::apply(Command& c)
{
    const auto ofOwner = [&c](const Voice& v) { return v.owner == c.owner; };
    const auto ofSound = [&c](const Voice& v) { return v.owner == c.owner && v.soundId == c.id; };
    switch (c.type) {
    case Command::Type::Start: {
        if (c.info.syncStop) {
            m_voiceCount = keepInOrder(m_voices, m_voiceCount, ofSound);
            return;
        }
        if (!c.sound || c.sound->frames() == 0)
            return;
        const auto playing = std::span(m_voices).first(m_voiceCount);
        if (c.info.syncNoMultiple && std::any_of(playing.begin(), playing.end(), ofSound))
            return;
        const int64_t frames = c.sound->frames();
        const int64_t begin = std::min<int64_t>(c.info.inPoint.value_or(0), frames);
        const int64_t end = c.info.outPoint ? std::clamp<int64_t>(*c.info.outPoint, begin, frames) : frames;
        if (end <= begin)
            return;
        Voice& v = takeVoiceSlot();
        v.owner = c.owner;
        v.soundId = c.id;
        v.begin = begin;
        v.end = end;
        v.position = begin;
        v.envelopePosition = begin;
        v.envelopeCursor = 0;
        v.loopsLeft = std::max(1, c.info.loopCount);
        v.done = false;
        // The slot's previous sound and envelope go back in the command.
        std::swap(v.envelope, c.info.envelope);
        std::swap(v.sound, c.sound);
        return;
    }
    case Command::Type::StopEvent:
        m_voiceCount = keepInOrder(m_voices, m_voiceCount, ofSound);
        return;
    case Command::Type::StopAll:
        m_voiceCount = keepInOrder(m_voices, m_voiceCount, ofOwner);
        for (size_t i = 0; i < m_streamCount; ++i) {
            if (m_streams[i].owner == c.owner)
                m_streams[i].restart();
        }
        return;
    case Command::Type::StopOwner:
        m_voiceCount = keepInOrder(m_voices, m_voiceCount, ofOwner);
        m_streamCount = keepInOrder(m_streams, m_streamCount,
                                    [&c](const Stream& s) { return s.owner == c.owner; });
        return;
    case Command::Type::StreamOpen: {
        Stream* s = findStream(c.owner, c.id);
        if (s) {
            s->restart();
        } else {
            if (m_streamCount >= MaxStreams)
                return;
            s = &m_streams[m_streamCount++];
            s->reset(c.owner, c.id);
        }
        // The room the caller made for the queue, unless the slot already has as much.
        if (s->fifo.capacity() < c.samples.capacity())
            std::swap(s->fifo, c.samples);
        const double rate = std::isfinite(c.params.frameRate) ? c.params.frameRate : 12.0;
        s->samplesPerFrame = double(OutputRate) / std::clamp(rate, 0.25, 120.0);
        return;
    }
    case Command::Type::StreamPush: {
        Stream* s = findStream(c.owner, c.id);
        if (!s)
            return;
        // Anything but the same or the next frame, or a frame before the one on screen, is a
        // jump of the timeline: the stream starts again there.
        if (s->originFrame < 0
            || (c.frame != s->lastPushed && int64_t(c.frame) != int64_t(s->lastPushed) + 1)
            || c.frame < s->shownFrame) {
            s->restart();
            s->originFrame = c.frame;
            s->preroll = StreamPrerollFrames;
        }
        s->lastPushed = c.frame;
        const int64_t frames = int64_t(c.samples.size() / 2);
        // Sound for a time already passed (after catching up with the timeline) is skipped.
        const int64_t late = std::clamp<int64_t>(s->consumed - s->written, 0, frames);
        // Room is made by dropping what has been played before the queue is let grow.
        if (s->fifo.size() + size_t(frames - late) * 2 > s->fifo.capacity() && s->readIndex > 0) {
            s->fifo.erase(s->fifo.begin(), s->fifo.begin() + ptrdiff_t(s->readIndex));
            s->readIndex = 0;
        }
        s->fifo.insert(s->fifo.end(), c.samples.begin() + ptrdiff_t(late * 2),
                       c.samples.begin() + ptrdiff_t(frames * 2));
        s->written += frames;
        if (s->queued() > MaxStreamQueueFrames) {
            const int64_t excess = s->queued() - MaxStreamQueueFrames;
            s->discard(excess);
            s->consumed += excess;
            s->dropped += excess;
        }
        return;
    }
    case Command::Type::StreamShow:
        if (Stream* s = findStream(c.owner, c.id)) {
            // Going back without a block for the new frame: what is queued belongs to frames
            // that are no longer coming.
            if (c.frame < s->shownFrame)
                s->restart();
            else if (s->originFrame >= 0)
                s->shownFrame = c.frame;
        }
        return;
    case Command::Type::StreamClose:
        m_streamCount = keepInOrder(m_streams, m_streamCount, [&c](const Stream& s) {
            return s.owner == c.owner && s.id == c.id;
        });
        return;
    }
}

namespace {

// Envelope level (0..32768) for one channel at a position.
int envelopeLevel(const std::vector<SoundInfo::EnvelopePoint>& points, size_t cursor,
                  int64_t position, bool right)
{
    const auto level = [right](const SoundInfo::EnvelopePoint& p) {
        return std::min<int>(right ? p.right : p.left, 32768);
    };
    const auto& a = points[cursor];
    if (position <= int64_t(a.position44) || cursor + 1 >= points.size())
        return level(a);
    const auto& b = points[cursor + 1];
    const int64_t span = int64_t(b.position44) - int64_t(a.position44);
    if (span <= 0)
        return level(b);
    const int64_t t = std::min<int64_t>(position - int64_t(a.position44), span);
    return int(level(a) + (int64_t(level(b) - level(a)) * t) / span);
}

} // namespace

void Mixer::mixVoices(int32_t* acc, int frames)
{
    for (Voice& v : std::span(m_voices).first(m_voiceCount)) {
        const int16_t* data = v.sound->samples.data();
        int done = 0;
        while (done < frames && !v.done) {
            const int n = int(std::min<int64_t>(v.end - v.position, frames - done));
            const int16_t* in = data + v.position * 2;
            int32_t* out = acc + done * 2;
            if (v.envelope.empty()) {
                for (int i = 0; i < n * 2; ++i)
                    out[i] += in[i];
            } else {
                for (int i = 0; i < n; ++i) {
                    const int64_t p = v.envelopePosition + i;
                    while (v.envelopeCursor + 1 < v.envelope.size()
                           && p >= int64_t(v.envelope[v.envelopeCursor + 1].position44))
                        ++v.envelopeCursor;
                    const int left = envelopeLevel(v.envelope, v.envelopeCursor, p, false);
                    const int right = envelopeLevel(v.envelope, v.envelopeCursor, p, true);
                    out[i * 2] += (in[i * 2] * left) >> 15;
                    out[i * 2 + 1] += (in[i * 2 + 1] * right) >> 15;
                }
            }
            v.position += n;
            v.envelopePosition += n;
            done += n;
            if (v.position >= v.end) {
                if (--v.loopsLeft > 0)
                    v.position = v.begin;
                else
                    v.done = true;
            }
        }
    }
    m_voiceCount = keepInOrder(m_voices, m_voiceCount, [](const Voice& v) { return v.done; });
}

void Mixer::mixStreams(int32_t* acc, int frames)
{
    for (Stream& s : std::span(m_streams).first(m_streamCount)) {
        if (s.originFrame < 0 || s.shownFrame < 0)
            continue;
        const int64_t frameLength = std::llround(s.samplesPerFrame);
        const int64_t target
            = std::llround(double(int64_t(s.shownFrame) - s.originFrame) * s.samplesPerFrame);
        // More than a frame behind the timeline: skip ahead to the frame on screen.
        if (s.consumed < target - frameLength) {
            const int64_t behind = target - s.consumed;
            s.discard(behind);
            s.consumed = target;
            s.dropped += behind;
        }
        // A fresh start waits a moment, so that the next frame's sound is there before this
        // frame's has been played even when the timeline's timer runs a little late.
        const int64_t wait = std::min<int64_t>(s.preroll, frames);
        s.preroll -= wait;
        // At most a frame past the end of the frame on screen; then wait for the timeline.
        const int64_t allowed = std::clamp<int64_t>(target + 2 * frameLength - s.consumed, 0, frames - wait);
        const int64_t play = std::min(allowed, s.queued());
        const int16_t* in = s.fifo.data() + s.readIndex;
        int32_t* out = acc + wait * 2;
        for (int64_t i = 0; i < play * 2; ++i)
            out[i] += in[i];
        s.discard(play);
        s.consumed += play;
        s.padded += frames - play;
    }
}

void Mixer::publish()
{
    // Both snapshots have room for every voice and stream; the full one is swapped in.
    Snapshot& next = *m_nextSnapshot;
    next.voices.clear();
    next.streams.clear();
    for (const Voice& v : std::span(m_voices).first(m_voiceCount))
        next.voices.emplace_back(v.owner, v.soundId);
    for (const Stream& s : std::span(m_streams).first(m_streamCount))
        next.streams.emplace_back(s.owner, s.id, s.status());
    std::lock_guard lock(m_snapshotMutex);
    std::swap(m_snapshot, m_nextSnapshot);
}

void Mixer::render(std::span<int16_t> out)
{
    const int frames = int(out.size() / 2);
    {
        std::lock_guard lock(m_mixMutex);
        applyCommands();
        m_accumulator.assign(size_t(frames) * 2, 0);
        mixVoices(m_accumulator.data(), frames);
        mixStreams(m_accumulator.data(), frames);
        for (size_t i = 0; i < size_t(frames) * 2; ++i)
            out[i] = int16_t(std::clamp<int32_t>(m_accumulator[i], -32768, 32767));
        m_renderedFrames += frames;
        // An open stream with nothing queued is silent; its next block comes as a command.
        m_sounding = m_voiceCount > 0
            || std::any_of(m_streams.begin(), m_streams.begin() + ptrdiff_t(m_streamCount),
                           [](const Stream& st) { return st.queued() > 0; });
        publish();
    }
    // The observer runs with no lock held, so that it may take locks of its own.
    std::shared_ptr<const MixObserver> observer;
    {
        std::lock_guard lock(m_observerMutex);
        observer = m_observer;
    }
    if (observer)
        (*observer)(out.first(size_t(frames) * 2));
}

std::vector<int16_t> Mixer::render(int frames)
{
    std::vector<int16_t> out(size_t(std::max(frames, 0)) * 2);
    render(out);
    return out;
}

} // namespace movie::sound
