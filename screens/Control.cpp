#include "Control.h"

#include "Screen.h"

namespace screens {

namespace {
constexpr int kTwipsPerPixel = 15;
// A panel's sunken border takes two pixels on each side.
constexpr int kPanelBorderTwips = 2 * kTwipsPerPixel;
} // namespace

Control::Control(Screen& screen, ControlKind kind, QString name)
    : m_screen(screen), m_kind(kind), m_name(std::move(name)), m_border(kind != ControlKind::Image)
{
}

Control& Control::addChild(std::unique_ptr<Control> child)
{
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return *m_children.back();
}

void Control::changed() { m_screen.notifyChanged(*this); }

void Control::setGeometry(const QRect& twips)
{
    m_geometry = twips;
    changed();
}

void Control::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    if (m_kind == ControlKind::Player)
        m_screen.notifyMovieLoaded(*this); // the player shows or hides its movie
    changed();
}

void Control::setPicture(PicturePtr picture)
{
    m_picture = std::move(picture);
    // Only a picture control sizes itself to its picture; a panel keeps its rectangle.
    if (m_kind == ControlKind::Image && !m_stretch && m_picture && !m_picture->isNull()) {
        const QSize px = m_picture->pixelSize();
        m_geometry.setSize(QSize(px.width() * kTwipsPerPixel, px.height() * kTwipsPerPixel));
    }
    changed();
}

void Control::setStretch(bool stretch)
{
    m_stretch = stretch;
    if (!m_stretch && m_picture)
        setPicture(m_picture);
}

void Control::setMouseIcon(PicturePtr icon)
{
    m_mouseIcon = std::move(icon);
    changed();
}

int Control::clientInset() const
{
    return (m_kind == ControlKind::Panel && m_border) ? kPanelBorderTwips : 0;
}

void Control::drawDot(QPointF twips, double diameter, QColor color)
{
    const int inset = clientInset();
    if (!m_drawing)
        m_drawing = std::make_unique<Drawing>(QSizeF(m_geometry.width() - 2 * inset, m_geometry.height() - 2 * inset) / kTwipsPerPixel);
    m_drawing->addDot(twips / kTwipsPerPixel, diameter, color);
    changed();
}

void Control::setMovie(const QString& path)
{
    m_movie = path;
    ++m_movieLoads;
    m_screen.notifyMovieLoaded(*this);
}

QRect Control::screenGeometry() const
{
    QRect r = m_geometry;
    for (const Control* p = m_parent; p; p = p->m_parent)
        r.translate(p->m_geometry.topLeft() + QPoint(p->clientInset(), p->clientInset()));
    return r;
}

QRect Control::visibleScreenRect() const
{
    QRect r = screenGeometry();
    for (const Control* p = m_parent; p; p = p->m_parent) {
        const QRect outer = p->screenGeometry();
        const int inset = p->clientInset();
        r &= outer.adjusted(inset, inset, -inset, -inset);
    }
    return r;
}

bool Control::isShown() const
{
    for (const Control* c = this; c; c = c->m_parent)
        if (!c->m_visible)
            return false;
    return true;
}

} // namespace screens
