#include "wheel/wheel.h"

namespace zorvik {

// Placeholder until the wheel lands.
Wheel::Wheel(Game &game, QWidget *parent) : QWidget(parent), m_game(game)
{
    setFixedSize(280, 280);
}

} // namespace zorvik
