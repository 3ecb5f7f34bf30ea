#pragma once

#include "MovieData.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace movie {

class Timeline;

// State shared by every timeline of one running movie: the dictionary, the queue of action
// blocks to run after a frame advance, and the budgets that bound each frame's work.
struct PlayContext {
    static constexpr int MaxNesting = 24;
    static constexpr int MaxObjects = 50000;
    static constexpr int MaxActionsPerTick = 4096;
    // Placement commands applied in one tick before further actions are dropped: jumping
    // back replays frames, and scripted jumps could otherwise repeat that without end.
    static constexpr int MaxCommandsPerTick = 200000;
    // Objects created in one tick. Live objects are capped too, but a sprite that keeps
    // replacing a copy of itself creates and drops whole trees without ever holding many.
    static constexpr int MaxCreatedPerTick = 20000;

    const MovieData* movie = nullptr;
    Rgba background{255, 255, 255, 255};
    int objects = 0;
    uint64_t tick = 0;
    int commandsThisTick = 0;
    int createdThisTick = 0;
    bool pictureChanged = false;  // a display list changed during this tick
    uint64_t nextSerial = 1;
    std::unordered_map<const Timeline*, uint64_t> alive;

    struct QueuedActions {
        Timeline* timeline;
        uint64_t serial;
        const std::vector<Action>* actions;
    };
    std::vector<QueuedActions> queue;

    // Sound events of the frames entered since the owner last took them; bounded so an
    // owner that never takes them costs nothing much.
    static constexpr size_t MaxPendingSounds = 256;
    std::vector<const StartSound*> startedSounds;
    // A stream block with the timeline it belongs to (its serial, unique for the movie's
    // life, and its data, which holds the stream's head) and that timeline's frame.
    struct StreamBlock {
        uint64_t timeline = 0;
        const TimelineData* data = nullptr;
        int frame = 0;
        const QByteArray* block = nullptr;
        // Reached by playing on from the frame before (the loop back to the first frame
        // included), not by a jump: its sound carries straight on from the last block's.
        bool follows = false;
    };
    std::vector<StreamBlock> streamBlocks;
    bool stopAllSounds = false;
};

} // namespace movie
