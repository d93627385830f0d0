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
    void clampedPositionKeepsThePanelOnScreen_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QPoint>("expected"); // within the available area, -1 = right/bottom edge
        QTest::newRow("inside stays") << QPoint(100, 50) << QString() << QPoint(100, 50);
        QTest::newRow("past the right and top") << QPoint(50000, -400) << QString() << QPoint(-1, 0);
        QTest::newRow("past the left and bottom") << QPoint(-900, 50000) << QString() << QPoint(0, -1);
        QTest::newRow("unknown screen name") << QPoint(20, 30) << QStringLiteral("NO-SUCH-SCREEN") << QPoint(20, 30);
    }
    void clampedPositionKeepsThePanelOnScreen()
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

    void iconDrawsBallStrokesAndHole_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light tray") << false;
        QTest::newRow("dark tray") << true;
    }
    void iconDrawsBallStrokesAndHole()
    {
        QFETCH(bool, dark);
        const QImage image = StatusIcon::image(1.0, dark);
        QCOMPARE(image.size(), QSize(20, 20));
        // The ball, centred on (15.5, 16) from the bottom left, in the tray's ink.
        const QColor ball = image.pixelColor(15, 3);
        QVERIFY(ball.alpha() > 200);
        QCOMPARE(qRgb(ball.red(), ball.green(), ball.blue()), dark ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        QVERIFY(image.pixelColor(2, 10).alpha() > 100);  // the middle oval's left end
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);     // corner
        QCOMPARE(image.pixelColor(10, 5).alpha(), 0);    // inside the top oval, between strokes
        // At 4x: the top oval's stroke is cut where the hole is, and drawn just beside it.
        const QImage fine = StatusIcon::image(4.0, dark);
        QCOMPARE(fine.size(), QSize(80, 80));
        QCOMPARE(fine.pixelColor(55, 14).alpha(), 0);
        QVERIFY(fine.pixelColor(48, 12).alpha() > 200);
        const QList<QSize> sizes = StatusIcon::icon(dark).availableSizes();
        QVERIFY(sizes.contains(QSize(20, 20)) && sizes.contains(QSize(40, 40)));
    }

    // An abstract socket leaves nothing behind: once the first is gone, the next launch listens.
    void secondInstanceAsksTheFirstToShow()
    {
        const QString name = QStringLiteral("zorvik-test-%1").arg(QCoreApplication::applicationPid());
        {
            SingleInstance first(name);
            QVERIFY(first.claim());
            QVERIFY(first.listening());
            QSignalSpy shown(&first, &SingleInstance::showRequested);
            // The second launch runs in this same thread here, so answer it from a nested loop.
            bool claimed = true;
            QTimer::singleShot(0, [&] { claimed = SingleInstance(name).claim(); });
            QTRY_COMPARE(shown.count(), 1);
            QVERIFY(!claimed);
        }
        SingleInstance later(name);
        QVERIFY(later.claim());
        QVERIFY(later.listening());
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
