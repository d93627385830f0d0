#include "platform/fonts.h"

namespace zorvik::Fonts {

// Placeholder until the bundled fonts land: the desktop's default face.
void load() {}

QFont rounded(qreal size, QFont::Weight weight)
{
    return system(size, weight);
}

QFont system(qreal size, QFont::Weight weight)
{
    QFont font;
    font.setPointSizeF(size * 0.75);
    font.setWeight(weight);
    return font;
}

QFont hubWord()
{
    QFont font = system(24, QFont::Medium);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -2.28);
    return font;
}

} // namespace zorvik::Fonts
