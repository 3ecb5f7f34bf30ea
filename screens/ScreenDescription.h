#pragma once

#include "Control.h"
#include "Result.h"

#include <QColor>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>
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

// A screen as its description file gives it. Parsed and checked once; every visit to the
// screen builds a fresh set of controls and picture objects from it.
struct ScreenDescription {
    QString file;
    QString name;
    QString caption;
    QSize clientSize;
    QColor backColor = Qt::white;
    QString icon;
    std::vector<ControlDescription> controls;
    // The whole file, for the rule tables that behaviours read.
    QJsonObject rules;

    // Parses and checks a description. Pictures are resolved against the resource root.
    static Result<ScreenDescription> parse(const QByteArray& json, const QString& file);
    static Result<ScreenDescription> load(const QString& file);

    const ControlDescription* find(const QString& controlName) const;
    std::unique_ptr<Screen> instantiate() const;
};

// Resource path of a picture named in a description.
QString picturePath(const QString& name);

} // namespace screens
