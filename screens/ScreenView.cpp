#include "ScreenView.h"

#include "MoviePlayer.h"
#include "ScreenAccessible.h"
#include "TextLayout.h"

#include <QAccessible>
#include <functional>
#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QStyleHints>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QTouchEvent>
#include <algorithm>
#include <functional>
#include <utility>
#include <cmath>

namespace screens {

namespace {

int buttonMask(Qt::MouseButtons buttons)
{
    return int(buttons & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton));
}

int shiftMask(Qt::KeyboardModifiers mods)
{
    int mask = 0;
    if (mods & Qt::ShiftModifier) mask |= 1;
    if (mods & Qt::ControlModifier) mask |= 2;
    if (mods & Qt::AltModifier) mask |= 4;
    return mask;
}

// Pictures, labels and lines are drawn first, later-listed beneath earlier-listed; panels,
// frames and players come above them all, in the same order among themselves.
std::vector<const Control*> paintOrder(const std::vector<std::unique_ptr<Control>>& list)
{
    std::vector<const Control*> out;
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (!(*it)->isWindowed())
            out.push_back(it->get());
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->isWindowed())
            out.push_back(it->get());
    return out;
}

} // namespace

ScreenView::ScreenView(movie::sound::Mixer* mixer, QWidget* parent) : QWidget(parent), m_mixer(mixer)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_AcceptTouchEvents);
    installScreenAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(346, 238);
}

ScreenView::~ScreenView() { setScreen(nullptr); }

void ScreenView::setScreen(Screen* screen)
{
    if (m_screen)
        m_screen->setObserver(nullptr);
    endGesture();
    m_players.clear();
    m_loadedCount.clear();
    m_drawings.clear();
    m_places.clear();
    dropAccessibleControls();
    m_screen = screen;
    if (m_screen)
        m_switchPress = m_lastPress;
    unsetCursor();
    QToolTip::hideText();
    if (m_screen) {
        m_screen->setObserver(this);
        for (Control* c : m_screen->allControls()) {
            m_places[c] = placeOf(*c);
            if (c->kind() == ControlKind::Player)
                syncPlayer(*c);
            if (c->kind() != ControlKind::Line)
                m_accessibleControls.push_back(c);
            if (c->role() == ControlRole::RightMark || c->role() == ControlRole::WrongMark)
                m_marks.emplace_back(c, c->isShown());
        }
        // A screen reader hears the new screen's name and reads its controls afresh.
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        sendAccessibilityEvent(renamed);
        QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
        sendAccessibilityEvent(reordered);
    }
    update();
}

double ScreenView::scale() const
{
    if (!m_screen)
        return 1.0;
    const double w = m_screen->clientSize().width() / kTwipsPerPixel;
    const double h = m_screen->clientSize().height() / kTwipsPerPixel;
    return std::max(0.05, std::min(width() / w, height() / h));
}

