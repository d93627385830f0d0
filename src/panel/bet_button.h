#pragma once

#include "model/roulette.h"

#include "panel/plain_button.h"

namespace zorvik {

class Game;

// One bet button: a dot in the bet's colour, its name and, while it is the chosen bet, a tick;
// tinted with the bet's colour when chosen. Disabled while the wheel spins. A click selects the
// bet. Assistive technologies hear "Bet Red" with the value "Selected" or "Not selected". The
// name and what is heard are in the user's language.
class BetButton : public PlainButton {
    Q_OBJECT

public:
    BetButton(Game &game, Bet bet, QWidget *parent = nullptr);

    bool chosen() const;

    // "Selected" or "Not selected".
    QString stateText() const;

    // How wide the label row (dot, name and, while chosen, the tick) is drawn.
    qreal labelWidth(bool chosen) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static QFont nameFont();
    void showChoice(std::optional<Bet> bet, std::optional<Bet> previous);

    Game &m_game;
    Bet m_bet;
};

} // namespace zorvik
