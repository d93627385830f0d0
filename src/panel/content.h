#pragma once

#include <QWidget>

#include <functional>

namespace zorvik {

class Game;

// Everything the floating panel shows: header band, wheel, message line, bet controls.
// Window commands go back to the shell through hide and pin.
class Content : public QWidget {
    Q_OBJECT

public:
    Content(Game &game, std::function<void()> hide, std::function<void(bool)> pin,
            QWidget *parent = nullptr);

private:
    Game &m_game;
    std::function<void()> m_hide;
    std::function<void(bool)> m_pin;
};

} // namespace zorvik
