#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

namespace zorvik {

class AppearancePopover;
class BetButton;
class Game;
class HeaderButton;
class SettingsStore;

// Everything the floating panel shows, 300 wide on a cream card with rounded corners: the
// header band (hide, grip, appearance, sound, keep on top), the wheel, the message line, the
// bet buttons and the hint. Window commands go back to the shell through hide and pin.
// Outside the rounded card nothing is drawn, so a translucent window shows through there.
class Content : public QWidget {
    Q_OBJECT

public:
    Content(Game &game, std::function<void()> hide, std::function<void(bool)> pin,
            QWidget *parent = nullptr);

    // The stored "appearance" setting; "system" while the key is absent.
    QString appearance() const;
    // dark for "dark", light for "light", and no choice (follow the desktop) for any other
    // text; the comparison is exact.
    static std::optional<bool> schemeFor(const QString &appearance);
    // What the panel shows now: the setting, or the desktop's preference.
    bool effectiveDark() const;

    bool appearanceOpen() const { return m_appearanceOpen; }
    // Made on first use: most launches never open it.
    AppearancePopover *appearancePopover() const;

public slots:
    // Reads the setting again and applies it to the whole panel.
    void applyAppearance();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void toggleAppearance();
    AppearancePopover *makePopover();
    void togglePinned();
    void refreshPin();

    Game &m_game;
    std::function<void()> m_hide;
    std::function<void(bool)> m_pin;
    SettingsStore &m_settings;
    bool m_appearanceOpen = false;

    QWidget *m_band = nullptr;
    HeaderButton *m_appearanceButton = nullptr;
    HeaderButton *m_pinButton = nullptr;
    mutable AppearancePopover *m_popover = nullptr;
};

} // namespace zorvik
