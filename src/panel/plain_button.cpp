#include "panel/plain_button.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace zorvik {

void PlainButton::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PlainButton::focusInEvent(QFocusEvent *event)
{
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        m_keyboardFocus = true;
        break;
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
        break; // coming back from a popover or another window: keep how the focus arrived
    default:
        m_keyboardFocus = false;
    }
    QAbstractButton::focusInEvent(event);
}

void PlainButton::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace zorvik
