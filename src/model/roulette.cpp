#include "model/roulette.h"

#include <algorithm>
#include <cmath>

namespace zorvik {

std::string_view betName(Bet bet)
{
    return bet == Bet::red ? std::string_view("Red") : std::string_view("Black");
}

std::optional<Bet> betFromName(std::string_view name)
{
    if (name == "Red")
        return Bet::red;
    if (name == "Black")
        return Bet::black;
    return std::nullopt;
}

namespace Roulette {

bool isRed(int number)
{
    return std::binary_search(reds.begin(), reds.end(), number);
}

std::optional<Bet> color(int number)
{
    if (number == 0)
        return std::nullopt;
    return isRed(number) ? Bet::red : Bet::black;
}

bool wins(Bet bet, int number)
{
    const std::optional<Bet> c = color(number);
    return c.has_value() && *c == bet;
}

double normalized(double angle)
{
    return std::fmod(std::fmod(angle, tau) + tau, tau);
}

double delta(double angle)
{
    return std::atan2(std::sin(angle), std::cos(angle));
}

double ease(double t)
{
    if (!(t >= 0.0)) // negative or NaN
        return 0.0;
    const double c = std::min(t, 1.0);
    const double rest = 1.0 - c;
    return 1.0 - rest * rest * rest;
}

} // namespace Roulette
} // namespace zorvik
