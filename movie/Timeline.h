#pragma once

#include "DisplayObject.h"
#include "PlayContext.h"

#include <map>

namespace movie {

// A running timeline (the movie's root or a sprite instance): its frame, play state and
// display list by depth. Frames are reached by applying the stored placement commands;
// going back rebuilds the list from the first frame.
class Timeline {
public:
    Timeline(PlayContext& context, const TimelineData* data, int nesting);
    ~Timeline();
    Timeline(const Timeline&) = delete;
    Timeline& operator=(const Timeline&) = delete;

    // Shows the first frame and queues its actions.
    void start();
    // One tick: next frame when playing (looping at the end), then the children.
    void advance();

    void play() { m_playing = true; }
    void stop() { m_playing = false; }
    bool isPlaying() const { return m_playing; }
    void gotoFrame(int index);  // 0-based; clamped to the timeline
    bool gotoLabel(const QString& label);
    void runActions(const std::vector<Action>& actions);

    int currentFrame() const { return m_frame; }  // 0-based
    int frameCount() const { return int(m_data->frames.size()); }
    const std::map<int, DisplayObject>& displayList() const { return m_list; }

private:
    void applyFrame(int index, std::map<int, DisplayObject>* reuse);
    void apply(const PlaceCommand& cmd, int frame, std::map<int, DisplayObject>* reuse);
    void instantiate(DisplayObject& obj);
    // Queues the frame's actions and sound events: it is being shown now.
    void enterFrame(int frame);
    void advanceChildren(DisplayObject& obj);
    void erase(std::map<int, DisplayObject>::iterator it);

    PlayContext& m_context;
    const TimelineData* m_data;
    int m_nesting;
    int m_frame = 0;
    bool m_playingOn = false;  // entering a frame by playing on rather than by a jump
    bool m_playing = true;
    std::map<int, DisplayObject> m_list;
};

} // namespace movie
