#pragma once

#include <QPointer>
#include <QWidget>

class QSlider;

namespace zorvik {

class DropShadow;
class VolumeCardHover;
class RollingAudio;

// The card that hangs below the sound control: a volume slider and the volume as a
// percentage on a cream rounded card with a soft shadow. It lives in the control's top-level
// window so that it lies over the wheel; its shadow is a sibling beneath it, so the card's
// widget, and the region that takes the pointer, is the card alone.
class VolumeCard : public QWidget {
    Q_OBJECT

public:
    static constexpr int cardWidth = 150;
    static constexpr int inset = 10;
    static constexpr int spacing = 8;
    static constexpr int labelWidth = 30;
    static constexpr int dropDown = 26;    // below the button's top edge
    static constexpr int sliderSteps = 10000;

    // anchor is the button the card hangs from; its appearance colours the card.
    VolumeCard(RollingAudio &audio, VolumeCardHover &hover, QWidget *anchor, QWidget *parent);

    // The volume as shown: volume x 100 truncated toward zero (what screen readers hear as the
    // slider's value), as a percentage in the locale's format ("25%", "25 %", "%25").
    static double percent(double volume);
    static QString percentText(double volume);
    // How wide a percentage is drawn in the label, its digits all as wide as the widest.
    static qreal percentTextWidth(const QString &text);

    ~VolumeCard() override;

    QSlider *slider() const { return m_slider; }
    RollingAudio &audio() const { return m_audio; }
    // Puts the card's top right corner at the anchor's, 26 pixels further down.
    void place();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void syncFromAudio();
    void applySliderStyle(bool dark);

    RollingAudio &m_audio;
    VolumeCardHover &m_hover;
    QPointer<QWidget> m_anchor;
    QSlider *m_slider;
    int m_rowHeight = 0;
    int m_styledDark = -1;
    QPointer<DropShadow> m_shadow;
};

} // namespace zorvik
