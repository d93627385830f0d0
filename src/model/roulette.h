#pragma once

#include <array>
#include <optional>
#include <string_view>
// Last: moc, given the compiler's include paths (as in the package build), reads <numbers> only
// once another standard header has brought in the library's configuration.
#include <numbers>

namespace zorvik {

// The two colour bets, in the order the panel shows them.
enum class Bet { red, black };

inline constexpr std::array<Bet, 2> allBets{Bet::red, Bet::black};

// "Red" / "Black": the display word of a bet, also used in the result message.
std::string_view betName(Bet bet);

// Exactly "Red" or "Black" (case-sensitive, untrimmed); anything else is no bet.
std::optional<Bet> betFromName(std::string_view name);

namespace Roulette {

// Numbers in the order they sit around a single-zero wheel, starting at the zero.
inline constexpr std::array<int, 37> pockets{0,  32, 15, 19, 4,  21, 2,  25, 17, 34, 6,  27, 13,
                                             36, 11, 30, 8,  23, 10, 5,  24, 16, 33, 1,  20, 14,
                                             31, 9,  22, 18, 29, 7,  28, 12, 35, 3,  26};

inline constexpr std::array<int, 18> reds{1,  3,  5,  7,  9,  12, 14, 16, 18,
                                          19, 21, 23, 25, 27, 30, 32, 34, 36};

inline constexpr double tau = 2.0 * std::numbers::pi;

bool isRed(int number);

// None for the zero, red for the red numbers, black for every other number (no range check).
std::optional<Bet> color(int number);

// True exactly when the number has a colour and it is the bet's.
bool wins(Bet bet, int number);

// The angle reduced into [0, tau).
double normalized(double angle);

// The angle wrapped into [-pi, pi]: the shortest signed turn.
double delta(double angle);

// Cubic ease-out of t clamped to [0, 1]; 0 for negative t and NaN.
double ease(double t);

} // namespace Roulette
} // namespace zorvik
