// The tray icon's picture on any panel, and its symbolic form installed for trays that look it up
// by name.
#include "style/tray_icon_art.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace zorvik;
using namespace Qt::StringLiterals;

namespace {

// WCAG's relative luminance, with the 0.05 its contrast ratio adds on both sides.
double luminance(QRgb c)
{
    const auto linear = [](int v) { return v <= 10 ? v / 3294.6 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c)) + 0.05;
}

} // namespace

class TestStyle : public QObject {
    Q_OBJECT

private slots:
    // Without a colour from the tray, the picture reaches 3:1 on dark and light panels, black to
    // white, at the sizes trays show, measured as the end-to-end checks measure screenshots: over
    // the pixels the icon changes, the contrast ratio its most contrasting quarter reaches. Mid
    // greys (luminance 0.1-0.24) are the hardest case for any picture: from 22 pixels they reach
    // 3:1 as well, at 16 a little less.
    void trayIconOnAnyPanel()
    {
        for (int grey = 0; grey <= 255; grey += 15)
            for (const int side : {16, 22, 24, 32}) {
                QImage shown(side, side, QImage::Format_RGB32);
                shown.fill(qRgb(grey, grey, grey));
                QPainter(&shown).drawImage(0, 0, TrayIconArt::image(side, std::nullopt));
                std::vector<double> ratios;
                for (int i = 0; i < side * side; ++i)
                    if (const QRgb p = shown.pixel(i % side, i / side);
                        std::max({std::abs(qRed(p) - grey), std::abs(qGreen(p) - grey), std::abs(qBlue(p) - grey)}) > 8)
                        ratios.push_back(std::max(luminance(p), luminance(qRgb(grey, grey, grey)))
                                         / std::min(luminance(p), luminance(qRgb(grey, grey, grey))));
                std::sort(ratios.begin(), ratios.end());
                const double ratio = ratios[ratios.size() * 3 / 4];
                QVERIFY2(ratio >= (side < 22 && grey >= 90 && grey <= 135 ? 2.5 : 3.0),
                         qPrintable(u"grey %1 at %2 px: %3"_s.arg(grey).arg(side).arg(ratio, 0, 'f', 2)));
            }
    }

    // The installed symbolic icon, as desktops render it (librsvg through GdkPixbuf), covers what
    // the art covers.
    void symbolicIconHasTheArtsShape()
    {
        QTemporaryDir dir;
        const QString rendered = dir.filePath(u"symbolic.png"_s);
        QCOMPARE(QProcess::execute(u"gdk-pixbuf-thumbnailer"_s,
                                   {u"-s"_s, u"80"_s, QStringLiteral(ZORVIK_SYMBOLIC_ICON), rendered}), 0);
        const QImage svg = QImage(rendered).convertToFormat(QImage::Format_ARGB32);
        const QImage art = TrayIconArt::image(80, QColor(Qt::black)).convertToFormat(QImage::Format_ARGB32);
        int covered = 0, different = 0;
        for (int i = 0; i < 80 * 80; ++i) {
            const int a = qAlpha(svg.pixel(i % 80, i / 80)), b = qAlpha(art.pixel(i % 80, i / 80));
            covered += std::max(a, b) > 64;
            different += std::abs(a - b) > 64;
        }
        QVERIFY2(different * 50 <= covered, qPrintable(u"%1 of %2 pixels differ"_s.arg(different).arg(covered)));
    }
};

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
