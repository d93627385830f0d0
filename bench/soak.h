#pragma once

// Pieces of bench_soak's long run of spins.

#include "support/fakes.h"

#include <QFile>
#include <QPointF>

#include <unistd.h>

#include <cmath>

namespace zorvik::testing {

// Resident set size in KiB, from /proc/self/statm.
inline long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> fields = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return fields.size() < 2 ? -1 : fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

// Passes players through from another output and counts those alive.
class CountingAudioOutput final : public AudioOutput {
public:
    explicit CountingAudioOutput(AudioOutput &inner) : m_inner(inner) {}

    std::unique_ptr<AudioPlayer> createPlayer(Wave wave) override
    {
        ++asked;
        std::unique_ptr<AudioPlayer> inner = m_inner.createPlayer(std::move(wave));
        refused += inner ? 0 : 1;
        return inner ? std::make_unique<Player>(*this, std::move(inner)) : nullptr;
    }

    int asked = 0;
    int refused = 0;
    int alive = 0;
    int mostAlive = 0;

private:
    class Player final : public AudioPlayer {
    public:
        Player(CountingAudioOutput &output, std::unique_ptr<AudioPlayer> inner)
            : m_output(output), m_inner(std::move(inner))
        {
            ++m_output.alive;
            m_output.mostAlive = std::max(m_output.mostAlive, m_output.alive);
        }
        ~Player() override { --m_output.alive; }
        void setVolume(float volume, double fadeSeconds) override { m_inner->setVolume(volume, fadeSeconds); }
        void prepareToPlay() override { m_inner->prepareToPlay(); }
        void play() override { m_inner->play(); }
        void stop() override { m_inner->stop(); }

    private:
        CountingAudioOutput &m_output;
        std::unique_ptr<AudioPlayer> m_inner;
    };

    AudioOutput &m_inner;
};

// One whole spin on a fake clock and a manual ticker: a bet, a flick by drag (or, every third
// spin, a plain start), and 1/60 s ticks until the ball settles. Returns the most timers that
// were alive at once, or -1 when the spin did not start or did not settle.
inline int spinWithFakes(Game &game, FakeClock &clock, ManualTicker &ticker, int round)
{
    game.select(round % 2 ? Bet::red : Bet::black);
    if (round % 3 == 0) {
        game.start(5.0 + round % 7, false);
    } else {
        for (int k = 0; k <= 6; ++k) { // a quarter turn in 60 ms, clockwise or not
            const double a = 0.37 * round + (round % 4 < 2 ? 0.26 : -0.26) * k;
            game.drag(QPointF(164 + 120 * std::cos(a), 164 + 120 * std::sin(a)));
            clock.t += 0.01;
        }
        game.release(false);
    }
    if (!game.spinning())
        return -1;
    int mostTimers = ticker.liveTimers();
    for (int tick = 0; game.spinning() && tick < 60 * 20; ++tick) {
        clock.t += 1.0 / 60;
        ticker.fire();
        mostTimers = std::max(mostTimers, ticker.liveTimers());
    }
    return game.spinning() || !game.result() ? -1 : mostTimers;
}

} // namespace zorvik::testing
