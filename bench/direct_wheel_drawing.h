#pragma once

// The wheel frame drawn the plain way: every path built at its turned angle and every number
// laid out and filled as the outline of its text, each frame. The frame benchmark shows what
// the layer saves against it.

#include "model/roulette.h"
#include "style/fonts.h"
#include "style/palette.h"
#include "wheel/wheel_painter.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace zorvik::testing {

inline void paintWheelDirectly(QPainter &p, QSizeF canvas, const WheelFrame &frame, bool dark)
{
    using std::numbers::pi;
    const auto circle = [](double r) { return QRectF(164 - r, 164 - r, 2 * r, 2 * r); };
    const auto deg = [](double a) { return a * 180.0 / pi; };
    const auto ellipse = [&](double r, const QPen &pen, const QBrush &brush) {
        p.setPen(pen);
        p.setBrush(brush);
        p.drawEllipse(circle(r));
    };
    const QColor cream = Palette::cream().resolve(dark);
    const QColor ink = Palette::ink().resolve(dark);

    p.save();
    p.fillRect(QRectF(QPointF(0, 0), canvas), cream); // the panel's card
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(canvas.width() / 328.0, canvas.height() / 328.0);
    ellipse(160, Qt::NoPen, WheelPainter::wheelRim().resolve(dark));
    ellipse(155, Qt::NoPen, WheelPainter::wheelTrack().resolve(dark));
    ellipse(146, QPen(QColor::fromRgbF(0, 0, 0, 0.08f), 9), Qt::NoBrush);
    ellipse(139, Qt::NoPen, cream);

    const double step = Roulette::tau / 37;
    const double half = step * 0.5;
    const QFont numberFont = Fonts::rounded(11, QFont::DemiBold);
    for (int i = 0; i < 37; ++i) {
        const int n = Roulette::pockets[std::size_t(i)];
        const double a = step * i + frame.wheel - pi / 2;
        const double from = a - half + 0.007, to = a + half - 0.007;
        QPainterPath sector;
        sector.moveTo(164 + 137 * std::cos(from), 164 + 137 * std::sin(from));
        sector.arcTo(circle(137), -deg(from), -deg(to - from));
        sector.arcTo(circle(62), -deg(to), deg(to - from));
        sector.closeSubpath();
        p.fillPath(sector, WheelPainter::pocketColor(n));
        if (frame.result == n) {
            QPen outline(WheelPainter::resultHighlight(), 2);
            outline.setJoinStyle(Qt::MiterJoin);
            outline.setMiterLimit(10);
            p.strokePath(sector, outline);
        }
        p.save();
        p.translate(164 + 110 * std::cos(a), 164 + 110 * std::sin(a));
        p.rotate(deg(a + pi / 2));
        // The outlines of the glyphs, their line box centred on the pocket's number place.
        const QFontMetricsF metrics(numberFont);
        const QString text = QString::number(n);
        QPainterPath glyphs;
        glyphs.addText(-metrics.horizontalAdvance(text) / 2, metrics.ascent() - metrics.height() / 2, numberFont, text);
        p.fillPath(glyphs, Palette::wheelLabel());
        p.restore();
    }

    ellipse(58, Qt::NoPen, WheelPainter::hubRim().resolve(dark));
    ellipse(52, Qt::NoPen, cream);
    ellipse(46, QPen(withOpacity(ink, 0.09), 1), Qt::NoBrush);
    // What does not turn is drawn by the wheel's own routines.
    WheelPainter::paintHubWord(p, dark);
    WheelPainter::paintBall(p, WheelPainter::ballCentre(frame.ball, frame.radius));
    p.restore();
}

} // namespace zorvik::testing
