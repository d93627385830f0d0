// The panel's bundled resources: the fonts, the symbols drawn at a font's size, and the German
// catalogue of the panel's fixed texts (other languages keep the English keys).
#include "support/fakes.h"

#include "panel/content.h"
#include "platform/color_scheme.h"
#include "platform/reduced_motion.h"
#include "platform/translations.h"
#include "style/fonts.h"
#include "style/symbols.h"
#include "wheel/wheel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QStandardPaths>
#include <QtTest>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

namespace {

const QColor tint(90, 120, 100);

QImage render(const QString &name, qreal size, qreal ratio = 1)
{
    QImage image((QSizeF(40, 40) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Symbols::draw(painter, name, QRectF(0, 0, 40, 40), Fonts::rounded(size), tint);
    return image;
}

// The ink's bounding box in logical pixels (alpha above a quarter).
QRectF ink(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 64)
                box |= QRect(x, y, 1, 1);
    const qreal r = image.devicePixelRatio();
    return QRectF(QPointF(box.topLeft()) / r, QSizeF(box.size()) / r);
}

} // namespace

class TestFonts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Fonts::load();
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    }

    // The bundled rounded face is the one used, in the weight asked for (bold is registered when
    // first asked for); a panel point is one device-independent pixel, so a line is a little
    // taller than the size. The hub word's face where installed, else the bundled sans.
    void facesAndSymbols()
    {
        for (const QFont::Weight weight : {QFont::Normal, QFont::Bold}) {
            const QFont font = Fonts::rounded(14, weight);
            QCOMPARE(QFontInfo(font).family(), u"Nunito"_s);
            QCOMPARE(QFontInfo(font).weight(), int(weight));
            const qreal height = QFontMetricsF(font).height();
            QVERIFY2(height > 14 && height < 14 * 1.6, qPrintable(QString::number(height)));
        }
        const bool avenir = QFontDatabase::hasFamily(u"Avenir Next"_s);
        QCOMPARE(QFontInfo(Fonts::hubWord()).family(), avenir ? u"Avenir Next"_s : u"Inter"_s);
        // Symbols: solid tint where filled, distinct shapes, nothing for unknown names.
        QCOMPARE(render(u"circle.lefthalf.filled"_s, 14).pixelColor(16, 20), tint);
        QVERIFY(render(u"speaker.slash"_s, 14) != render(u"speaker.wave.1"_s, 14));
        QVERIFY(ink(render(u"speaker.wave.3"_s, 14)).isEmpty());
    }

    void drawsCentredAndSizedByTheFont_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        for (const char *name :
             {"minus", "circle.lefthalf.filled", "pin", "speaker.slash", "speaker.wave.1", "checkmark"})
            for (qreal ratio : {1.0, 2.0})
                QTest::addRow("%s @%gx", name, ratio) << QString::fromLatin1(name) << ratio;
    }
    void drawsCentredAndSizedByTheFont()
    {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        const QRectF at14 = ink(render(name, 14, ratio));
        // Between half an em and about one em wide, and centred in the box within a pixel.
        QVERIFY2(at14.width() >= 14 * 0.5 && at14.width() <= 14 * 1.1 && at14.height() <= 14 * 1.1,
                 qPrintable(QStringLiteral("%1 x %2").arg(at14.width()).arg(at14.height())));
        QVERIFY(qAbs(at14.center().x() - 20) <= 1.0 && qAbs(at14.center().y() - 20) <= 1.0);
        // Twice the font, twice the glyph.
        QVERIFY(qAbs(ink(render(name, 28, ratio)).width() / at14.width() - 2) < 0.25);
    }

    // Pin and hide tooltips and the wheel's accessible name. The order of the rows matters: each
    // replaces the catalogue the row before installed.
    void panelTexts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QStringList>("texts");
        const QStringList german{u"Im Vordergrund halten"_s, u"Ausblenden — über die Menüleiste wieder öffnen"_s,
                                 u"Roulettekessel"_s};
        const QStringList english{u"Keep on top"_s, u"Hide — reopen from the menu bar"_s, u"Roulette wheel"_s};
        QTest::newRow("de_DE") << u"de_DE"_s << true << german;
        QTest::newRow("en_US after German") << u"en_US"_s << false << english;
        QTest::newRow("de_AT takes plain German") << u"de_AT"_s << true << german;
    }
    void panelTexts()
    {
        QFETCH(QString, locale);
        QFETCH(bool, found);
        QFETCH(QStringList, texts);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(Translations::install(), found);

        Fakes fakes;
        Game game(fakes.services());
        ColorScheme scheme;
        ReducedMotion motion;
        Content content(game, {fakes.typedSettings, scheme, motion}, {}, {});
        const auto button = [&](const QString &name) { return content.findChild<QAbstractButton *>(name); };
        QCOMPARE(button(u"pin"_s)->toolTip(), texts[0]);
        QCOMPARE(button(u"hide"_s)->toolTip(), texts[1]);
        QCOMPARE(QAccessible::queryAccessibleInterface(content.findChild<Wheel *>())->text(QAccessible::Name),
                 texts[2]);
    }
};

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
