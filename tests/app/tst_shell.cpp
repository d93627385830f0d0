// The shell's pieces that need no window manager: the panel's place after the refit, the
// tray icon's drawing.
#include "app/panel_window.h"
#include "platform/compositor_watch.h"
#include "services/settings.h"
#include "support/fakes.h"
#include "style/tray_icon_art.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using namespace zorvik;

class TestShell : public QObject {
    Q_OBJECT

private slots:
    // Saved at the top of the screen with a shorter frame: the refit to the taller content grows
    // it upwards, and the frame is then moved back fully onto the screen.
    void restoredPanelIsOnScreenAfterTheRefit()
    {
        testing::MemorySettings store;
        Settings settings{store};
        CompositorWatch compositor; // none to ask here: a compositing desktop, so a shadow margin
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        settings.setPanelFrame({area.topLeft() + QPoint(10, 0), QSize(300, 200), QString()});
        PanelWindow panel(settings, compositor);
        auto *content = new QWidget;
        content->setFixedSize(300, 432);
        panel.setContent(content);
        QVERIFY(panel.restorePosition());
        panel.fitToContent();
        QCOMPARE(panel.frame(), QRect(area.topLeft() + QPoint(10, 0), QSize(300, 432)));
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
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