QRectF ScreenView::screenRect() const
{
    if (!m_screen)
        return rect();
    const double s = scale();
    const QSizeF size(m_screen->clientSize().width() / kTwipsPerPixel * s,
                      m_screen->clientSize().height() / kTwipsPerPixel * s);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QRectF ScreenView::toView(const QRect& twips) const
{
    const double k = scale() / kTwipsPerPixel;
    const QPointF origin = screenRect().topLeft();
    return QRectF(origin.x() + twips.x() * k, origin.y() + twips.y() * k, twips.width() * k, twips.height() * k);
}

QPointF ScreenView::toTwips(const QPointF& viewPos) const
{
    const double k = kTwipsPerPixel / scale();
    return (viewPos - screenRect().topLeft()) * k;
}

QPoint ScreenView::centreOf(const Control& control) const
{
    return toView(control.visibleScreenRect()).center().toPoint();
}

QSize ScreenView::sizeHint() const
{
    if (!m_screen)
        return {692, 475};
    return QSize(qRound(m_screen->clientSize().width() / kTwipsPerPixel),
                 qRound(m_screen->clientSize().height() / kTwipsPerPixel));
}

movie::MoviePlayer* ScreenView::moviePlayer(const Control& player) const
{
    auto it = m_players.find(&player);
    return it == m_players.end() ? nullptr : it->second.get();
}

// ---- painting ----

void ScreenView::paintEvent(QPaintEvent* event)
{
    // Only what lies in the part being repainted is drawn: a playing movie repaints its own
    // rectangle many times a second, and the rest of the screen need not be drawn again.
    m_dirty = event->region();
    QPainter painter(this);
    const QColor back = m_screen ? m_screen->backColor() : QColor(Qt::white);
    const QRectF area = screenRect();
    // The margins around a screen of another shape than the window are a softer shade; a
    // margin of a pixel or two is only rounding of the window's size, and a hairline of
    // another shade there would look like a fault at the edge.
    const bool rounding = width() - area.width() < 3 && height() - area.height() < 3;
    painter.fillRect(rect(), rounding ? back : back.darker(104));
    if (!m_screen)
        return;
    painter.fillRect(area, back);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(area);
    paintList(painter, m_screen->controls());
    painter.setClipping(false);
    paintDrag(painter);
}

void ScreenView::paintList(QPainter& painter, const std::vector<std::unique_ptr<Control>>& list) const
{
    for (const Control* c : paintOrder(list))
        if (c->isVisible() && (c->kind() == ControlKind::Line || m_dirty.intersects(toView(c->screenGeometry()).toAlignedRect().adjusted(-2, -2, 2, 2))))
            paintControl(painter, *c);
}

void ScreenView::paintControl(QPainter& painter, const Control& c) const
{
    const QRectF r = toView(c.screenGeometry());
    const double s = scale();
    switch (c.kind()) {
    case ControlKind::Image:
        if (c.picture())
            c.picture()->paint(painter, r);
        if (c.hasBorder()) {
            // A thin single line just inside the rectangle, one design pixel wide.
            const double w = std::max(1.0, s);
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(QPen(Qt::black, w));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(w / 2, w / 2, -w / 2, -w / 2));
            painter.restore();
        }
        break;
    case ControlKind::Panel:
    case ControlKind::Frame: {
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
        painter.fillRect(r, c.backColor());
        if (c.hasBorder()) {
            const double w = std::max(1.0, s);
            painter.setRenderHint(QPainter::Antialiasing, false);
            if (c.kind() == ControlKind::Panel) {
                // A sunken edge: shadow above and left, light below and right.
                painter.fillRect(QRectF(r.left(), r.top(), r.width(), w), QColor(128, 128, 128));
                painter.fillRect(QRectF(r.left(), r.top(), w, r.height()), QColor(128, 128, 128));
                painter.fillRect(QRectF(r.left(), r.bottom() - w, r.width(), w), QColor(224, 224, 224));
                painter.fillRect(QRectF(r.right() - w, r.top(), w, r.height()), QColor(224, 224, 224));
            } else {
                painter.setPen(QPen(QColor(160, 160, 160), w));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r.adjusted(w / 2, w / 2, -w / 2, -w / 2));
            }
            painter.setRenderHint(QPainter::Antialiasing, true);
        }
        const int inset = c.clientInset();
        const QRectF client = toView(c.screenGeometry().adjusted(inset, inset, -inset, -inset));
        painter.setClipRect(client, Qt::IntersectClip);
        if (c.picture() && !c.picture()->isNull()) {
            const QSize px = c.picture()->pixelSize();
            c.picture()->paint(painter, QRectF(client.topLeft(), QSizeF(px.width() * s, px.height() * s)));
        }
        if (c.drawing())
            paintDrawing(painter, c, client);
        paintList(painter, c.children());
        painter.restore();
        break;
    }
    case ControlKind::Label: {
        if (!c.transparent())
            painter.fillRect(r, c.backColor());
        QFont font(c.font().face);
        // Points to design pixels at 96 dots per inch, then to the view's scale.
        font.setPixelSize(std::max(1, int(std::lround(c.font().points * 96.0 / 72.0 * s))));
        font.setBold(c.font().bold);
        font.setItalic(c.font().italic);
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
        painter.setFont(font);
        painter.setPen(c.foreColor());
        const Qt::Alignment h = c.alignment() == 2 ? Qt::AlignHCenter : c.alignment() == 1 ? Qt::AlignRight : Qt::AlignLeft;
        // A caption that wraps is set in even lines, placed by the label's alignment.
        const qreal w = std::min(r.width(), balancedWidth(font, c.caption(), r.width()) + 1);
        const qreal x = h == Qt::AlignHCenter ? r.left() + (r.width() - w) / 2 : h == Qt::AlignRight ? r.right() - w : r.left();
        painter.drawText(QRectF(x, r.top(), w, r.height()), int(h | Qt::AlignTop | Qt::TextWordWrap), c.caption());
        painter.restore();
        break;
    }
    case ControlKind::Line: {
        // End points are relative to the container's client area, like every rectangle.
        const QPoint origin = c.screenGeometry().topLeft() - c.geometry().topLeft();
        const QLine l = c.line().translated(origin);
        painter.setPen(QPen(c.borderColor(), std::max(1.0, s)));
        painter.drawLine(toView(QRect(l.p1(), QSize())).topLeft(), toView(QRect(l.p2(), QSize())).topLeft());
        break;
    }
    case ControlKind::Player:
        if (auto* player = moviePlayer(c)) {
            painter.save();
            painter.setClipRect(r, Qt::IntersectClip);
            // The movie draws only what lies in the part of it being repainted.
            player->paint(painter, r, m_dirty.intersected(r.toAlignedRect()).boundingRect());
            painter.restore();
        }
        break;
    }
}

