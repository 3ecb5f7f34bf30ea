#pragma once

#include "Movie.h"
#include "sound/DecodedSound.h"
#include "sound/Mixer.h"
#include "sound/StreamDecoder.h"

#include <map>
#include <memory>

namespace movie {

// The sound of one running movie: turns the sound events of the frames it shows into mixer
// commands under an owner of its own, so that everything it started stops together.
class MovieSound {
public:
    MovieSound(sound::Mixer& mixer, std::shared_ptr<const MovieData> data);
    ~MovieSound();
    MovieSound(const MovieSound&) = delete;
    MovieSound& operator=(const MovieSound&) = delete;

    // After a frame has been run and shown: starts its event sounds, feeds its stream blocks
    // and tells each stream which frame is on screen.
    void frameShown(Movie::SoundEvents events);
    // Silences everything at once (the player goes away, or its movie restarts).
    void stop();

    sound::Owner owner() const { return m_owner; }

private:
    sound::SharedSound decoded(uint16_t soundId);
    struct Stream {
        int id = 0;
        std::unique_ptr<sound::StreamDecoder> decoder;
        int sequence = -1;  // the number the mixer knows the last frame by
    };
    Stream* streamFor(const PlayContext::StreamBlock& block);

    sound::Mixer& m_mixer;
    std::shared_ptr<const MovieData> m_data;
    sound::Owner m_owner;
    std::map<uint16_t, sound::SharedSound> m_sounds;
    std::map<uint64_t, Stream> m_streams; // by timeline serial
    int m_nextStream = 1;
};

} // namespace movie
