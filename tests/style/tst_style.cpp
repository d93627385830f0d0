// The look's fixed values: the palette in both appearances, and the tray icon.
#include "style/palette.h"
#include "style/tray_icon_art.h"

#include <QIcon>
#include <QtTest>

using namespace zorvik;
using namespace Qt::StringLiterals;

class TestStyle : public QObject {
    Q_OBJECT

private slots:
    // Components as the look gives them; headerTint is given in calibrated RGB, so these are
    // its sRGB values after conversion.
    void palette_data()
    {
        QTest::addColumn<AppearanceColor>("colour");
        QTest::addColumn<QList<double>>("components"); // light R, G, B, then dark R, G, B
        const auto fixed = [](const QColor &c) { return AppearanceColor(c, c); };
        QTest::newRow("cream") << Palette::cream() << QList<double>{0.96, 0.94, 0.89, 0.1, 0.15, 0.13};
        QTest::newRow("ink") << Palette::ink() << QList<double>{0.25, 0.29, 0.28, 0.9, 0.94, 0.9};
        QTest::newRow("headerTint") << Palette::headerTint()
                                    << QList<double>{0.4214, 0.5398, 0.4756, 0.7057, 0.8080, 0.7349};
        QTest::newRow("rose") << fixed(Palette::rose()) << QList<double>{0.72, 0.39, 0.39, 0.72, 0.39, 0.39};
        QTest::newRow("charcoal") << fixed(Palette::charcoal()) << QList<double>{0.32, 0.36, 0.36, 0.32, 0.36, 0.36};
        QTest::newRow("sage") << fixed(Palette::sage()) << QList<double>{0.48, 0.61, 0.49, 0.48, 0.61, 0.49};
        QTest::newRow("wheelLabel") << fixed(Palette::wheelLabel()) << QList<double>{0.96, 0.94, 0.89, 0.96, 0.94, 0.89};
    }
    void palette()
    {
        QFETCH(AppearanceColor, colour);
        QFETCH(QList<double>, components);
        const QColor l = colour.light(), d = colour.dark();
        const QList<double> seen{l.redF(), l.greenF(), l.blueF(), d.redF(), d.greenF(), d.blueF()};
        for (qsizetype i = 0; i < seen.size(); ++i)
            QVERIFY2(qAbs(seen[i] - components[i]) < 2e-4, qPrintable(QString::number(seen[i], 'f', 4)));
        QVERIFY(l.alpha() == 255 && d.alpha() == 255);
    }

    // The tray icon's ball in the tray's ink, also when drawn for a device pixel ratio of 2.
    void trayIcon()
    {
        for (const bool dark : {false, true}) {
            const QIcon icon = TrayIconArt::icon(dark);
            const QColor ink = dark ? Qt::white : Qt::black;
            QCOMPARE(icon.pixmap(QSize(20, 20), 1.0).toImage().pixelColor(15, 3), ink);
            QCOMPARE(icon.pixmap(QSize(20, 20), 2.0).toImage().pixelColor(30, 6), ink);
        }
    }
};

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
