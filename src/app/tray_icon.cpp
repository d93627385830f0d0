#include "app/tray_icon.h"

#include "windowsystem/tray_colors.h"
#include "style/tray_icon_art.h"

#include <QAction>
#include <QCursor>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QSystemTrayIcon>

namespace zorvik {

TrayIcon::TrayIcon(TrayColors &trayColors, QObject *parent)
    : QObject(parent), m_trayColors(trayColors)
{
    // The menu is a top-level widget with no parent widget; this object deletes it.
    m_menu = new QMenu();
    m_show = m_menu->addAction(tr("Show Zorvik"));
    m_menu->addSeparator();
    m_quit = m_menu->addAction(tr("Quit Zorvik"));
    m_quit->setShortcut(quitKey);
    m_quit->setShortcutVisibleInContextMenu(true);
    m_quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_show, &QAction::triggered, this, &TrayIcon::showRequested);
    connect(m_quit, &QAction::triggered, this, &TrayIcon::quitRequested);

    // The action's own shortcut is only shown: Qt matches a shortcut of a menu that has no
    // parent widget nowhere. While the menu is open it holds the keyboard, and this one
    // answers there; the panel has its own.
    auto *quitShortcut = new QShortcut(m_quit->shortcut(), m_menu);
    connect(quitShortcut, &QShortcut::activated, m_quit, &QAction::trigger);

    m_tray = new QSystemTrayIcon(this);
    m_tray->setToolTip(QStringLiteral("Zorvik"));
    m_tray->setContextMenu(m_menu);
    // A click on the icon opens the menu and does nothing else (the other button opens it
    // through the tray itself).
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            popUpMenu();
    });
    updateIcon();
    connect(&m_trayColors, &TrayColors::changed, this, &TrayIcon::updateIcon);
    m_tray->show();
}

TrayIcon::~TrayIcon()
{
    delete m_tray;
    m_tray = nullptr;
    delete m_menu;
}

void TrayIcon::popUpMenu()
{
    // An XEmbed tray knows where the icon is; a StatusNotifierItem host does not say, but it
    // sends the click while the pointer is on the icon.
    const QRect icon = m_tray->geometry();
    m_menu->popup(icon.isValid() ? icon.bottomLeft() + QPoint(0, 1) : QCursor::pos());
}

void TrayIcon::updateIcon()
{
    m_tray->setIcon(TrayIconArt::icon(m_trayColors.foreground()));
}

} // namespace zorvik
