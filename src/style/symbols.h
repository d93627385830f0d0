#pragma once

#include <QColor>
#include <QFont>

class QPainter;
class QRectF;

namespace zorvik {

// The one-colour symbols the panel draws in code.
enum class Symbol {
    minus,            // a short level stroke: hide
    halfFilledCircle, // a ring with its left half filled: appearance
    pin,              // an upright push-pin: keep on top
    speakerSlash,     // a loudspeaker struck through: muted
    speakerWave,      // a loudspeaker with one sound wave
    checkmark,
};

namespace Symbols {

// Draws the symbol centred in rect, sized for the font in effect, in the given colour.
void draw(QPainter &painter, Symbol symbol, const QRectF &rect, const QFont &font, const QColor &color);

} // namespace Symbols
} // namespace zorvik
