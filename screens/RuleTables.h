#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace screens {

// The rule tables of a screen description, read and checked once when the description is
// read. Every name in them is a control of the screen, of the kind its role needs.

// A movie the screen's Form_Load loads into a player ("load").
struct MovieLoad {
    QString player;
    QString movie; // stored name, "\name.swf"
};

// A navigation button: it opens `target`, or, with `exitPlayer` set, asks whether to leave
// with the goodbye movie in that player ("navigation").
struct NavigationButton {
    QString button;
    QString target;
    QString exitPlayer;
};

// The reward animation: the player made visible and the movie it is given ("reward").
struct Reward {
    QString player;
    QString movie;
};

enum class DropRule { Match, Fill };

// One slot and the parameters of its drop rule ("activity.slots").
struct SlotRule {
    QString slot;
    DropRule rule = DropRule::Match;
    // Match rule.
    QString right;
    QString answer; // the right piece itself, or a separate hidden picture
    QString rightMark;
    QString wrongMark; // also the fill rule's, shown on a refusal
    // Fill rule.
    QStringList refuse;          // kind check: pieces this slot refuses (empty: the group's or screen's)
    QStringList hide;            // marks an accepted drop hides
    QStringList show;            // marks an accepted drop shows
    int group = -1;              // index of the slot's group, or -1
    bool acceptedOnly = false;   // a refused drop ends the handler without the check
    bool showsGroupMark = false; // an accepted drop shows the group mark without a group check
};

struct SlotGroup {
    QStringList members;
    QString mark;
    QStringList refuse;
    QString wrongMark;
};

struct Completion {
    enum class Form { Pairs, Filled, Groups };
    Form form = Form::Pairs;
    std::vector<std::pair<QString, QString>> pairs; // (slot, answer picture)
    QStringList filled;
    std::vector<SlotGroup> groups;
    // The empty reference of filled slots: empty for the screen's own background picture
    // (handle 0), or a blank picture control.
    QString blank;
};

// The drag-and-match game of a screen ("activity"): pieces, slots, marks and completion.
struct ActivityTable {
    QString cursor;
    QStringList hover;
    std::vector<SlotRule> slotRules;
    QStringList refuse; // the screen-wide kind check
    Completion completion;

    // The refused pieces and wrong mark that apply to a fill slot.
    const QStringList& refusedFor(const SlotRule& slot) const;
    QString wrongMarkFor(const SlotRule& slot) const;
};

// A pencil or the eraser of the drawing board, with its palette colour index.
struct BoardTool {
    QString tool;
    int color = 0;
};

// The drawing board ("board"): the panel drawn on, the pencil cursor picture, the tools.
struct BoardTable {
    QString panel;
    QString cursor;
    std::vector<BoardTool> tools;
};

} // namespace screens
