#pragma once

#include "game/game.h"
#include "accessibility/atspi_announcer.h"
#include "desktop/color_scheme.h"
#include "windowsystem/compositor_watch.h"
#include "desktop/reduced_motion.h"
#include "windowsystem/tray_colors.h"
#include "services/qt_ticker.h"
#include "services/settings.h"
#include "services/settings_watcher.h"
#include "services/steady_clock.h"
#include "services/system_random.h"
#include "services/user_settings.h"
#include "sound/loaded_audio_output.h"

#include <QObject>

#include <memory>

namespace zorvik {

class PanelWindow;
class TrayIcon;

// The program's one owner: it builds the real services (clock, timer, random source, settings,
// audio, the desktop's preferences, the tray's colours, AT-SPI), the Game over them, the panel
// window and the tray icon, hands each what it needs, and carries out the window commands of the
// panel's content and of the tray menu.
class Shell : public QObject {
    Q_OBJECT

public:
    explicit Shell(QObject *parent = nullptr);
    ~Shell() override;

    // Builds the panel around its content and puts it where it was left, without showing it.
    void build();
    // Builds the panel if that is still to do and shows it; the tray icon follows the panel's
    // first paint (where a tray can ever show it).
    void launch();

    Game &game() { return m_game; }

public slots:
    // Brings the panel on screen, raised, with the keyboard.
    void show();
    void hide();
    void pin(bool pinned);
    void quit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void installTrayIcon();

    SteadyClock m_clock;
    QtTicker m_ticker;
    SystemRandom m_random;
    AtSpiAnnouncer m_announcer;
    UserSettings m_store;
    Settings m_settings{m_store};
    SettingsWatcher m_settingsWatcher{m_store, m_settings};
    LoadedAudioOutput m_audioOutput;
    ColorScheme m_colorScheme;
    ReducedMotion m_reducedMotion;
    CompositorWatch m_compositor;
    TrayColors m_trayColors;
    Game m_game;
    std::unique_ptr<PanelWindow> m_panel;
    std::unique_ptr<TrayIcon> m_trayIcon;
    bool m_trayTried = false;
};

} // namespace zorvik
