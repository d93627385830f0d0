#pragma once

#include "services/settings_store.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

namespace zorvik {

// Every setting Zorvik keeps, by name and type, over the user's store. Each key is named and
// parsed here and nowhere else. Values written by an earlier process come back as text; anything
// that does not parse reads as the default, and nothing read here is ever written back.
class Settings {
public:
    explicit Settings(SettingsStore &store) : m_store(store) {}

    // "soundMuted": true, false, a number (non-zero is true) or the words true/yes/on. A
    // hand-edited "banana" is not muted.
    bool soundMuted() const;
    void setSoundMuted(bool muted);

    // "soundVolume": any number, stored unclamped ("nan" and "inf" parse as numbers); 0.25 when
    // absent or not a number.
    double soundVolume() const;
    void setSoundVolume(double volume);

    // "appearance": "system", "light" or "dark", matched exactly; "system" when absent.
    QString appearance() const;
    void setAppearance(const QString &appearance);
    // dark for "dark", light for "light", and no choice (follow the desktop) for anything else.
    static std::optional<bool> darkFor(const QString &appearance);

    // The panel window's frame under "ZorvikPanel": top-left corner, size and the name of the
    // screen it was on. None until a position was saved; coordinates must be whole numbers.
    struct PanelFrame {
        QPoint topLeft;
        std::optional<QSize> size;
        QString screen;
    };
    std::optional<PanelFrame> panelFrame() const;
    void setPanelFrame(const PanelFrame &frame);

    static constexpr double defaultVolume = 0.25;

private:
    SettingsStore &m_store;
};

} // namespace zorvik
