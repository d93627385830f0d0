#include "style/keyboard_focus.h"

#include <QFocusEvent>
#include <QWidget>

namespace zorvik {

void KeyboardFocus::focusIn(const QFocusEvent *event)
{
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        m_fromKeyboard = true;
        break;
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
        break; // coming back from a popover or another window: keep how the focus arrived
    default:
        m_fromKeyboard = false;
    }
}

void KeyboardFocus::focusOut(const QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        m_fromKeyboard = false;
}

bool KeyboardFocus::ringShown(const QWidget *widget) const
{
    return m_fromKeyboard && widget->hasFocus();
}

} // namespace zorvik
