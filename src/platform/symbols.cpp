#include "platform/symbols.h"

#include <QPainter>

namespace zorvik::Symbols {

// Placeholder until the symbol drawings land: a small dot.
void draw(QPainter &painter, const QString &, const QRectF &rect, const QFont &, const QColor &color)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(rect.center(), 2.0, 2.0);
    painter.restore();
}

} // namespace zorvik::Symbols
