#include "ScreenDescription.h"

#include "Screen.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPalette>
#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <limits>

namespace screens {

QString picturePath(const QString& name) { return QStringLiteral(":/") + name; }

namespace {

struct Parser {
    QString file;
    QString error;
    QSet<QString> names;

    bool fail(const QString& where, const QString& reason)
    {
        if (error.isEmpty())
            error = QStringLiteral("%1: %2: %3").arg(file, where, reason);
        return false;
    }

    bool color(const QJsonValue& value, const QString& where, std::optional<QColor>& out)
    {
        if (value.isUndefined())
            return true;
        const QString text = value.toString();
        if (text == QLatin1String("system:window")) {
            out = QApplication::palette().color(QPalette::Window);
            return true;
        }
        static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
        if (!hex.match(text).hasMatch())
            return fail(where, QStringLiteral("colour \"%1\" is not #RRGGBB").arg(text));
        out = QColor(text);
        return true;
    }

    bool twips(const QJsonValue& value, const QString& where, int& out)
    {
        if (!value.isDouble())
            return fail(where, QStringLiteral("expected a number of twips"));
        const double v = value.toDouble();
        if (v != static_cast<int>(v) || v < std::numeric_limits<qint16>::min() ||
            v > std::numeric_limits<qint16>::max())
            return fail(where, QStringLiteral("%1 is not a 16-bit whole number of twips").arg(v));
        out = static_cast<int>(v);
        return true;
    }

    bool pictureName(const QJsonValue& value, const QString& where, QString& out)
    {
        if (value.isUndefined())
            return true;
        out = value.toString();
        if (out.isEmpty() || !QFile::exists(picturePath(out)))
            return fail(where, QStringLiteral("picture \"%1\" is missing").arg(value.toString()));
        return true;
    }

    static std::optional<ControlKind> kindOf(const QString& kind)
    {
        if (kind == QLatin1String("Image")) return ControlKind::Image;
        if (kind == QLatin1String("PictureBox")) return ControlKind::Panel;
        if (kind == QLatin1String("Frame")) return ControlKind::Frame;
        if (kind == QLatin1String("Label")) return ControlKind::Label;
        if (kind == QLatin1String("Line")) return ControlKind::Line;
        if (kind == QLatin1String("ShockwaveFlash")) return ControlKind::Player;
        return std::nullopt;
    }

    static QString prefixOf(ControlKind kind)
    {
        switch (kind) {
        case ControlKind::Image: return QStringLiteral("Image");
        case ControlKind::Panel: return QStringLiteral("Picture");
        case ControlKind::Frame: return QStringLiteral("Frame");
        case ControlKind::Label: return QStringLiteral("Label");
        case ControlKind::Line: return QStringLiteral("Line");
        case ControlKind::Player: return QStringLiteral("ShockwaveFlash");
        }
        return {};
    }

    bool control(const QJsonObject& o, ControlDescription& c)
    {
        static const QSet<QString> known = {
            QStringLiteral("name"), QStringLiteral("kind"), QStringLiteral("rect"), QStringLiteral("visible"),
            QStringLiteral("picture"), QStringLiteral("stretch"), QStringLiteral("dragMode"),
            QStringLiteral("mousePointer"), QStringLiteral("mouseIcon"), QStringLiteral("dragIcon"),
            QStringLiteral("toolTipText"), QStringLiteral("backColor"), QStringLiteral("foreColor"),
            QStringLiteral("borderStyle"), QStringLiteral("caption"), QStringLiteral("font"),
            QStringLiteral("alignment"), QStringLiteral("backStyle"), QStringLiteral("line"),
            QStringLiteral("borderColor"), QStringLiteral("play"), QStringLiteral("children"),
            QStringLiteral("role"), QStringLiteral("crop")};
        c.name = o.value(QLatin1String("name")).toString();
        const QString where = c.name.isEmpty() ? QStringLiteral("control") : c.name;
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!known.contains(it.key()))
                return fail(where, QStringLiteral("unknown property \"%1\"").arg(it.key()));
        const auto kind = kindOf(o.value(QLatin1String("kind")).toString());
        if (!kind)
            return fail(where, QStringLiteral("unknown control kind \"%1\"").arg(o.value(QLatin1String("kind")).toString()));
        c.kind = *kind;
        static const QRegularExpression numbered(QStringLiteral("^([A-Za-z]+)([1-9][0-9]*)$"));
        const auto m = numbered.match(c.name);
        if (!m.hasMatch() || m.captured(1) != prefixOf(c.kind))
            return fail(where, QStringLiteral("a %1 control must be named %2 and a number")
                                   .arg(o.value(QLatin1String("kind")).toString(), prefixOf(c.kind)));
        if (names.contains(c.name))
            return fail(where, QStringLiteral("duplicate control name"));
        names.insert(c.name);

