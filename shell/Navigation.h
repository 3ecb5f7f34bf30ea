#pragma once

#include "Behaviour.h"

namespace shell {

// The navigation buttons of a screen, from its "navigation" table: a button with a
// "target" switches to that screen; a button with "exit" runs the exit confirmation with
// the named goodbye player.
class Navigation : public screens::Behaviour {
public:
    void attach(screens::Screen& screen, const screens::ScreenDescription& description,
                screens::Services& services) const override;
};

// The movies a screen's Form_Load loads, in order, from its "load" table.
class LoadMovies : public screens::Behaviour {
public:
    void attach(screens::Screen& screen, const screens::ScreenDescription& description,
                screens::Services& services) const override;
};

} // namespace shell
