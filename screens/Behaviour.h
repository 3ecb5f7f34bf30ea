#pragma once

#include <QString>

namespace screens {

class Control;
class Screen;
struct ScreenDescription;

// What the program offers the handlers of a screen beyond its own controls.
class Services {
public:
    virtual ~Services() = default;
    // Leaves the current screen and opens `screen` anew.
    virtual void switchTo(const QString& screen) = 0;
    // Asks whether to leave the program, with the goodbye movie in `goodbyePlayer`.
    virtual void confirmExit(Screen& screen, Control& goodbyePlayer) = 0;
    // The full path of a movie file from its stored name.
    virtual QString moviePath(const QString& storedName) const = 0;
};

// Handlers made from one of the rule tables of a screen description. The tables were read
// and checked with the description, so every name they give is a control of the screen.
class Behaviour {
public:
    virtual ~Behaviour() = default;
    // Adds the handlers (and Form_Load steps) to a freshly built screen.
    virtual void attach(Screen& screen, const ScreenDescription& description, Services& services) const = 0;
};

} // namespace screens
