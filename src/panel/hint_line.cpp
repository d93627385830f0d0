#include "panel/hint_line.h"

#include "style/fonts.h"
#include "style/palette.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace zorvik {

namespace {
constexpr int spaceAbove = 8;
constexpr int spaceBelow = 12;
constexpr int sideSpace = 14;

QFont hintFont()
{
    return Fonts::rounded(11);
}

int textHeight()
{
    return int(std::ceil(QFontMetricsF(hintFont()).height()));
}
} // namespace

HintLine::HintLine(QWidget *parent) : QLabel(parent)
{
    setText(tr("Choose a color, then flick the wheel."));
    setFixedHeight(spaceAbove + textHeight() + spaceBelow);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize HintLine::sizeHint() const
{
    return {300, spaceAbove + textHeight() + spaceBelow};
}

QSize HintLine::minimumSizeHint() const
{
    return {2 * sideSpace, spaceAbove + textHeight() + spaceBelow};
}

QString HintLine::shownText() const
{
    return QFontMetricsF(hintFont()).elidedText(text(), Qt::ElideRight, width() - 2 * sideSpace);
}

void HintLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area(sideSpace, spaceAbove, width() - 2 * sideSpace, textHeight());
    painter.setFont(hintFont());
    painter.setPen(withOpacity(Palette::ink().resolve(this), 0.65));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, shownText());
}

} // namespace zorvik
