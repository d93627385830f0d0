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
    m_keyboardFocus.focusIn(event);
    QAbstractButton::focusInEvent(event);
}

void PlainButton::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus.focusOut(event);
    QAbstractButton::focusOutEvent(event);
}

} // namespace zorvik
