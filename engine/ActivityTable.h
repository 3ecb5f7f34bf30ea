#pragma once

#include "Result.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace screens {
struct ScreenDescription;
}

namespace engine {

enum class DropRule { Match, Fill };

// One slot and the parameters of its drop rule.
struct SlotRule {
    QString slot;
    DropRule rule = DropRule::Match;
    // Match rule.
    QString right;
    QString answer; // the right piece itself, or a separate hidden picture
    QString rightMark;
    QString wrongMark;
    // Fill rule.
    QStringList refuse;   // kind check: pieces this slot refuses (empty: the group's or screen's)
    QStringList hide;     // marks an accepted drop hides
    QStringList show;     // marks an accepted drop shows
    int group = -1;       // index of the slot's group, or -1
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

// A screen's activity table: the pieces, slots, marks, completion check and reward, read
// from the "activity" and "reward" objects of its description.
struct ActivityTable {
    QString cursor;
    QStringList hover;
    std::vector<SlotRule> slotRules;
    QStringList refuse; // the screen-wide kind check
    Completion completion;
    QString rewardPlayer;
    QString rewardMovie;

    // Whether the description has an activity at all.
    static bool present(const screens::ScreenDescription& description);
    static Result<ActivityTable> read(const screens::ScreenDescription& description);
    // Controls the table names that the screen lacks, or of the wrong kind.
    QStringList check(const screens::ScreenDescription& description) const;

    // The refused pieces and wrong mark that apply to a fill slot.
    const QStringList& refusedFor(const SlotRule& slot) const;
    QString wrongMarkFor(const SlotRule& slot) const;
};

} // namespace engine
