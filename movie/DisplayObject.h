#pragma once

#include "MovieData.h"

#include <memory>
#include <vector>

namespace movie {

class Timeline;

// One placed character on a timeline.
struct DisplayObject {
    DisplayObject();
    ~DisplayObject();
    DisplayObject(DisplayObject&&) noexcept;
    DisplayObject& operator=(DisplayObject&&) noexcept;

    uint16_t characterId = 0;
    const Character* character = nullptr;
    int depth = 0;
    QTransform matrix;
    ColorTransform colorTransform;
    int ratio = 0;
    QString name;
    int clipDepth = 0;
    bool visible = true;
    int placedFrame = 0;       // the frame whose command created it, for rewinding
    uint64_t createdTick = 0;  // objects created during a tick do not advance in it
    std::unique_ptr<Timeline> sprite;
    std::vector<DisplayObject> children;  // a button's up state
};

} // namespace movie
