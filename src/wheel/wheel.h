#pragma once

#include "style/keyboard_focus.h"
#include "wheel/wheel_layer.h"

#include <QPointF>
#include <QString>
#include <QWidget>

namespace zorvik {

class Game;
class ReducedMotion;

// The roulette wheel: 280 x 280, drawn from the game's state, flicked with the pointer.
// Only the inscribed circle takes presses; a drag starts after 2 points of movement and hands
// every further location to the game in the wheel's 328 x 328 design space. Tab reaches it (a
// click does not take the focus), a ring round the rim shows a focus that came from the
// keyboard, and Space or Return spins it as the accessible "Spin" does.
class Wheel : public QWidget {
    Q_OBJECT

public:
    static constexpr int side = 280;
    static constexpr double designScale = 328.0 / 280.0;

    Wheel(Game &game, const ReducedMotion &reducedMotion, QWidget *parent = nullptr);

    Game &game() const { return m_game; }
    // Starts a spin as a flick would, at the velocity of a firm one (the accessible "Spin").
    void spin();

    // A location in the wheel's own 280 x 280 space as a point of the 328 x 328 design space.
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
    void gameChanged();
    bool insideCircle(QPointF point) const;

    Game &m_game;
    const ReducedMotion &m_reducedMotion;
    // The pointer gesture in progress (not game state: where the press was and whether the
    // 2-point threshold has been passed).
    bool m_pressed = false;
    bool m_dragging = false;
    QPointF m_pressPoint;
    // The wheel is drawn shape by shape until it first turns, then from the layer, which
    // is prepared only then: a panel that is only looked at never holds it.
    WheelLayer m_layer;
    bool m_turned = false;
    double m_paintedWheel = 0;
    // The accessible value last reported, to tell when it changes.
    QString m_reportedValue;
    KeyboardFocus m_keyboardFocus;
};

} // namespace zorvik
