#pragma once

#include <QKeyCombination>
#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace zorvik {

class TrayColors;

// The tray icon with its menu: "Show Zorvik", a separator, "Quit Zorvik" (quitKey, also while
// the menu is open). A click on the icon opens the menu at the icon and has no action of its
// own. Works with a StatusNotifierItem host or an XEmbed tray; without either the icon waits
// for an XEmbed tray to appear (on Wayland, where there is none, the shell makes no icon). The
// icon goes by its symbolic name, which hosts that know it draw in their panel's colour; its
// picture, for the others, takes the colour an XEmbed tray names.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    // Quits the program, in the menu and on the panel.
    static constexpr QKeyCombination quitKey{Qt::CTRL | Qt::Key_Q};

    explicit TrayIcon(TrayColors &trayColors, QObject *parent = nullptr);
    ~TrayIcon() override;

signals:
    void showRequested();
    void quitRequested();

private:
    // Hands the tray the icon in its present colours.
    void updateIcon();
    // Opens the menu at the icon.
    void popUpMenu();

    TrayColors &m_trayColors;
    QMenu *m_menu = nullptr;
    QAction *m_show = nullptr;
    QAction *m_quit = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
};

} // namespace zorvik
