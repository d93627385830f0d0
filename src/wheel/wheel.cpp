#include "wheel/wheel.h"

#include "game/game.h"
#include "game/message_text.h"
#include "desktop/reduced_motion.h"
#include "style/palette.h"
#include "wheel/wheel_accessible.h"
#include "wheel/wheel_painter.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace zorvik {

namespace {
constexpr double minimumDistance = 2.0;
// The focus ring lies round the outer rim (WheelGeometry::outerRim, 136.6 pixels from the
// centre), inside the wheel's square.
constexpr double ringRadius = 138.5;
constexpr double ringWidth = 2.5;
}

Wheel::Wheel(Game &game, const ReducedMotion &reducedMotion, QWidget *parent)
    : QWidget(parent), m_game(game), m_reducedMotion(reducedMotion)
{
    WheelAccessible::registerFactory();
    setFixedSize(side, side);
    // The wheel lies on the panel's plain card and its drawing fills its corners with the
    // card's colour: as an opaque widget, a frame repaints only the wheel, not the panel below.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    // Drawn again when what it shows moves; the first turn brings the layer in.
    connect(&m_game, &Game::wheelChanged, this, [this] {
        m_turned = true;
        update();
    });
    for (const auto changed : {&Game::ballChanged, &Game::radiusChanged})
        connect(&m_game, changed, this, [this] { update(); });
    connect(&m_game, &Game::resultChanged, this, [this] { update(); });
    // The value is "Spinning" for the whole run, and the message only when none runs.
    connect(&m_game, &Game::spinningChanged, this, &Wheel::reportValue);
    connect(&m_game, &Game::messageChanged, this, [this] {
        if (!m_game.spinning())
            reportValue();
    });
}

QString Wheel::accessibleValue() const
{
    return m_game.spinning() ? tr("Spinning") : MessageText::of(m_game.messageMeaning());
}

void Wheel::reportValue()
{
    // The result that ends a spin is the game's announcement; spoken here as well, a screen
    // reader on the focused wheel would say it twice.
    WheelAccessible::valueChanged(this, accessibleValue(), m_game.spinning());
}

void Wheel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const WheelFrame frame{m_game.wheel(), m_game.ball(), m_game.radius(), m_game.result()};
    const bool dark = isDarkAppearance(this);
    if (m_turned)
        m_layer.paint(painter, QSizeF(size()), frame, dark);
    else
        WheelPainter::paint(painter, QSizeF(size()), frame, dark);
    if (m_keyboardFocus.ringShown(this)) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(withOpacity(Palette::headerTint().resolve(dark), 0.9), ringWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(side / 2.0, side / 2.0), ringRadius, ringRadius);
    }
}

void Wheel::hideEvent(QHideEvent *)
{
    // A hidden panel gives the layer's memory back, and draws the wheel shape by shape when it
    // shows again, until the wheel turns.
    m_layer.release();
    m_turned = false;
    // Nor does a hidden wheel get the release of a drag.
    endDrag();
}

bool Wheel::insideCircle(QPointF point) const
{
    const double r = side / 2.0;
    const double dx = point.x() - r;
    const double dy = point.y() - r;
    return dx * dx + dy * dy <= r * r;
}

void Wheel::mousePressEvent(QMouseEvent *event)
{
    // A press while a drag is open means its release never came: that drag is over.
    if (event->button() == Qt::LeftButton)
        endDrag();
    // The corners outside the circle are not the wheel's: leave the press to what lies behind.
    if (event->button() != Qt::LeftButton || !insideCircle(event->position())) {
        event->ignore();
        return;
    }
    m_pressed = true;
    m_dragging = false;
    m_pressPoint = event->position();
    event->accept();
}

void Wheel::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed) {
        event->ignore();
        return;
    }
    const QPointF location = event->position();
    if (!m_dragging) {
        const QPointF moved = location - m_pressPoint;
        if (std::hypot(moved.x(), moved.y()) < minimumDistance)
            return;
        m_dragging = true;
    }
    m_game.drag(designPoint(location));
}

void Wheel::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressed || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    endDrag();
}

void Wheel::endDrag()
{
    const bool dragged = m_dragging;
    m_pressed = false;
    m_dragging = false;
    if (dragged)
        m_game.release(m_reducedMotion.preferred());
}

void Wheel::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    // A held key spins once.
    if (!event->isAutoRepeat())
        spin();
    event->accept();
}

void Wheel::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus.focusIn(event);
    update();
    QWidget::focusInEvent(event);
}

void Wheel::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus.focusOut(event);
    update();
    QWidget::focusOutEvent(event);
}

void Wheel::spin()
{
    m_game.start(7.0, m_reducedMotion.preferred());
}

} // namespace zorvik