void ScreenView::paintDrawing(QPainter& painter, const Control& panel, const QRectF& client) const
{
    const Drawing& drawing = *panel.drawing();
    DrawingCache& cache = m_drawings[&panel];
    const qreal dpr = devicePixelRatioF();
    const QSize device = QSizeF(drawing.size() * scale() * dpr).toSize();
    if (cache.drawing != &drawing || cache.pixmap.size() != device) {
        // A new scale: the whole drawing at once, from its fine raster.
        cache.drawing = &drawing;
        cache.pixmap = QPixmap::fromImage(drawing.raster().scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        cache.applied = drawing.dots().size();
    } else if (cache.applied < drawing.dots().size()) {
        QPainter p(&cache.pixmap);
        drawing.paintDots(p, scale() * dpr, cache.applied);
        cache.applied = drawing.dots().size();
    }
    cache.pixmap.setDevicePixelRatio(dpr);
    painter.drawPixmap(client.topLeft(), cache.pixmap);
}

void ScreenView::paintDrag(QPainter& painter) const
{
    if (!m_dragSource || m_dragSource->dragIcon())
        return;
    const QRectF source = toView(m_dragSource->screenGeometry());
    const QRectF outline(m_dragPos - m_dragGrab, source.size());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(96, 96, 96), std::max(2.0, scale()), Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outline);
}

// ---- hit testing ----

Control* ScreenView::hitList(const std::vector<std::unique_ptr<Control>>& list, const QPointF& twips) const
{
    auto order = paintOrder(list);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Control* c = const_cast<Control*>(*it);
        if (!c->isVisible() || c->kind() == ControlKind::Line)
            continue;
        const QRect g = c->screenGeometry();
        if (!QRectF(g).contains(twips))
            continue;
        if (c->isContainer()) {
            const int inset = c->clientInset();
            if (QRectF(g.adjusted(inset, inset, -inset, -inset)).contains(twips))
                if (Control* child = hitList(c->children(), twips))
                    return child;
        }
        return c;
    }
    return nullptr;
}

Control* ScreenView::controlAt(const QPointF& viewPos) const
{
    if (!m_screen || !screenRect().contains(viewPos))
        return nullptr;
    return hitList(m_screen->controls(), toTwips(viewPos));
}

