#include "ScreenDescription.h"

#include "JsonFields.h"
#include "RuleTableReader.h"
#include "Screen.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPalette>
#include <QRegularExpression>
#include <QSet>
#include <functional>

namespace screens {

QString picturePath(const QString& name) { return QStringLiteral(":/") + name; }

namespace {

std::optional<ControlKind> kindOf(const QString& kind)
{
    if (kind == QLatin1String("Image")) return ControlKind::Image;
    if (kind == QLatin1String("PictureBox")) return ControlKind::Panel;
    if (kind == QLatin1String("Frame")) return ControlKind::Frame;
    if (kind == QLatin1String("Label")) return ControlKind::Label;
    if (kind == QLatin1String("Line")) return ControlKind::Line;
    if (kind == QLatin1String("ShockwaveFlash")) return ControlKind::Player;
    return std::nullopt;
}

QString prefixOf(ControlKind kind)
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

// Reads the controls of a description, collecting every fault.
struct ControlReader {
    PictureExists pictureExists;
    QSet<QString> names;

    std::optional<QColor> color(Fields& f, const char* key)
    {
        if (!f.has(key)) {
            f.string(key);
            return std::nullopt;
        }
        const QString text = f.string(key);
        if (text == QLatin1String("system:window"))
            return QApplication::palette().color(QPalette::Window);
        static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
        if (!hex.match(text).hasMatch()) {
            f.fault(key, QStringLiteral("colour \"%1\" is not #RRGGBB").arg(text));
            return std::nullopt;
        }
        return QColor(text);
    }

    // Four whole numbers, each a 16-bit number of twips (or of pixels for a crop).
    std::optional<QRect> quad(Fields& f, const char* key, const QString& shape)
    {
        const auto a = f.array(key);
        if (!a)
            return std::nullopt;
        int v[4] = {};
        if (a->size() != 4) {
            f.fault(key, QStringLiteral("must be %1").arg(shape));
            return std::nullopt;
        }
        for (int i = 0; i < 4; ++i) {
            const double d = (*a)[i].toDouble(0.5);
            if (!(*a)[i].isDouble() || d != static_cast<int>(d) || d < -32768 || d > 32767) {
                f.fault(key, QStringLiteral("%1 is not a 16-bit whole number").arg((*a)[i].toVariant().toString()));
                return std::nullopt;
            }
            v[i] = static_cast<int>(d);
        }
        return QRect(v[0], v[1], v[2], v[3]);
    }

    QString picture(Fields& f, const char* key)
    {
        const QString name = f.string(key);
        if (f.has(key) && (name.isEmpty() || !pictureExists(name)))
            f.fault(key, QStringLiteral("picture \"%1\" is missing").arg(name));
        return name;
    }