        if (c.kind == ControlKind::Line) {
            const QJsonArray l = o.value(QLatin1String("line")).toArray();
            int v[4] = {};
            if (l.size() != 4)
                return fail(where, QStringLiteral("a line needs \"line\": [X1, Y1, X2, Y2]"));
            for (int i = 0; i < 4; ++i)
                if (!twips(l[i], where, v[i]))
                    return false;
            c.line = QLine(v[0], v[1], v[2], v[3]);
            c.geometry = QRect(c.line.p1(), c.line.p2()).normalized();
        } else {
            const QJsonArray r = o.value(QLatin1String("rect")).toArray();
            int v[4] = {};
            if (r.size() != 4)
                return fail(where, QStringLiteral("\"rect\" must be [Left, Top, Width, Height]"));
            for (int i = 0; i < 4; ++i)
                if (!twips(r[i], where, v[i]))
                    return false;
            if (v[2] < 0 || v[3] < 0)
                return fail(where, QStringLiteral("negative width or height"));
            c.geometry = QRect(v[0], v[1], v[2], v[3]);
        }
        c.visible = o.value(QLatin1String("visible")).toBool(true);
        if (!pictureName(o.value(QLatin1String("picture")), where, c.picture) ||
            !pictureName(o.value(QLatin1String("mouseIcon")), where, c.mouseIcon) ||
            !pictureName(o.value(QLatin1String("dragIcon")), where, c.dragIcon))
            return false;
        if (o.contains(QLatin1String("crop"))) {
            const QJsonArray r = o.value(QLatin1String("crop")).toArray();
            if (r.size() != 4 || c.picture.isEmpty())
                return fail(where, QStringLiteral("\"crop\" is [x, y, width, height] in the pixels of the control's picture"));
            c.crop = QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
            if (c.crop.isEmpty())
                return fail(where, QStringLiteral("an empty crop"));
        }
        c.stretch = o.value(QLatin1String("stretch")).toBool(false);
        const QString dragMode = o.value(QLatin1String("dragMode")).toString(QStringLiteral("Manual"));
        if (dragMode != QLatin1String("Manual") && dragMode != QLatin1String("Automatic"))
            return fail(where, QStringLiteral("dragMode must be Manual or Automatic"));
        c.dragAutomatic = dragMode == QLatin1String("Automatic");
        const int pointer = o.value(QLatin1String("mousePointer")).toInt(0);
        if (pointer != 0 && pointer != 4 && pointer != 99)
            return fail(where, QStringLiteral("mousePointer must be 0, 4 or 99"));
        c.mousePointer = static_cast<MousePointer>(pointer);
        c.toolTip = o.value(QLatin1String("toolTipText")).toString();
        if (!color(o.value(QLatin1String("backColor")), where, c.backColor) ||
            !color(o.value(QLatin1String("foreColor")), where, c.foreColor))
            return false;
        std::optional<QColor> border;
        if (!color(o.value(QLatin1String("borderColor")), where, border))
            return false;
        if (border)
            c.borderColor = *border;
        // Panels and frames have a border unless told otherwise; a picture control only when
        // given one (a thin single line round it).
        c.border = o.value(QLatin1String("borderStyle")).toInt(c.kind == ControlKind::Image ? 0 : 1) != 0;
        c.caption = o.value(QLatin1String("caption")).toString();
        if (o.contains(QLatin1String("font"))) {
            const QJsonObject f = o.value(QLatin1String("font")).toObject();
            c.font.face = f.value(QLatin1String("face")).toString(c.font.face);
            c.font.points = f.value(QLatin1String("size")).toDouble(c.font.points);
            c.font.bold = f.value(QLatin1String("bold")).toBool(false);
            c.font.italic = f.value(QLatin1String("italic")).toBool(false);
            if (c.font.points <= 0 || c.font.points > 200)
                return fail(where, QStringLiteral("font size out of range"));
        }
        c.alignment = o.value(QLatin1String("alignment")).toInt(0);
        if (c.alignment < 0 || c.alignment > 2)
            return fail(where, QStringLiteral("alignment must be 0, 1 or 2"));
        c.transparent = o.value(QLatin1String("backStyle")).toInt(1) == 0;
        c.play = o.value(QLatin1String("play")).toBool(true);

