#pragma once

#include "game/game.h"
#include "platform/atspi_announcer.h"

#include <QObject>

#include <memory>

namespace zorvik {

class FloatingPanel;
class StatusItem;

// Owns the panel, the tray item and the one Game for the life of the process, and carries out
// the window commands of the panel's content and of the tray menu.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    // Builds the panel around its content, puts it where it was left, installs the tray item
    // and shows the panel.
    void launch();

    FloatingPanel *panel() const { return m_panel.get(); }
    StatusItem *statusItem() const { return m_statusItem.get(); }
    Game &game() { return m_game; }

public slots:
    // Brings the panel on screen, raised, with the keyboard.
    void show();
    void hide();
    void pin(bool pinned);
    void quit();

private:
    AtSpiAnnouncer m_announcer;
    std::unique_ptr<FloatingPanel> m_panel;
    std::unique_ptr<StatusItem> m_statusItem;
    Game m_game;
};

} // namespace zorvik
