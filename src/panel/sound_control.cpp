#include "panel/sound_control.h"

#include "sound/rolling_audio.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QSlider>

namespace zorvik {

SoundControl::SoundControl(RollingAudio &audio, QWidget *parent)
    : HeaderButton(symbolFor(audio.muted(), audio.volume()), QSize(28, 32), parent), m_audio(audio)
{
    // Like every header button it is reached with Tab, but a click leaves the keyboard focus
    // where it was, so clicking does not hold the card open.
    setToolTip(tr("Click to mute or unmute. Hover to adjust volume."));

    connect(this, &QAbstractButton::clicked, this, [this] { m_audio.setMuted(!m_audio.muted()); });
    connect(&m_audio, &RollingAudio::mutedChanged, this, &SoundControl::showMuted);
    connect(&m_audio, &RollingAudio::volumeChanged, this, &SoundControl::showSymbol);
    connect(&m_hover, &VolumeCardHover::expandedChanged, this, &SoundControl::showCard);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { followFocus(now); });
    showMuted();
}

SoundControl::~SoundControl()
{
    m_hover.cancel();
    // The card lives in the window, not in this control.
    delete m_card;
}

Symbol SoundControl::symbolFor(bool muted, double volume)
{
    return muted || volume == 0 ? Symbol::speakerSlash : Symbol::speakerWave;
}

QString SoundControl::accessibleLabel(bool muted)
{
    return muted ? tr("Unmute rolling sound") : tr("Mute rolling sound");
}

void SoundControl::showMuted()
{
    setAccessibleName(accessibleLabel(m_audio.muted()));
    showSymbol();
}

void SoundControl::showSymbol()
{
    setSymbol(symbolFor(m_audio.muted(), m_audio.volume()));
}

void SoundControl::enterEvent(QEnterEvent *event)
{
    m_hover.hover(true);
    HeaderButton::enterEvent(event);
}

void SoundControl::leaveEvent(QEvent *event)
{
    m_hover.hover(false);
    HeaderButton::leaveEvent(event);
}

void SoundControl::moveEvent(QMoveEvent *event)
{
    if (m_card && m_card->isVisible())
        m_card->place();
    HeaderButton::moveEvent(event);
}

void SoundControl::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_hover.expanded()) {
        m_hover.escape();
        event->accept();
        return;
    }
    HeaderButton::keyPressEvent(event);
}

bool SoundControl::eventFilter(QObject *watched, QEvent *event)
{
    // A relayout may move the button by moving one of its ancestors.
    const bool moved = event->type() == QEvent::Move || event->type() == QEvent::Resize;
    if (moved && watched->isWidgetType() && m_card && m_card->isVisible())
        m_card->place();
    return HeaderButton::eventFilter(watched, event);
}

void SoundControl::showCard(bool expanded)
{
    if (!expanded) {
        if (m_card)
            m_card->hide();
        return;
    }
    QWidget *host = window();
    if (host == this)
        return;
    if (!m_card || m_card->parentWidget() != host) {
        delete m_card;
        m_card = new VolumeCard(m_audio, m_hover, this, host);
    }
    for (QWidget *w = parentWidget(); w && w != host; w = w->parentWidget())
        w->installEventFilter(this);
    m_card->place();
    m_card->raise();
    m_card->show();
    // Tab goes from the button straight to the slider.
    if (focusPolicy() & Qt::TabFocus)
        QWidget::setTabOrder(this, m_card->slider());
}

void SoundControl::followFocus(QWidget *now)
{
    VolumeCardHover::Focus focus = VolumeCardHover::Focus::none;
    if (now && now == this)
        focus = VolumeCardHover::Focus::button;
    else if (now && m_card && now == m_card->slider())
        focus = VolumeCardHover::Focus::slider;
    m_hover.setFocus(focus);
}

} // namespace zorvik
