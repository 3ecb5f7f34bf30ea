#pragma once

#include "Drawing.h"
#include "Picture.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

namespace screens {

class Screen;

enum class ControlKind { Image, Panel, Frame, Label, Line, Player };

// What a control is in the screen's game, as the rule tables say: what the program tells
// assistive technology about it.
enum class ControlRole { None, Button, Piece, Slot, RightMark, WrongMark, Board };

// How the pointer looks over a control.
enum class MousePointer { Default = 0, Icon = 4, Custom = 99 };

struct FontSpec {
    QString face = QStringLiteral("DejaVu Sans");
    double points = 8.25;
    bool bold = false;
    bool italic = false;
};

// One control of a screen. Geometry is in twips, relative to the parent's client area.
// The model holds every property that handlers read or write; the view only paints it.
class Control {
public:
    Control(Screen& screen, ControlKind kind, QString name);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Screen& screen() const { return m_screen; }
    ControlKind kind() const { return m_kind; }
    const QString& name() const { return m_name; }
    bool isContainer() const { return m_kind == ControlKind::Panel || m_kind == ControlKind::Frame; }
    // Panels, frames and players are drawn above the pictures, labels and lines of their container.
    bool isWindowed() const { return isContainer() || m_kind == ControlKind::Player; }

    Control* parent() const { return m_parent; }
    const std::vector<std::unique_ptr<Control>>& children() const { return m_children; }
    Control& addChild(std::unique_ptr<Control> child);
    ControlRole role() const { return m_role; }
    void setRole(ControlRole role) { m_role = role; }
    // Position in the screen's description order (0 = first listed).
    int order() const { return m_order; }
    void setOrder(int order) { m_order = order; }

    QRect geometry() const { return m_geometry; }
    void setGeometry(const QRect& twips);

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

    // The picture. Setting it shares the object. An unstretched picture control takes the
    // picture's own size; a panel shows it at that size from the top left of its client area.
    const PicturePtr& picture() const { return m_picture; }
    void setPicture(PicturePtr picture);
    Picture::Handle pictureHandle() const { return handleOf(m_picture); }
    bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);

    bool dragAutomatic() const { return m_dragAutomatic; }
    void setDragAutomatic(bool on) { m_dragAutomatic = on; }
    MousePointer mousePointer() const { return m_mousePointer; }
    void setMousePointer(MousePointer pointer) { m_mousePointer = pointer; }
    const PicturePtr& mouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(PicturePtr icon);
    const PicturePtr& dragIcon() const { return m_dragIcon; }
    void setDragIcon(PicturePtr icon) { m_dragIcon = std::move(icon); }
    const QString& toolTip() const { return m_toolTip; }
    void setToolTip(QString text) { m_toolTip = std::move(text); }

    // Panels, frames and labels.
    QColor backColor() const { return m_backColor; }
    void setBackColor(QColor color) { m_backColor = color; }
    QColor foreColor() const { return m_foreColor; }
    void setForeColor(QColor color) { m_foreColor = color; }
    bool hasBorder() const { return m_border; }
    void setBorder(bool on) { m_border = on; }
    // Offset of the client area inside the control's rectangle, in twips.
    int clientInset() const;

    // Labels.
    const QString& caption() const { return m_caption; }
    void setCaption(QString caption) { m_caption = std::move(caption); }
    const FontSpec& font() const { return m_font; }
    void setFont(FontSpec font) { m_font = std::move(font); }
    int alignment() const { return m_alignment; } // 0 left, 1 right, 2 centre
    void setAlignment(int alignment) { m_alignment = alignment; }
    bool transparent() const { return m_transparent; }
    void setTransparent(bool on) { m_transparent = on; }

    // Line: end points in twips relative to the parent; colour in borderColor.
    QLine line() const { return m_line; }
    void setLine(const QLine& line) { m_line = line; }
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(QColor color) { m_borderColor = color; }

    // Panels: what has been drawn on the panel (null until the first dot).
    const Drawing* drawing() const { return m_drawing.get(); }
    // Draws a filled dot centred on a point of the client area (twips), `diameter` design pixels wide.
    void drawDot(QPointF twips, double diameter, QColor color);

    // Players.
    const QString& movie() const { return m_movie; }
    // Loads a movie (a full path): with play on it starts from the beginning; loading the same
    // path again restarts it.
    void setMovie(const QString& path);
    int movieLoads() const { return m_movieLoads; }
    bool playSetting() const { return m_play; }
    void setPlaySetting(bool on) { m_play = on; }

    // The control's rectangle in screen (client area) twips, and the clip of its ancestors.
    QRect screenGeometry() const;
    QRect visibleScreenRect() const;
    // Visible itself and through all its containers.
    bool isShown() const;

private:
    void changed();

    Screen& m_screen;
    ControlKind m_kind;
    QString m_name;
    Control* m_parent = nullptr;
    std::vector<std::unique_ptr<Control>> m_children;
    int m_order = 0;
    ControlRole m_role = ControlRole::None;
    QRect m_geometry;
    bool m_visible = true;

    PicturePtr m_picture;
    bool m_stretch = false;
    bool m_dragAutomatic = false;
    MousePointer m_mousePointer = MousePointer::Default;
    PicturePtr m_mouseIcon;
    PicturePtr m_dragIcon;
    QString m_toolTip;

    QColor m_backColor = Qt::white;
    QColor m_foreColor = Qt::black;
    bool m_border = true;

    QString m_caption;
    FontSpec m_font;
    int m_alignment = 0;
    bool m_transparent = false;

    QLine m_line;
    QColor m_borderColor = Qt::black;

    std::unique_ptr<Drawing> m_drawing;

    QString m_movie;
    int m_movieLoads = 0;
    bool m_play = true;
};

} // namespace screens
