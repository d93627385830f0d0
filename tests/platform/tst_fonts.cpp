#include "platform/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QtTest>

using namespace zorvik;

class TestFonts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Fonts::load();
        Fonts::load(); // a second call registers nothing twice
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("Nunito")));
        QVERIFY(QFontDatabase::families().contains(QStringLiteral("Inter")));
        QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    }

    void rounded_data()
    {
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("weight");
        QTest::addColumn<double>("points");
        QTest::newRow("header 14 regular") << 14.0 << int(QFont::Normal) << 10.5;
        QTest::newRow("fraction kept") << 12.5 << int(QFont::Medium) << 9.375;
        QTest::newRow("semibold") << 13.0 << int(QFont::DemiBold) << 9.75;
        QTest::newRow("bold") << 16.0 << int(QFont::Bold) << 12.0;
    }
    void rounded()
    {
        QFETCH(double, size);
        QFETCH(int, weight);
        QFETCH(double, points);
        const QFont font = Fonts::rounded(size, QFont::Weight(weight));
        QCOMPARE(font.pointSizeF(), points);
        // The face actually used is the bundled one, in the weight asked for.
        const QFontInfo info(font);
        QCOMPARE(info.family(), QStringLiteral("Nunito"));
        QCOMPARE(info.weight(), weight);
        // A panel point is one device-independent pixel.
        QVERIFY(QFontMetricsF(font).height() > size && QFontMetricsF(font).height() < size * 1.6);
    }

    void hubWord()
    {
        const QFont font = Fonts::hubWord();
        QCOMPARE(font.pointSizeF(), 18.0);
        QCOMPARE(font.weight(), QFont::Medium);
        QCOMPARE(font.letterSpacingType(), QFont::AbsoluteSpacing);
        // Stored in 1/64 pixel steps: the nearest one.
        QVERIFY(qAbs(font.letterSpacing() + 2.28) <= 1.0 / 128);
        const bool avenir = QFontDatabase::hasFamily(QStringLiteral("Avenir Next"));
        QCOMPARE(QFontInfo(font).family(), avenir ? QStringLiteral("Avenir Next") : QStringLiteral("Inter"));
        // Tracking tightens the word.
        QFont loose = font;
        loose.setLetterSpacing(QFont::AbsoluteSpacing, 0);
        const QString word = QStringLiteral("ZORVIK");
        QVERIFY(QFontMetricsF(font).horizontalAdvance(word) < QFontMetricsF(loose).horizontalAdvance(word) - 10);
    }
};

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