MouseArgs ScreenView::argsFor(const Control& control, const QPointF& viewPos, int buttons,
                              Qt::KeyboardModifiers mods) const
{
    // Positions are in the control's client area (inside a panel's border).
    const int inset = control.clientInset();
    const QPointF t = toTwips(viewPos) - QPointF(control.screenGeometry().topLeft() + QPoint(inset, inset));
    return MouseArgs{buttons, shiftMask(mods), float(t.x()), float(t.y())};
}

// ---- input ----

namespace {
// While a modal box (the exit question) is open, the screen beneath takes no input, however
// the events reach it.
bool blockedByModalBox(const QWidget* view)
{
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != view->window();
}
} // namespace

// The mouse and a finger on a touch screen take the same path: a press, moves and a
// release, in widget coordinates. A finger is the left button held from touch to lift.

bool ScreenView::isTouchEcho(const QMouseEvent* event) const
{
    // A platform that also reports the touches handled here as mouse events, from the same
    // touch screen, would give a finger two presses. A platform that reports a touch screen
    // only as a mouse still plays: nothing is dropped until real touches have come.
    return m_touchSeen && event->pointingDevice() &&
           event->pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen;
}

void ScreenView::mousePressEvent(QMouseEvent* event)
{
    if (isTouchEcho(event))
        return;
    pointerPress(event->position(), event->globalPosition(), event->timestamp(), event->button(), event->modifiers(),
                 QGuiApplication::styleHints()->mouseDoubleClickDistance());
}

void ScreenView::mouseMoveEvent(QMouseEvent* event)
{
    if (isTouchEcho(event))
        return;
    pointerMove(event->position(), event->buttons(), event->modifiers());
}

void ScreenView::mouseReleaseEvent(QMouseEvent* event)
{
    if (isTouchEcho(event))
        return;
    pointerRelease(event->position(), event->button(), event->buttons(), event->modifiers());
}

void ScreenView::touchEvent(QTouchEvent* event)
{
    m_touchSeen = true;
    event->accept();
    if (event->type() == QEvent::TouchCancel) {
        cancelTouch();
        return;
    }
    // One finger plays; others touching meanwhile are ignored.
    for (const QEventPoint& point : event->points()) {
        if (m_touchId < 0 && point.state() == QEventPoint::Pressed) {
            m_touchId = point.id();
            m_touchPos = point.position();
            // A pointer arrives over a control before it presses there.
            pointerMove(point.position(), Qt::NoButton, Qt::NoModifier);
            pointerPress(point.position(), point.globalPosition(), event->timestamp(), Qt::LeftButton, Qt::NoModifier,
                         QGuiApplication::styleHints()->touchDoubleTapDistance());
        } else if (point.id() == m_touchId && point.state() == QEventPoint::Updated) {
            m_touchPos = point.position();
            pointerMove(point.position(), Qt::LeftButton, Qt::NoModifier);
        } else if (point.id() == m_touchId && point.state() == QEventPoint::Released) {
            m_touchId = -1;
            pointerRelease(point.position(), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        }
    }
}

void ScreenView::cancelTouch()
{
    if (m_touchId < 0)
        return;
    m_touchId = -1;
    m_swallowing = false;
    if (!m_screen)
        return;
    // The window system took the finger away: a drag ends without a drop, and a control
    // holding the pointer hears its button go up, but no click.
    if (m_dragSource) {
        m_dragSource = nullptr;
        unsetCursor();
        update();
        return;
    }
    if (Control* captured = std::exchange(m_captured, nullptr)) {
        m_buttonsDown = 0;
        m_screen->mouseUp(*captured, argsFor(*captured, m_touchPos, buttonMask(Qt::LeftButton), Qt::NoModifier));
    }
}

void ScreenView::pointerPress(QPointF pos, QPointF global, quint64 time, Qt::MouseButton button,
                              Qt::KeyboardModifiers mods, int doubleDistance)
{
    if (blockedByModalBox(this))
        return;
    const Press press{time, global, true};
    const Press switched = std::exchange(m_switchPress, Press{});
    m_lastPress = press;
    if (!m_screen)
        return;
    QToolTip::hideText();
    if (m_swallowing)
        return;
    if (switched.valid && press.time - switched.time <= quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval()) &&
        (press.global - switched.global).manhattanLength() <= doubleDistance) {
        m_swallowing = true;
        return;
    }
    if (m_dragSource)
        return;
    if (m_captured) {
        // Another button while one is already held: the captured control hears it.
        m_buttonsDown |= buttonMask(button);
        m_screen->mouseDown(*m_captured, argsFor(*m_captured, pos, buttonMask(button), mods));
        return;
    }
    Control* hit = controlAt(pos);
    if (!hit)
        return;
    if (button == Qt::LeftButton && hit->dragAutomatic()) {
        // A drag starts instead of a click; the control stays where it is.
        m_dragSource = hit;
        m_dragPos = pos;
        m_dragGrab = pos - toView(hit->screenGeometry()).topLeft();
        if (hit->dragIcon()) {
            const int side = int(32 * std::clamp(scale(), 1.0, 2.0));
            setCursor(QCursor(hit->dragIcon()->pixmap(QSize(side, side))));
        }
        update();
        return;
    }
    m_captured = hit;
    m_buttonsDown = buttonMask(button);
    m_screen->mouseDown(*hit, argsFor(*hit, pos, buttonMask(button), mods));
}

