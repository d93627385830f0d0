// The bundled fonts, and the symbols drawn at a font's size.
#include "platform/fonts.h"
#include "platform/symbols.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace zorvik;

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
        Fonts::load();
        Fonts::load(); // a second call registers nothing twice
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("Nunito")));
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    }

    void rounded_data()
    {
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("weight");
        QTest::newRow("header 14 regular") << 14.0 << int(QFont::Normal);
        QTest::newRow("fraction kept, medium") << 12.5 << int(QFont::Medium);
        QTest::newRow("semibold") << 13.0 << int(QFont::DemiBold);
        QTest::newRow("bold, registered when first asked for") << 16.0 << int(QFont::Bold);
    }
    void rounded()
    {
        QFETCH(double, size);
        QFETCH(int, weight);
        const QFont font = Fonts::rounded(size, QFont::Weight(weight));
        // The face actually used is the bundled one, in the weight asked for.
        const QFontInfo info(font);
        QCOMPARE(info.family(), QStringLiteral("Nunito"));
        QCOMPARE(info.weight(), weight);
        // A panel point is one device-independent pixel: a line is a little taller than the size.
        const qreal height = QFontMetricsF(font).height();
        QVERIFY2(height > size && height < size * 1.6, qPrintable(QString::number(height)));
    }

    void hubWord()
    {
        const QFont font = Fonts::hubWord();
        const bool avenir = QFontDatabase::hasFamily(QStringLiteral("Avenir Next"));
        QCOMPARE(QFontInfo(font).family(), avenir ? QStringLiteral("Avenir Next") : QStringLiteral("Inter"));
        // Tracking tightens the word.
        QFont loose = font;
        loose.setLetterSpacing(QFont::AbsoluteSpacing, 0);
        const QString word = QStringLiteral("ZORVIK");
        QVERIFY(QFontMetricsF(font).horizontalAdvance(word) < QFontMetricsF(loose).horizontalAdvance(word) - 10);
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

    void tintAndDistinctShapes()
    {
        // The filled half is solid tint.
        QCOMPARE(render(QStringLiteral("circle.lefthalf.filled"), 14).pixelColor(16, 20), tint);
        QVERIFY(render(QStringLiteral("speaker.slash"), 14) != render(QStringLiteral("speaker.wave.1"), 14));
        // Unknown names draw nothing.
        QVERIFY(ink(render(QStringLiteral("speaker.wave.3"), 14)).isEmpty());
        QVERIFY(ink(render(QString(), 14)).isEmpty());
    }
};

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
