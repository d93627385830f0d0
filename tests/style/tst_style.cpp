// The look's fixed values: the palette in both appearances, the bundled faces, the drawn
// symbols and the tray icon.
#include "style/fonts.h"
#include "style/palette.h"
#include "style/symbols.h"
#include "style/tray_icon_art.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QIcon>
#include <QPainter>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

namespace {
// The width in pixels of the named symbol drawn for the font size into a 40 x 40 box (alpha
// above a quarter), and its centre's distance from the box's.
std::pair<int, double> symbol(const char *name, qreal size)
{
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Symbols::draw(painter, QString::fromLatin1(name), QRectF(0, 0, 40, 40), Fonts::rounded(size), Qt::darkGreen);
    QRect box;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            box |= qAlpha(image.pixel(x, y)) > 64 ? QRect(x, y, 1, 1) : QRect();
    return {box.width(), (QRectF(box).center() - QPointF(20, 20)).manhattanLength()};
}
} // namespace

class TestStyle : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::load(); }

    // Components as the look gives them; headerTint is given in calibrated RGB, so these are
    // its sRGB values after conversion.
    void palette_data()
    {
        QTest::addColumn<QColor>("light");
        QTest::addColumn<QColor>("dark");
        QTest::addColumn<QList<double>>("components"); // light R, G, B, then dark R, G, B
        const auto fixed = [](const QColor &c) { return std::pair{c, c}; };
        const auto rows = std::initializer_list<std::tuple<const char *, std::pair<QColor, QColor>, QList<double>>>{
            {"cream", {Palette::cream().light(), Palette::cream().dark()}, {0.96, 0.94, 0.89, 0.1, 0.15, 0.13}},
            {"ink", {Palette::ink().light(), Palette::ink().dark()}, {0.25, 0.29, 0.28, 0.9, 0.94, 0.9}},
            {"headerTint", {Palette::headerTint().light(), Palette::headerTint().dark()}, {0.4214, 0.5398, 0.4756, 0.7057, 0.8080, 0.7349}},
            {"rose", fixed(Palette::rose()), {0.72, 0.39, 0.39, 0.72, 0.39, 0.39}},
            {"charcoal", fixed(Palette::charcoal()), {0.32, 0.36, 0.36, 0.32, 0.36, 0.36}},
            {"sage", fixed(Palette::sage()), {0.48, 0.61, 0.49, 0.48, 0.61, 0.49}},
            {"wheelLabel", fixed(Palette::wheelLabel()), {0.96, 0.94, 0.89, 0.96, 0.94, 0.89}},
        };
        for (const auto &[name, colours, components] : rows)
            QTest::newRow(name) << colours.first << colours.second << components;
    }
    void palette()
    {
        QFETCH(QColor, light);
        QFETCH(QColor, dark);
        QFETCH(QList<double>, components);
        const QList<double> seen{light.redF(), light.greenF(), light.blueF(), dark.redF(), dark.greenF(), dark.blueF()};
        for (qsizetype i = 0; i < seen.size(); ++i)
            QVERIFY2(qAbs(seen[i] - components[i]) < 2e-4, qPrintable(QString::number(seen[i], 'f', 4)));
        QVERIFY(light.alpha() == 255 && dark.alpha() == 255);
    }

    // The bundled rounded face in the weight asked for, a point one pixel; the hub word's face
    // where installed, else the bundled sans. Symbols: about an em wide, centred, twice the size
    // with twice the font, and nothing for an unknown name.
    void facesAndSymbols()
    {
        for (const QFont::Weight weight : {QFont::Normal, QFont::Bold}) {
            const QFont font = Fonts::rounded(14, weight);
            QVERIFY(QFontInfo(font).family() == u"Nunito"_s && QFontInfo(font).weight() == int(weight));
            QVERIFY(QFontMetricsF(font).height() > 14 && QFontMetricsF(font).height() < 14 * 1.6);
        }
        const bool avenir = QFontDatabase::hasFamily(u"Avenir Next"_s);
        QCOMPARE(QFontInfo(Fonts::hubWord()).family(), avenir ? u"Avenir Next"_s : u"Inter"_s);
        for (const char *name : {"minus", "circle.lefthalf.filled", "pin", "speaker.slash", "speaker.wave.1",
                                 "checkmark"}) {
            const auto [width, offCentre] = symbol(name, 14);
            QVERIFY2(width >= 7 && width <= 16 && offCentre <= 1.5, name);
            QVERIFY2(qAbs(symbol(name, 28).first / double(width) - 2) < 0.25, name);
        }
        QCOMPARE(symbol("speaker.wave.3", 14).first, 0);
    }

    // The tray icon in the tray's ink, drawn for a device pixel ratio of 2 rather than scaled.
    void trayIcon()
    {
        for (const bool dark : {false, true}) {
            const QIcon icon = TrayIconArt::icon(dark);
            const QColor ink = dark ? Qt::white : Qt::black;
            QCOMPARE(icon.pixmap(QSize(20, 20), 1.0).toImage().pixelColor(15, 3), ink); // the ball
            const QImage fine = icon.pixmap(QSize(20, 20), 2.0).toImage();
            QCOMPARE(fine.size(), QSize(40, 40));
            // The top oval's stroke, cut where the hole is just before the ball.
            QVERIFY(fine.pixelColor(26, 6).alpha() == 255 && fine.pixelColor(28, 6).alpha() < 40);
            QCOMPARE(fine.pixelColor(30, 6), ink);
        }
    }
};

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
