#pragma once

#include <QFont>

namespace zorvik {

// The bundled fonts. Sizes are in device-independent pixels; fractional sizes are kept.
namespace Fonts {

// Registers the bundled fonts the panel uses once; safe to call again. Other weights of the
// rounded face are registered when first asked for.
void load();

// The rounded face (bundled Nunito) at the given size and weight.
QFont rounded(qreal size, QFont::Weight weight = QFont::Normal);

// The desktop's default face (not rounded) at the given size and weight.
QFont system(qreal size, QFont::Weight weight = QFont::Normal);

// The hub word's face: "AvenirNext-Medium" where installed, else the bundled medium sans,
// size 24 with tracking -2.28.
QFont hubWord();

} // namespace Fonts
} // namespace zorvik
