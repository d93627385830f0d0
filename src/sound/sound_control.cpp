#include "sound/sound_control.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QSlider>

#include "panel/palette.h"
#include "platform/fonts.h"
#include "platform/symbols.h"
#include "sound/rolling_audio.h"
#include "sound/volume_card.h"

namespace zorvik {

SoundControl::SoundControl(RollingAudio &audio, QWidget *parent)
    : QAbstractButton(parent), m_audio(audio)
{
    setFixedSize(28, 32);
    // Reached with Tab, but a click leaves the keyboard focus where it was, so clicking does
    // not hold the card open.
    setFocusPolicy(Qt::TabFocus);
    setToolTip(tr("Click to mute or unmute. Hover to adjust volume."));

    connect(this, &QAbstractButton::clicked, this, [this] { m_audio.setMuted(!m_audio.muted()); });
    connect(&m_audio, &RollingAudio::changed, this, &SoundControl::refresh);
    connect(&m_hover, &HoverCard::expandedChanged, this, &SoundControl::showCard);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { followFocus(now); });
    refresh();
}

SoundControl::~SoundControl()
{
    m_hover.cancel();
    // The card lives in the window, not in this control.
    delete m_card;
}

QString SoundControl::symbolName(bool muted, double volume)
{
    return muted || volume == 0 ? QStringLiteral("speaker.slash") : QStringLiteral("speaker.wave.1");
}

QString SoundControl::accessibleLabel(bool muted)
{
    return muted ? tr("Unmute rolling sound") : tr("Mute rolling sound");
}

void SoundControl::refresh()
{
    setAccessibleName(accessibleLabel(m_audio.muted()));
    update();
}

void SoundControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Plain style: only the symbol, in the header's tint; a little lighter while pressed.
    QColor color = Palette::headerTint().resolve(this);
    if (isDown())
        color = withOpacity(color, 0.6);
    // The symbol takes the font set around it; where nothing was set, the header's own.
    const QFont symbolFont = font().resolveMask() ? font() : Fonts::rounded(14);
    Symbols::draw(painter, symbolName(m_audio.muted(), m_audio.volume()), rect(), symbolFont, color);
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(withOpacity(Palette::headerTint().resolve(this), 0.5), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 3.5, -1.5, -3.5), 7, 7);
    }
}

void SoundControl::enterEvent(QEnterEvent *event)
{
    m_hover.hover(true);
    QAbstractButton::enterEvent(event);
}

void SoundControl::leaveEvent(QEvent *event)
{
    m_hover.hover(false);
    QAbstractButton::leaveEvent(event);
}

void SoundControl::moveEvent(QMoveEvent *event)
{
    if (m_card && m_card->isVisible())
        m_card->place();
    QAbstractButton::moveEvent(event);
}

bool SoundControl::eventFilter(QObject *watched, QEvent *event)
{
    // A relayout may move the button by moving one of its ancestors.
    const bool moved = event->type() == QEvent::Move || event->type() == QEvent::Resize;
    if (moved && watched->isWidgetType() && m_card && m_card->isVisible())
        m_card->place();
    return QAbstractButton::eventFilter(watched, event);
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
    HoverCard::Focus focus = HoverCard::Focus::none;
    if (now && now == this)
        focus = HoverCard::Focus::button;
    else if (now && m_card && now == m_card->slider())
        focus = HoverCard::Focus::slider;
    m_hover.setFocus(focus);
}

} // namespace zorvik
