#pragma once

#include "Behaviour.h"

#include <QColor>

namespace board {

// The 16 colours of the classic palette, by index 0 to 15.
QColor paletteColor(int index);

// The drawing board: its Form_Load resets the pen; the tools choose the pen colour; pressing
// on the drawing panel and moving draws one dot of the pen width at every movement.
class BoardBehaviour : public screens::Behaviour {
public:
    void attach(screens::Screen& screen, const screens::ScreenDescription& description,
                screens::Services& services) const override;
};

} // namespace board
