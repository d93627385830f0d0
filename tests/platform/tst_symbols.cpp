#include "platform/symbols.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include "platform/fonts.h"

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
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 64) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const qreal r = image.devicePixelRatio();
    return right < 0 ? QRectF() : QRectF(left / r, top / r, (right - left + 1) / r, (bottom - top + 1) / r);
}

} // namespace

class TestSymbols : public QObject {
    Q_OBJECT

private slots:
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
        QVERIFY2(!at14.isEmpty(), "no ink");
        // About one em at most, and centred in the box within a pixel.
        QVERIFY2(at14.width() <= 14 * 1.1 && at14.height() <= 14 * 1.1,
                 qPrintable(QStringLiteral("%1 x %2").arg(at14.width()).arg(at14.height())));
        QVERIFY(at14.width() >= 14 * 0.5);
        QVERIFY(qAbs(at14.center().x() - 20) <= 1.0);
        QVERIFY(qAbs(at14.center().y() - 20) <= 1.0);
        // Twice the font, twice the glyph.
        QVERIFY(qAbs(ink(render(name, 28, ratio)).width() / at14.width() - 2) < 0.25);
    }

    void tintAndDistinctShapes()
    {
        // The filled half is solid tint.
        const QColor c = render(QStringLiteral("circle.lefthalf.filled"), 14).pixelColor(16, 20);
        QCOMPARE(c.alpha(), 255);
        QCOMPARE(c.rgb(), tint.rgb());
        QVERIFY(render(QStringLiteral("speaker.slash"), 14) != render(QStringLiteral("speaker.wave.1"), 14));
        // Unknown names draw nothing.
        QVERIFY(ink(render(QStringLiteral("speaker.wave.3"), 14)).isEmpty());
        QVERIFY(ink(render(QString(), 14)).isEmpty());
    }
};

QTEST_MAIN(TestSymbols)
#include "tst_symbols.moc"
