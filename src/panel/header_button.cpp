#include "panel/header_button.h"

#include "style/fonts.h"
#include "style/palette.h"

#include <QPainter>

namespace zorvik {

HeaderButton::HeaderButton(Symbol symbol, QSize size, QWidget *parent)
    : PlainButton(parent), m_symbol(symbol), m_size(size)
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

void HeaderButton::setSymbol(Symbol symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
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

    if (showsFocusRing()) {
        QPen ring(withOpacity(tint, 0.9), 2.0);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(1.5, 1.5, -1.5, -1.5), 8, 8);
    }
}

} // namespace zorvik
