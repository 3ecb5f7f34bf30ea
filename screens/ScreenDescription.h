#pragma once

#include "Control.h"
#include "Result.h"
#include "RuleTables.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace screens {

class Screen;

// One control as a screen description gives it: its design-time properties.
struct ControlDescription {
    QString name;
    ControlKind kind = ControlKind::Image;
    QRect geometry;
    bool visible = true;
    QString picture;
    QRect crop; // the part of `picture` shown, in its own pixels; empty for all of it
    bool stretch = false;
    bool dragAutomatic = false;
    MousePointer mousePointer = MousePointer::Default;
    QString mouseIcon;
    QString dragIcon;
    QString toolTip;
    std::optional<QColor> backColor;
    std::optional<QColor> foreColor;
    bool border = true;
    QString caption;
    FontSpec font;
    int alignment = 0;
    bool transparent = false;
    QLine line;
    QColor borderColor = Qt::black;
    bool play = true;
    std::vector<ControlDescription> children;
};

// Whether a picture named in a description can be found.
using PictureExists = std::function<bool(const QString& name)>;

// A screen as its description file gives it: its controls and its rule tables, parsed and
// checked once; every visit to the screen builds a fresh set of controls and picture objects
// from it.
struct ScreenDescription {
    QString file;
    QString name;
    QString caption;
    QSize clientSize;
    QColor backColor = Qt::white;
    QString icon;
    std::vector<ControlDescription> controls;

    std::vector<MovieLoad> load;
    std::vector<NavigationButton> navigation;
    std::optional<Reward> reward;
    std::optional<ActivityTable> activity;
    std::optional<BoardTable> board;

    // Parses and checks a description. A broken one is refused with every fault found, one
    // per line, each naming the file and the JSON path. Pictures are looked up among the
    // program's resources unless `pictureExists` says otherwise.
    static Result<ScreenDescription> parse(const QByteArray& json, const QString& file,
                                           const PictureExists& pictureExists = {});
    static Result<ScreenDescription> read(const QString& file, const PictureExists& pictureExists = {});

    const ControlDescription* find(const QString& controlName) const;
    std::unique_ptr<Screen> instantiate() const;
};

// Resource path of a picture named in a description.
QString picturePath(const QString& name);

} // namespace screens
