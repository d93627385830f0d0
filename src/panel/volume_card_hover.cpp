#include "panel/volume_card_hover.h"

namespace zorvik {

VolumeCardHover::VolumeCardHover(QObject *parent) : QObject(parent)
{
    m_dismiss.setSingleShot(true);
    m_dismiss.setTimerType(Qt::PreciseTimer);
    m_dismiss.setInterval(dismissDelay);
    connect(&m_dismiss, &QTimer::timeout, this, &VolumeCardHover::dismiss);
}

void VolumeCardHover::hover(bool inside)
{
    m_dismiss.stop();
    if (inside) {
        setExpanded(true);
        return;
    }
    m_dismiss.start();
}

void VolumeCardHover::setFocus(Focus focus)
{
    if (focus == m_focus)
        return;
    m_focus = focus;
    // Gaining focus opens the card but leaves a pending close alone: it finds the focus set
    // when it fires and does nothing.
    if (focus != Focus::none)
        setExpanded(true);
    else
        hover(false);
}

void VolumeCardHover::escape()
{
    setExpanded(false);
}

void VolumeCardHover::cancel()
{
    m_dismiss.stop();
}

void VolumeCardHover::dismiss()
{
    if (m_focus == Focus::none)
        setExpanded(false);
}

void VolumeCardHover::setExpanded(bool expanded)
{
    if (expanded == m_expanded)
        return;
    m_expanded = expanded;
    emit expandedChanged(expanded);
}

} // namespace zorvik