void ScreenView::pointerMove(QPointF pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    if (!m_screen || m_swallowing || blockedByModalBox(this))
        return;
    if (m_dragSource) {
        m_dragPos = pos;
        update();
        return;
    }
    if (m_captured) {
        m_screen->mouseMove(*m_captured, argsFor(*m_captured, pos, buttonMask(buttons), mods));
        return;
    }
    Control* hit = controlAt(pos);
    Screen* const before = m_screen;
    if (hit)
        m_screen->mouseMove(*hit, argsFor(*hit, pos, buttonMask(buttons), mods));
    if (m_screen == before)
        updateCursor(hit);
}

void ScreenView::pointerRelease(QPointF pos, Qt::MouseButton button, Qt::MouseButtons stillHeld,
                                Qt::KeyboardModifiers mods)
{
    if (blockedByModalBox(this))
        return;
    if (m_swallowing) {
        m_swallowing = stillHeld != Qt::NoButton;
        return;
    }
    if (!m_screen)
        return;
    if (m_dragSource) {
        if (button != Qt::LeftButton)
            return;
        Control* source = m_dragSource;
        m_dragSource = nullptr;
        updateCursor(controlAt(pos));
        update();
        Control* target = controlAt(pos);
        const int inset = target ? target->clientInset() : 0;
        const QPointF t = target ? toTwips(pos) - QPointF(target->screenGeometry().topLeft() + QPoint(inset, inset)) : toTwips(pos);
        m_screen->dragDrop(target, *source, float(t.x()), float(t.y()));
        return;
    }
    if (!m_captured)
        return;
    Control* captured = m_captured;
    m_buttonsDown &= ~buttonMask(button);
    if (m_buttonsDown == 0)
        m_captured = nullptr;
    Screen* const before = m_screen;
    m_screen->mouseUp(*captured, argsFor(*captured, pos, buttonMask(button), mods));
    if (m_screen != before)
        return;
    // A click is a press and a release on the same control.
    if (button == Qt::LeftButton && controlAt(pos) == captured)
        m_screen->click(*captured);
}

void ScreenView::leaveEvent(QEvent*)
{
    if (!m_dragSource && !m_captured)
        unsetCursor();
}

