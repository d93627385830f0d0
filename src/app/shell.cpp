#include "app/shell.h"

#include "app/panel_window.h"
#include "app/tray_icon.h"
#include "panel/content.h"
#include "panel/spoken_notification.h"
#include "windowsystem/window_services.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>

namespace zorvik {

Shell::Shell(QObject *parent)
    : QObject(parent)
    , m_game(GameServices{m_clock, m_ticker, m_random, m_announcer, m_settings, m_audioOutput})
{
}

Shell::~Shell()
{
    // The tray icon goes first so the tray never shows an icon whose menu is gone. Nothing is
    // spoken through the panel once it is gone.
    m_trayIcon.reset();
    m_announcer.setFallback({});
    m_panel.reset();
    // A sound still playing fades out and the audio thread ends here, while the application
    // object exists; the game's player, dropped later, then only sets a gain nobody reads.
    m_audioOutput.shutDown();
}

void Shell::build()
{
    if (m_panel)
        return;
    m_panel = std::make_unique<PanelWindow>(m_settings, m_compositor);

    auto *content = new Content(
        m_game, PanelServices{m_settings, m_colorScheme, m_reducedMotion, WindowServices::capabilities()},
        m_panel.get());
    connect(content, &Content::hideRequested, this, &Shell::hide);
    connect(content, &Content::pinRequested, this, &Shell::pin);
    m_panel->setContent(content);
    m_announcer.setFallback([notification = content->notification()](const QString &text) {
        notification->present(text);
    });
    connect(&m_settingsWatcher, &SettingsWatcher::appearanceChanged, content, &Content::applyAppearance);

    auto *quitShortcut = new QShortcut(TrayIcon::quitKey, m_panel.get());
    connect(quitShortcut, &QShortcut::activated, this, &Shell::quit);

    m_panel->centre();
    m_panel->restorePosition();
    m_panel->fitToContent();
}

void Shell::launch()
{
    build();
    // The desktop's answers arrive while the panel is shown; the panel is built by then, and
    // the session bus, connected meanwhile, is ready for the questions. The tray's colours are
    // known by the time the tray icon is installed.
    m_colorScheme.start();
    m_reducedMotion.start();
    m_trayColors.start();

    // The tray icon (a few round trips to the tray) comes once the panel has painted, or after
    // half a second should it not paint.
    m_panel->installEventFilter(this);
    QTimer::singleShot(500, this, &Shell::installTrayIcon);
    show();
}

bool Shell::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel.get() && event->type() == QEvent::Paint) {
        m_panel->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &Shell::installTrayIcon, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void Shell::installTrayIcon()
{
    if (m_trayTried)
        return;
    m_trayTried = true;
    // Without XEmbed trays (Wayland) only a StatusNotifierItem host can take the icon, and Qt
    // looks for its watcher once, as the icon is made: without one the icon has nowhere to go,
    // now or later, and Qt would only complain about it at every launch.
    if (!WindowServices::capabilities().embeddedTray) {
        const QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
        if (!bus || !bus->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")))
            return;
    }
    m_trayIcon = std::make_unique<TrayIcon>(m_trayColors);
    connect(m_trayIcon.get(), &TrayIcon::showRequested, this, &Shell::show);
    connect(m_trayIcon.get(), &TrayIcon::quitRequested, this, &Shell::quit);
}

void Shell::show()
{
    if (m_panel)
        m_panel->present();
}

void Shell::hide()
{
    if (m_panel)
        m_panel->hide();
}

void Shell::pin(bool pinned)
{
    if (m_panel)
        m_panel->setPinned(pinned);
}

void Shell::quit()
{
    if (m_panel)
        m_panel->savePosition();
    QCoreApplication::quit();
}

} // namespace zorvik
