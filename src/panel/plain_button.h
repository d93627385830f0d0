#pragma once

#include "style/keyboard_focus.h"

#include <QAbstractButton>

namespace zorvik {

// A button in the plain style: no bezel, the subclass draws only its label. Pressed with Space
// or Return, and it knows whether its focus came from the keyboard, so that a ring is drawn
// only then (a click does not ring it).
class PlainButton : public QAbstractButton {
    Q_OBJECT

public:
    using QAbstractButton::QAbstractButton;

protected:
    // True while the button holds a focus that arrived by Tab, Backtab or a shortcut.
    bool showsFocusRing() const { return m_keyboardFocus.ringShown(this); }

    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    KeyboardFocus m_keyboardFocus;
};

} // namespace zorvik
