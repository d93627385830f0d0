#include "game/message.h"

namespace zorvik {

Message Message::result(int number, Bet bet)
{
    return {Kind::result, number, Roulette::wins(bet, number)};
}

QString Message::english() const
{
    switch (kind) {
    case Kind::idle:
        return QStringLiteral("A little moment of chance.");
    case Kind::spinning:
        return QStringLiteral("Around it goes\u2026");
    case Kind::result:
        break;
    }
    // The number, its colour word (the bet's name, or "Green" for the zero) and the verdict,
    // joined by a middle dot and an em dash.
    const std::optional<Bet> bet = colour();
    const std::string_view name = bet ? betName(*bet) : std::string_view("Green");
    return QString::number(number) + QStringLiteral(" \u00B7 ")
        + QString::fromLatin1(name.data(), qsizetype(name.size())) + QStringLiteral(" \u2014 ")
        + (won ? QStringLiteral("You won!") : QStringLiteral("Not this time."));
}

} // namespace zorvik
