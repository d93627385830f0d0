#include "panel/header_button.h"

#include "panel/palette.h"
#include "platform/fonts.h"
#include "platform/symbols.h"

#include <QKeyEvent>
#include <QPainter>

namespace zorvik {

HeaderButton::HeaderButton(const QString &symbol, QSize size, QWidget *parent)
    : QAbstractButton(parent), m_symbol(symbol), m_size(size)
{
    setFixedSize(size);
    // Tab reaches it, a click does not take the focus away from where it was.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void HeaderButton::setBackgroundOpacity(double opacity)
{
    if (opacity == m_backgroundOpacity)
        return;
    m_backgroundOpacity = opacity;
    update();
}

QSize HeaderButton::sizeHint() const
{
    return m_size;
}

void HeaderButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor tint = Palette::headerTint().resolve(this);
    const QRectF bounds = rect();

    if (m_backgroundOpacity > 0.0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(tint, m_backgroundOpacity));
        painter.drawRoundedRect(bounds, 9, 9);
    }

    // The plain style's pressed look: the glyph fades while the pointer holds it down.
    double glyphOpacity = 1.0;
    if (!isEnabled())
        glyphOpacity = 0.4;
    else if (isDown())
        glyphOpacity = 0.55;
    Symbols::draw(painter, m_symbol, bounds, Fonts::rounded(14), withOpacity(tint, glyphOpacity));

    if (m_keyboardFocus && hasFocus()) {
        QPen ring(withOpacity(tint, 0.9), 2.0);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(1.5, 1.5, -1.5, -1.5), 8, 8);
    }
}

void HeaderButton::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void HeaderButton::focusInEvent(QFocusEvent *event)
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

void HeaderButton::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace zorvik
