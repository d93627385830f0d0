#pragma once

#include <QWidget>

namespace zorvik {

class Game;

// The roulette wheel: 280 x 280, drawn from the game's state, flicked with the pointer.
class Wheel : public QWidget {
    Q_OBJECT

public:
    explicit Wheel(Game &game, QWidget *parent = nullptr);

private:
    Game &m_game;
};

} // namespace zorvik
