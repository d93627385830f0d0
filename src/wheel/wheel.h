#pragma once

#include "model/wheel_geometry.h"
#include "style/keyboard_focus.h"
#include "wheel/wheel_layer.h"

#include <QPointF>
#include <QString>
#include <QWidget>

namespace zorvik {

class Game;
class ReducedMotion;

// The roulette wheel, a square WheelGeometry::shownSide pixels wide, drawn from the game's
// state, flicked with the pointer. Only the inscribed circle takes presses; a drag starts after
// 2 pixels of movement and hands every further location to the game in the wheel's design
// space. Tab reaches it (a
// click does not take the focus), a ring round the rim shows a focus that came from the
// keyboard, and Space or Return spins it as the accessible "Spin" does.
class Wheel : public QWidget {
    Q_OBJECT

public:
    static constexpr int side = WheelGeometry::shownSide;
    // Design units per pixel.
    static constexpr double designScale = WheelGeometry::side / side;

    Wheel(Game &game, const ReducedMotion &reducedMotion, QWidget *parent = nullptr);

    // Starts a spin as a flick would, at the velocity of a firm one (the accessible "Spin").
    void spin();

    // A location in the wheel's own pixels as a point of the design space.
    static QPointF designPoint(QPointF local) { return local * designScale; }

    // What assistive technologies read as the wheel's value: "Spinning" during a spin,
    // otherwise the game's message, both in the user's language.
    QString accessibleValue() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Ends the pointer gesture; a drag that had started is released to the game.
    void endDrag();
    // Tells assistive technologies the value it has now.
    void reportValue();
    bool insideCircle(QPointF point) const;

    Game &m_game;
    const ReducedMotion &m_reducedMotion;
    // The pointer gesture in progress (not game state: where the press was and whether the
    // 2-pixel threshold has been passed).
    bool m_pressed = false;
    bool m_dragging = false;
    QPointF m_pressPoint;
    // The wheel is drawn shape by shape until it first turns, then from the layer, which
    // is prepared only then: a panel that is only looked at never holds it.
    WheelLayer m_layer;
    bool m_turned = false;
    KeyboardFocus m_keyboardFocus;
};

} // namespace zorvik
