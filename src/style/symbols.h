#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QString>

class QPainter;
class QRectF;

namespace zorvik {

// One-colour symbols drawn in code, by name: "minus", "circle.lefthalf.filled", "pin",
// "speaker.slash", "speaker.wave.1", "checkmark". Sized by the font in effect, tinted by the
// foreground colour.
namespace Symbols {

// Draws the named symbol centred in rect, sized for the font, in the given colour.
void draw(QPainter &painter, const QString &name, const QRectF &rect, const QFont &font,
          const QColor &color);

} // namespace Symbols
} // namespace zorvik