    std::optional<ControlDescription> control(Fields f)
    {
        ControlDescription c;
        c.name = f.requiredString("name");
        const QString kindName = f.requiredString("kind");
        const auto kind = kindOf(kindName);
        if (!kind) {
            if (!kindName.isEmpty())
                f.fault("kind", QStringLiteral("unknown control kind \"%1\"").arg(kindName));
            return std::nullopt;
        }
        c.kind = *kind;
        static const QRegularExpression numbered(QStringLiteral("^([A-Za-z]+)([1-9][0-9]*)$"));
        const auto m = numbered.match(c.name);
        if (!m.hasMatch() || m.captured(1) != prefixOf(c.kind))
            f.fault("name", QStringLiteral("a %1 control must be named %2 and a number").arg(kindName, prefixOf(c.kind)));
        else if (names.contains(c.name))
            f.fault("name", QStringLiteral("duplicate control name %1").arg(c.name));
        names.insert(c.name);

        if (c.kind == ControlKind::Line) {
            if (!f.has("line"))
                f.fault("line", QStringLiteral("a line needs \"line\": [X1, Y1, X2, Y2]"));
            if (const auto l = quad(f, "line", QStringLiteral("[X1, Y1, X2, Y2]"))) {
                c.line = QLine(l->x(), l->y(), l->width(), l->height());
                c.geometry = QRect(c.line.p1(), c.line.p2()).normalized();
            }
        } else {
            if (!f.has("rect"))
                f.fault("rect", QStringLiteral("missing: [Left, Top, Width, Height]"));
            if (const auto r = quad(f, "rect", QStringLiteral("[Left, Top, Width, Height]"))) {
                if (r->width() < 0 || r->height() < 0)
                    f.fault("rect", QStringLiteral("negative width or height"));
                c.geometry = *r;
            }
        }
        c.visible = f.boolean("visible", true);
        c.picture = picture(f, "picture");
        c.mouseIcon = picture(f, "mouseIcon");
        c.dragIcon = picture(f, "dragIcon");
        if (f.has("crop")) {
            const auto crop = quad(f, "crop", QStringLiteral("[x, y, width, height] in the pixels of the picture"));
            if (c.picture.isEmpty() || c.kind != ControlKind::Image)
                f.fault("crop", QStringLiteral("only a picture control with a picture can be cropped"));
            else if (crop && crop->isEmpty())
                f.fault("crop", QStringLiteral("an empty crop"));
            else if (crop)
                c.crop = *crop;
        }
        c.stretch = f.boolean("stretch", false);
        const QString dragMode = f.string("dragMode", QStringLiteral("Manual"));
        if (dragMode != QLatin1String("Manual") && dragMode != QLatin1String("Automatic"))
            f.fault("dragMode", QStringLiteral("dragMode must be Manual or Automatic"));
        c.dragAutomatic = dragMode == QLatin1String("Automatic");
        const int pointer = f.integer("mousePointer", 0);
        if (pointer != 0 && pointer != 4 && pointer != 99)
            f.fault("mousePointer", QStringLiteral("mousePointer must be 0, 4 or 99"));
        else
            c.mousePointer = static_cast<MousePointer>(pointer);
        c.toolTip = f.string("toolTipText");
        c.backColor = color(f, "backColor");
        c.foreColor = color(f, "foreColor");
        if (const auto border = color(f, "borderColor"))
            c.borderColor = *border;
        // Panels and frames have a border unless told otherwise; a picture control only when
        // given one (a thin single line round it).
        const int borderStyle = f.integer("borderStyle", c.kind == ControlKind::Image ? 0 : 1);
        if (borderStyle != 0 && borderStyle != 1)
            f.fault("borderStyle", QStringLiteral("borderStyle must be 0 or 1"));
        c.border = borderStyle != 0;
        c.caption = f.string("caption");
        if (auto font = f.object("font")) {
            c.font.face = font->string("face", c.font.face);
            c.font.points = font->number("size", c.font.points);
            c.font.bold = font->boolean("bold", false);
            c.font.italic = font->boolean("italic", false);
            if (c.font.points <= 0 || c.font.points > 200)
                font->fault("size", QStringLiteral("font size out of range"));
            font->finish();
        }
        c.alignment = f.integer("alignment", 0);
        if (c.alignment < 0 || c.alignment > 2)
            f.fault("alignment", QStringLiteral("alignment must be 0, 1 or 2"));
        const int backStyle = f.integer("backStyle", 1);
        c.transparent = backStyle == 0;
        c.play = f.boolean("play", true);

        if (const auto children = f.array("children")) {
            if (c.kind != ControlKind::Panel && c.kind != ControlKind::Frame)
                f.fault("children", QStringLiteral("only panels and frames hold controls"));
            for (int i = 0; i < children->size(); ++i)
                if (auto child = f.element("children", *children, i))
                    if (auto cd = control(std::move(*child)))
                        c.children.push_back(std::move(*cd));
        }
        f.finish();
        return c;
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

Result<ScreenDescription> ScreenDescription::parse(const QByteArray& json, const QString& file,
                                                   const PictureExists& pictureExists)
{
    QJsonParseError jsonError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &jsonError);
    if (doc.isNull())
        return Result<ScreenDescription>::failure(
            QStringLiteral("%1: not valid JSON: %2 at byte %3").arg(file, jsonError.errorString()).arg(jsonError.offset));
    if (!doc.isObject())
        return Result<ScreenDescription>::failure(QStringLiteral("%1: not a JSON object").arg(file));

    Faults faults(file);
    Fields root(doc.object(), QString(), faults);
    ControlReader reader{pictureExists ? pictureExists : [](const QString& name) { return QFile::exists(picturePath(name)); }, {}};
    ScreenDescription d;
    d.file = file;
    d.name = root.requiredString("name");
    d.caption = root.string("caption", d.name);
    if (const auto size = root.array("clientSize")) {
        const double w = size->at(0).toDouble(), h = size->at(1).toDouble();
        if (size->size() != 2 || w != int(w) || h != int(h) || w <= 0 || h <= 0 || w > 32767 || h > 32767)
            root.fault("clientSize", QStringLiteral("clientSize must be [width, height] in twips"));
        else
            d.clientSize = QSize(int(w), int(h));
    } else {
        root.fault("clientSize", QStringLiteral("missing: [width, height] in twips"));
    }
    if (const auto back = reader.color(root, "backColor"))
        d.backColor = *back;
    d.icon = reader.picture(root, "icon");
    if (const auto controls = root.array("controls")) {
        for (int i = 0; i < controls->size(); ++i)
            if (auto f = root.element("controls", *controls, i))
                if (auto c = reader.control(std::move(*f)))
                    d.controls.push_back(std::move(*c));
    }
    readRuleTables(root, d);
    root.finish();
    if (!faults.isEmpty())
        return Result<ScreenDescription>::failure(faults.list().join(QLatin1Char('\n')));
    return d;
}

Result<ScreenDescription> ScreenDescription::read(const QString& file, const PictureExists& pictureExists)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return Result<ScreenDescription>::failure(QStringLiteral("%1: cannot be read").arg(file));
    if (f.size() > 4 * 1024 * 1024)
        return Result<ScreenDescription>::failure(QStringLiteral("%1: too large for a screen description").arg(file));
    return parse(f.readAll(), file, pictureExists);
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

namespace {

// Each control's part in the game, from the rule tables. Marks come last: a control that
// is a mark is told as one whatever else it is.
void assignRoles(Screen& screen, const ScreenDescription& d)
{
    const auto set = [&screen](const QString& name, ControlRole role) {
        if (Control* c = screen.control(name))
            c->setRole(role);
    };
    for (const NavigationButton& b : d.navigation)
        set(b.button, ControlRole::Button);
    if (d.board) {
        set(d.board->panel, ControlRole::Board);
        for (const BoardTool& t : d.board->tools)
            set(t.tool, ControlRole::Button);
    }
    if (!d.activity)
        return;
    const ActivityTable& a = *d.activity;
    for (const SlotRule& s : a.slotRules)
        set(s.slot, ControlRole::Slot);
    for (const QString& piece : a.hover)
        set(piece, ControlRole::Piece);
    for (const SlotRule& s : a.slotRules) {
        set(s.rightMark, ControlRole::RightMark);
        for (const QString& mark : s.show)
            set(mark, ControlRole::RightMark);
        set(s.wrongMark, ControlRole::WrongMark);
    }
    for (const SlotGroup& g : a.completion.groups) {
        set(g.mark, ControlRole::RightMark);
        set(g.wrongMark, ControlRole::WrongMark);
    }
}

} // namespace

std::unique_ptr<Screen> ScreenDescription::instantiate() const
{
    auto screen = std::make_unique<Screen>(name, caption, clientSize, backColor);
    if (!icon.isEmpty())
        screen->setIcon(Picture::fromFile(picturePath(icon)));
    for (const auto& c : controls)
        build(*screen, c, nullptr);
    assignRoles(*screen, *this);
    return screen;
}

} // namespace screens
