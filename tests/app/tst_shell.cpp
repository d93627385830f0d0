// The shell's pieces that need no window manager: where a saved panel position lands, the tray
// icon's drawing, and the one-instance guard.
#include "app/floating_panel.h"
#include "platform/single_instance.h"
#include "platform/status_icon.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace zorvik;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void clampedPositionKeepsThePanelOnScreen_data();
    void clampedPositionKeepsThePanelOnScreen();
    void iconHasItsHoleAndBall();
    void iconComesInBothRatios();
    void secondInstanceAsksTheFirstToShow();
    void listenerGoneMeansANewFirstInstance();
};

void TestShell::clampedPositionKeepsThePanelOnScreen_data()
{
    QTest::addColumn<QPoint>("saved");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QPoint>("expected"); // relative to the available area, -1 = right/bottom edge

    QTest::newRow("inside stays") << QPoint(100, 50) << QString() << QPoint(100, 50);
    QTest::newRow("past the right and top") << QPoint(50000, -400) << QString() << QPoint(-1, 0);
    QTest::newRow("past the left and bottom") << QPoint(-900, 50000) << QString() << QPoint(0, -1);
    QTest::newRow("unknown screen name") << QPoint(20, 30) << QStringLiteral("NO-SUCH-SCREEN")
                                         << QPoint(20, 30);
}

void TestShell::clampedPositionKeepsThePanelOnScreen()
{
    QFETCH(QPoint, saved);
    QFETCH(QString, screen);
    QFETCH(QPoint, expected);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(300, 432);
    const QPoint where = FloatingPanel::clampedPosition(area.topLeft() + saved, size, screen);
    const int x = expected.x() < 0 ? area.right() + 1 - size.width() : area.left() + expected.x();
    const int y = expected.y() < 0 ? area.bottom() + 1 - size.height() : area.top() + expected.y();
    QCOMPARE(where, QPoint(x, y));
    QVERIFY(area.contains(QRect(where, size)));
}

void TestShell::iconHasItsHoleAndBall()
{
    for (const bool dark : {false, true}) {
        const QImage image = StatusIcon::image(1.0, dark);
        QCOMPARE(image.size(), QSize(20, 20));
        const QRgb ink = dark ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        // The ball, centred on (15.5, 16) from the bottom left: pixel (15, 3) from the top.
        const QColor ball = image.pixelColor(15, 3);
        QVERIFY2(ball.alpha() > 200, "the ball is opaque");
        QCOMPARE(qRgb(ball.red(), ball.green(), ball.blue()), ink);
        // Finer: the top oval's stroke is cut where the hole is, and drawn just beside it.
        const QImage fine = StatusIcon::image(4.0, dark);
        QCOMPARE(fine.size(), QSize(80, 80));
        QCOMPARE(fine.pixelColor(55, 14).alpha(), 0);   // (13.9, 3.6) from the top: in the hole
        QVERIFY(fine.pixelColor(48, 12).alpha() > 200); // (12.1, 3.1): on the stroke, outside
        // The ovals' strokes are drawn: the left end of the middle oval at x = 2, y = 10.
        QVERIFY(image.pixelColor(2, 10).alpha() > 100);
        // Nothing outside the 2..18 wide band and corners.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(image.pixelColor(10, 5).alpha(), 0); // inside the top oval, between strokes
    }
}

void TestShell::iconComesInBothRatios()
{
    const QIcon icon = StatusIcon::icon(false);
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(20, 20)));
    QVERIFY(sizes.contains(QSize(40, 40)));
}

void TestShell::secondInstanceAsksTheFirstToShow()
{
    const QString name = QStringLiteral("zorvik-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(name);
    QVERIFY(first.claim());
    QVERIFY(first.listening());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    // The second launch runs in this same thread here, so answer it from a nested loop.
    bool claimed = true;
    QTimer::singleShot(0, [&] {
        SingleInstance second(name);
        claimed = second.claim();
    });
    QTRY_COMPARE(shown.count(), 1);
    QVERIFY(!claimed);
}

void TestShell::listenerGoneMeansANewFirstInstance()
{
    const QString name = QStringLiteral("zorvik-test-gone-%1").arg(QCoreApplication::applicationPid());
    {
        SingleInstance earlier(name);
        QVERIFY(earlier.claim());
    }
    // An abstract socket leaves nothing behind: the next launch listens at once.
    SingleInstance later(name);
    QVERIFY(later.claim());
    QVERIFY(later.listening());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
