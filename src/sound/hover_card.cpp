#include "sound/hover_card.h"

namespace zorvik {

HoverCard::HoverCard(QObject *parent) : QObject(parent)
{
    m_dismiss.setSingleShot(true);
    m_dismiss.setTimerType(Qt::PreciseTimer);
    m_dismiss.setInterval(dismissDelay);
    connect(&m_dismiss, &QTimer::timeout, this, &HoverCard::dismiss);
}

void HoverCard::hover(bool inside)
{
    m_dismiss.stop();
    if (inside) {
        setExpanded(true);
        return;
    }
    m_dismiss.start();
}

void HoverCard::setFocus(Focus focus)
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

void HoverCard::escape()
{
    setExpanded(false);
}

void HoverCard::cancel()
{
    m_dismiss.stop();
}

void HoverCard::dismiss()
{
    if (m_focus == Focus::none)
        setExpanded(false);
}

void HoverCard::setExpanded(bool expanded)
{
    if (expanded == m_expanded)
        return;
    m_expanded = expanded;
    emit expandedChanged(expanded);
}

} // namespace zorvik
