#pragma once

#include "windowsystem/window_services.h"

#include <QString>
#include <QWidget>

namespace zorvik {

class AppearancePopover;
class BetButton;
class ColorScheme;
class Game;
class HeaderButton;
class ReducedMotion;
class Settings;
class SpokenNotification;

// What the panel reads from the desktop and the user's settings; all outlive the panel.
struct PanelServices {
    Settings &settings;
    ColorScheme &colorScheme;
    const ReducedMotion &reducedMotion;
    // What the window system lets the panel's window do: without keep-on-top the pin shows as
    // unavailable.
    WindowCapabilities window = {};
};

// Everything the floating panel shows, 300 wide on a cream card with rounded corners: the
// header band (hide, grip, appearance, sound, keep on top), the wheel, the message line, the
// bet buttons and the hint. Window commands go to whoever holds the window as signals.
// Outside the rounded card nothing is drawn, so a translucent window shows through there.
class Content : public QWidget {
    Q_OBJECT

public:
    // The card's corners, which the window's shape and shadow follow.
    static constexpr int cornerRadius = 22;

    Content(Game &game, const PanelServices &services, QWidget *parent = nullptr);

    // What the panel shows now: the "appearance" setting, or the desktop's preference.
    bool effectiveDark() const;

    // Made on first use: most launches never open it.
    AppearancePopover *appearancePopover() const;
    // Where the game's announcements are spoken by screen readers that do not listen for
    // AT-SPI announcements.
    SpokenNotification *notification() const { return m_notification; }

public slots:
    // Reads the setting again and applies it to the whole panel.
    void applyAppearance();

signals:
    // The hide control was clicked.
    void hideRequested();
    // The keep-on-top control asks for keep-on-top on or off.
    void pinRequested(bool pinned);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void toggleAppearance();
    AppearancePopover *makePopover();
    void togglePinned();
    void refreshPin();

    Game &m_game;
    PanelServices m_services;
    bool m_appearanceOpen = false;
    // Keep-on-top as this panel last asked the window for it; the window starts pinned.
    bool m_pinned = true;

    QWidget *m_band = nullptr;
    HeaderButton *m_appearanceButton = nullptr;
    HeaderButton *m_pinButton = nullptr;
    mutable AppearancePopover *m_popover = nullptr;
    SpokenNotification *m_notification = nullptr;
};

} // namespace zorvik
