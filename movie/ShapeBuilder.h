#pragma once

#include "MovieData.h"

namespace movie {

// Turns edge lists into paintable paths. Each edge names the fill on either side; the
// edges bounding one fill are turned so the fill lies on the same side, then joined end to
// start into closed contours. Strokes follow the edges in file order.
class ShapeBuilder {
public:
    static CompiledShape compile(const ShapeGeometry& geometry);
    // The morph's geometry at ratio t (0 = start, 1 = end).
    static ShapeGeometry interpolate(const MorphCharacter& morph, double t);
};

} // namespace movie