bool ScreenView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        // Fingers on a touch screen play; a touchpad moves the pointer as it always does.
        if (static_cast<QTouchEvent*>(event)->device()->type() != QInputDevice::DeviceType::TouchScreen)
            break;
        touchEvent(static_cast<QTouchEvent*>(event));
        return true;
    default:
        break;
    }
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Control* hit = (m_dragSource || m_captured) ? nullptr : controlAt(help->pos());
        if (hit && !hit->toolTip().isEmpty())
            QToolTip::showText(help->globalPos(), hit->toolTip(), this, toView(hit->visibleScreenRect()).toRect());
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void ScreenView::updateCursor(const Control* hovered)
{
    const Picture* icon = nullptr;
    if (hovered && hovered->mousePointer() != MousePointer::Default && hovered->mouseIcon())
        icon = hovered->mouseIcon().get();
    if (!icon || icon->isNull()) {
        unsetCursor();
        return;
    }
    const int side = int(32 * std::clamp(scale(), 1.0, 2.0));
    setCursor(QCursor(icon->pixmap(QSize(side, side)), 0, 0));
}

void ScreenView::endGesture()
{
    m_dragSource = nullptr;
    m_captured = nullptr;
    m_buttonsDown = 0;
}

// ---- model changes ----

QRect ScreenView::placeOf(const Control& c) const
{
    if (c.kind() != ControlKind::Line)
        return c.screenGeometry();
    const QPoint origin = c.screenGeometry().topLeft() - c.geometry().topLeft();
    const QLine l = c.line().translated(origin);
    return QRect(l.p1(), l.p2()).normalized();
}

QRect ScreenView::placeInView(const QRect& twips) const
{
    // Two pixels around take in antialiased edges and lines of a design pixel or two.
    return toView(twips).toAlignedRect().adjusted(-2, -2, 2, 2);
}

void ScreenView::controlChanged(Control& control)
{
    // The control's old place and its new one; what lies over or under it there is painted
    // again with it.
    QRect& place = m_places[&control];
    const QRect now = placeOf(control);
    update(QRegion(placeInView(place)) + placeInView(now));
    place = now;
    // What it holds moves and hides with it.
    std::function<void(const Control&)> refresh = [&](const Control& c) {
        for (const auto& child : c.children()) {
            m_places[child.get()] = placeOf(*child);
            refresh(*child);
        }
    };
    refresh(control);
    announceMarks();
}

// ---- accessibility ----

QAccessibleInterface* ScreenView::accessibleInterface(Control& control) const
{
    auto it = m_accessibleIds.find(&control);
    if (it != m_accessibleIds.end())
        return QAccessible::accessibleInterface(it->second);
    auto* iface = new ControlAccessible(const_cast<ScreenView*>(this), &control);
    m_accessibleIds[&control] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

void ScreenView::dropAccessibleControls()
{
    for (const auto& [control, id] : m_accessibleIds)
        QAccessible::deleteAccessibleInterface(id);
    m_accessibleIds.clear();
    m_accessibleControls.clear();
    m_marks.clear();
}

void ScreenView::announceMarks()
{
    // A mark that has just appeared tells a screen reader the answer to the last drop.
    for (auto& [mark, wasShown] : m_marks) {
        const bool shown = mark->isShown();
        if (shown && !wasShown) {
            QAccessibleEvent event(accessibleInterface(*mark), QAccessible::ObjectShow);
            sendAccessibilityEvent(event);
        }
        wasShown = shown;
    }
}

void ScreenView::movieLoaded(Control& player) { syncPlayer(player); }

void ScreenView::syncPlayer(Control& control)
{
    auto& player = m_players[&control];
    if (!player) {
        player = std::make_unique<movie::MoviePlayer>(m_mixer);
        connect(player.get(), &movie::MoviePlayer::frameChanged, this, [this, c = &control, p = player.get()] {
            // Only the part of the picture that changed is painted again.
            const QRegion changed = p->takeChangedArea(toView(c->screenGeometry()));
            if (c->isShown())
                update(changed.intersected(toView(c->visibleScreenRect()).toAlignedRect().adjusted(-1, -1, 1, 1)));
        });
    }
    player->setPlaying(control.playSetting());
    player->setVisible(control.isShown());
    int& loaded = m_loadedCount[&control];
    if (control.movieLoads() != loaded) {
        loaded = control.movieLoads();
        player->load(control.movie());
    }
    update();
}

} // namespace screens
