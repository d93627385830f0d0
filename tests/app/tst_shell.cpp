// The shell's pieces that need no window manager: the panel's place after the refit.
#include "app/panel_window.h"
#include "platform/compositor_watch.h"
#include "services/settings.h"
#include "support/fakes.h"

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
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