        const QJsonValue children = o.value(QLatin1String("children"));
        if (!children.isUndefined()) {
            if (c.kind != ControlKind::Panel && c.kind != ControlKind::Frame)
                return fail(where, QStringLiteral("only panels and frames hold controls"));
            for (const QJsonValue& child : children.toArray()) {
                ControlDescription cd;
                if (!control(child.toObject(), cd))
                    return false;
                c.children.push_back(std::move(cd));
            }
        }
        return true;
    }
};

void build(Screen& screen, const ControlDescription& d, Control* parent)
{
    auto control = std::make_unique<Control>(screen, d.kind, d.name);
    Control& c = screen.addControl(std::move(control), parent);
    c.setGeometry(d.geometry);
    c.setVisible(d.visible);
    c.setStretch(d.stretch);
    if (!d.picture.isEmpty())
        c.setPicture(Picture::fromFile(picturePath(d.picture), d.crop));
    c.setDragAutomatic(d.dragAutomatic);
    c.setMousePointer(d.mousePointer);
    if (!d.mouseIcon.isEmpty())
        c.setMouseIcon(Picture::fromFile(picturePath(d.mouseIcon)));
    if (!d.dragIcon.isEmpty())
        c.setDragIcon(Picture::fromFile(picturePath(d.dragIcon)));
    c.setToolTip(d.toolTip);
    if (d.backColor)
        c.setBackColor(*d.backColor);
    else if (d.kind == ControlKind::Label || d.kind == ControlKind::Frame)
        c.setBackColor(screen.backColor());
    if (d.foreColor)
        c.setForeColor(*d.foreColor);
    c.setBorder(d.border);
    c.setCaption(d.caption);
    c.setFont(d.font);
    c.setAlignment(d.alignment);
    c.setTransparent(d.transparent);
    c.setLine(d.line);
    c.setBorderColor(d.borderColor);
    c.setPlaySetting(d.play);
    for (const auto& child : d.children)
        build(screen, child, &c);
}

} // namespace

Result<ScreenDescription> ScreenDescription::parse(const QByteArray& json, const QString& file)
{
    QJsonParseError jsonError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &jsonError);
    if (doc.isNull())
        return Result<ScreenDescription>::failure(
            QStringLiteral("%1: not valid JSON: %2").arg(file, jsonError.errorString()));
    if (!doc.isObject())
        return Result<ScreenDescription>::failure(QStringLiteral("%1: not a JSON object").arg(file));

    Parser parser{file, {}, {}};
    const QJsonObject root = doc.object();
    ScreenDescription d;
    d.file = file;
    d.rules = root;
    d.name = root.value(QLatin1String("name")).toString();
    if (d.name.isEmpty())
        return Result<ScreenDescription>::failure(QStringLiteral("%1: the screen has no name").arg(file));
    d.caption = root.value(QLatin1String("caption")).toString(d.name);
    const QJsonArray size = root.value(QLatin1String("clientSize")).toArray();
    int w = 0, h = 0;
    if (size.size() != 2 || !parser.twips(size[0], QStringLiteral("clientSize"), w) ||
        !parser.twips(size[1], QStringLiteral("clientSize"), h) || w <= 0 || h <= 0)
        return Result<ScreenDescription>::failure(
            parser.error.isEmpty() ? QStringLiteral("%1: clientSize must be [width, height] in twips").arg(file)
                                   : parser.error);
    d.clientSize = QSize(w, h);
    std::optional<QColor> back;
    if (!parser.color(root.value(QLatin1String("backColor")), QStringLiteral("backColor"), back))
        return Result<ScreenDescription>::failure(parser.error);
    if (back)
        d.backColor = *back;
    if (!parser.pictureName(root.value(QLatin1String("icon")), QStringLiteral("icon"), d.icon))
        return Result<ScreenDescription>::failure(parser.error);
    for (const QJsonValue& v : root.value(QLatin1String("controls")).toArray()) {
        ControlDescription c;
        if (!parser.control(v.toObject(), c))
            return Result<ScreenDescription>::failure(parser.error);
        d.controls.push_back(std::move(c));
    }
    return d;
}

Result<ScreenDescription> ScreenDescription::load(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return Result<ScreenDescription>::failure(QStringLiteral("%1: cannot be read").arg(file));
    return parse(f.readAll(), file);
}

const ControlDescription* ScreenDescription::find(const QString& controlName) const
{
    std::function<const ControlDescription*(const std::vector<ControlDescription>&)> walk =
        [&](const std::vector<ControlDescription>& list) -> const ControlDescription* {
        for (const auto& c : list) {
            if (c.name == controlName)
                return &c;
            if (auto* found = walk(c.children))
                return found;
        }
        return nullptr;
    };
    return walk(controls);
}

std::unique_ptr<Screen> ScreenDescription::instantiate() const
{
    auto screen = std::make_unique<Screen>(name, caption, clientSize, backColor);
    if (!icon.isEmpty())
        screen->setIcon(Picture::fromFile(picturePath(icon)));
    for (const auto& c : controls)
        build(*screen, c, nullptr);
    return screen;
}

} // namespace screens
