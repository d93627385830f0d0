#pragma once

#include "model/roulette.h"

#include <QMetaType>
#include <QString>

#include <optional>

namespace zorvik {

// What the game's message says, apart from its words: the greeting before the first spin, the
// spin under way, or a result with its number, the number's colour and whether the bet won.
// Game publishes it beside the English text; what a person sees and hears is MessageText's
// translation of it.
struct Message {
    Q_GADGET
    Q_PROPERTY(Kind kind MEMBER kind)
    Q_PROPERTY(int number MEMBER number)
    Q_PROPERTY(bool won MEMBER won)

public:
    enum class Kind { idle, spinning, result };
    Q_ENUM(Kind)

    Kind kind = Kind::idle;
    int number = 0;   // result: the winning number, 0 to 36
    bool won = false; // result: whether the bet in force won

    static Message result(int number, Bet bet);

    // result: the number's colour; none for the zero.
    std::optional<Bet> colour() const { return Roulette::color(number); }

    // The game's own text: "A little moment of chance.", "Around it goes…", "21 · Red — You won!".
    QString english() const;

    friend bool operator==(const Message &, const Message &) = default;
};

} // namespace zorvik
