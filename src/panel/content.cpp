#include "panel/content.h"

namespace zorvik {

// Placeholder until the panel lands.
Content::Content(Game &game, std::function<void()> hide, std::function<void(bool)> pin, QWidget *parent)
    : QWidget(parent), m_game(game), m_hide(std::move(hide)), m_pin(std::move(pin))
{
    setFixedSize(300, 410);
}

} // namespace zorvik
