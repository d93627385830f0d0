#pragma once

class QFocusEvent;
class QWidget;

namespace zorvik {

// Whether a control's keyboard focus arrived from the keyboard (Tab, Backtab or a shortcut), so
// that its focus ring is drawn only then: a click that takes the focus does not ring it. The
// control hands over its focus events.
class KeyboardFocus {
public:
    void focusIn(const QFocusEvent *event);
    void focusOut(const QFocusEvent *event);

    // True while the widget holds a focus that came from the keyboard.
    bool ringShown(const QWidget *widget) const;

private:
    bool m_fromKeyboard = false;
};

} // namespace zorvik
