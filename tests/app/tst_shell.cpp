// The shell's pieces that need no window manager: saved position, tray icon, one-instance guard.
#include "app/panel_window.h"
#include "platform/single_instance.h"
#include "style/tray_icon_art.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace zorvik;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    // Saved on a monitor that is gone: the panel lands fully on a current screen.
    void clampedPositionKeepsThePanelOnScreen_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QPoint>("expected"); // within the available area, -1 = right/bottom edge
        QTest::newRow("inside stays") << QPoint(100, 50) << QPoint(100, 50);
        QTest::newRow("past the right and top") << QPoint(50000, -400) << QPoint(-1, 0);
        QTest::newRow("past the left and bottom") << QPoint(-900, 50000) << QPoint(0, -1);
    }
    void clampedPositionKeepsThePanelOnScreen()
    {
        QFETCH(QPoint, saved);
        QFETCH(QPoint, expected);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize size(300, 432);
        const QPoint where = PanelWindow::clampedPosition(area.topLeft() + saved, size, QStringLiteral("GONE-1"));
        const int x = expected.x() < 0 ? area.right() + 1 - size.width() : area.left() + expected.x();
        const int y = expected.y() < 0 ? area.bottom() + 1 - size.height() : area.top() + expected.y();
        QCOMPARE(where, QPoint(x, y));
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
        const QIcon icon = TrayIconArt::icon(dark);
        const QColor ink = dark ? Qt::white : Qt::black;
        // The ball, centred on (15.5, 16) from the bottom left, in the tray's ink.
        QCOMPARE(icon.pixmap(QSize(20, 20), 1.0).toImage().pixelColor(15, 3), ink);
        // At a device pixel ratio of 2 it is drawn for that ratio, not scaled up: the top oval's
        // stroke fully opaque, then cut where the hole is, just before the ball.
        const QImage fine = icon.pixmap(QSize(20, 20), 2.0).toImage();
        QCOMPARE(fine.size(), QSize(40, 40));
        QCOMPARE(fine.pixelColor(26, 6).alpha(), 255);
        QVERIFY(fine.pixelColor(28, 6).alpha() < 40);
        QCOMPARE(fine.pixelColor(30, 6), ink);
        QVERIFY(fine.pixelColor(4, 20).alpha() > 200); // the middle oval's left end
        QCOMPARE(fine.pixelColor(20, 10).alpha(), 0);  // inside the top oval, between strokes
    }

    // An abstract socket leaves nothing behind: once the first is gone, the next launch listens.
    void secondInstanceAsksTheFirstToShow()
    {
        const QString name = QStringLiteral("zorvik-test-%1").arg(QCoreApplication::applicationPid());
        {
            SingleInstance first(name);
            QVERIFY(first.claim() && first.listening());
            QSignalSpy shown(&first, &SingleInstance::showRequested);
            // The second launch runs in this same thread here, so answer it from a nested loop.
            bool claimed = true;
            QTimer::singleShot(0, [&] { claimed = SingleInstance(name).claim(); });
            QTRY_COMPARE(shown.count(), 1);
            QVERIFY(!claimed);
        }
        SingleInstance later(name);
        QVERIFY(later.claim() && later.listening());
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
