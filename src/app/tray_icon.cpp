#include "app/tray_icon.h"

#include "platform/color_scheme.h"
#include "style/tray_icon_art.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QSystemTrayIcon>

namespace zorvik {

TrayIcon::TrayIcon(ColorScheme &colorScheme, std::function<void()> show, std::function<void()> quit,
                   QObject *parent)
    : QObject(parent), m_colorScheme(colorScheme)
{
    // The menu is a top-level widget with no parent widget; this object deletes it.
    m_menu = new QMenu();
    m_show = m_menu->addAction(tr("Show Zorvik"));
    m_menu->addSeparator();
    m_quit = m_menu->addAction(tr("Quit Zorvik"));
    m_quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_quit->setShortcutVisibleInContextMenu(true);
    m_quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_show, &QAction::triggered, this, [show] { show(); });
    connect(m_quit, &QAction::triggered, this, [quit] { quit(); });

    m_tray = new QSystemTrayIcon(this);
    m_tray->setToolTip(QStringLiteral("Zorvik"));
    m_tray->setContextMenu(m_menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [show](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            show();
    });
    updateIcon();
    connect(&m_colorScheme, &ColorScheme::changed, this, &TrayIcon::updateIcon);
    m_tray->show();
}

TrayIcon::~TrayIcon()
{
    delete m_tray;
    m_tray = nullptr;
    delete m_menu;
}

void TrayIcon::updateIcon()
{
    m_tray->setIcon(TrayIconArt::icon(TrayIconArt::darkTray(m_colorScheme.statedDark())));
}

} // namespace zorvik
