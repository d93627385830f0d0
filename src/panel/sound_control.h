#pragma once

#include "panel/header_button.h"
#include "panel/volume_card.h"
#include "panel/volume_card_hover.h"

#include <QPointer>

namespace zorvik {

class RollingAudio;

// The header's speaker button (28 x 32): a click mutes or unmutes; hover or keyboard focus
// opens the volume card below it, and Escape closes it.
class SoundControl : public HeaderButton {
    Q_OBJECT

public:
    explicit SoundControl(RollingAudio &audio, QWidget *parent = nullptr);
    ~SoundControl() override;

    // Struck through when muted or the volume is exactly 0, else with its wave.
    static Symbol symbolFor(bool muted, double volume);
    static QString accessibleLabel(bool muted);

    const VolumeCardHover &hoverCard() const { return m_hover; }
    // The card, once it has been opened (it is created on first use); null before.
    VolumeCard *volumeCard() const { return m_card; }

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMuted();
    void showSymbol();
    void showCard(bool expanded);
    void followFocus(QWidget *now);

    RollingAudio &m_audio;
    VolumeCardHover m_hover;
    QPointer<VolumeCard> m_card;
};

} // namespace zorvik
