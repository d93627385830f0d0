// The whole game without a window, on a fake clock: bet, drag, flick, ticks, result.
#include "support/fakes.h"

#include "model/spin.h"
#include "sound/rolling_audio.h"

#include <QTest>

#include <cmath>
#include <numbers>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvik::Bet)

namespace {

using std::numbers::pi;
constexpr double top = -pi / 2;
constexpr double sweep = 0.25 * (0.75 * 2.5) + 0.75 * 2.5; // three samples 0.25 rad and 0.1 s apart

// A point on the wheel at the given angle, well outside the hub.
QPointF at(double angle)
{
    return {164.0 + 100.0 * std::cos(angle), 164.0 + 100.0 * std::sin(angle)};
}

// One game on fake services, with every change of wheel, ball or radius recorded as what the
// game then showed.
struct Rig : Fakes {
    std::unique_ptr<Game> game = std::make_unique<Game>(services());
    std::vector<Spin::Frame> seen;

    Rig()
    {
        const auto record = [this] { seen.push_back({game->wheel(), game->ball(), game->radius()}); };
        for (const auto changed : {&Game::wheelChanged, &Game::ballChanged, &Game::radiusChanged})
            QObject::connect(game.get(), changed, game.get(), record);
    }
    void dragThrough(const QList<double> &angles, const QList<double> &times)
    {
        for (qsizetype i = 0; i < angles.size(); ++i) {
            clock.t = times.at(i);
            game->drag(at(angles.at(i)));
        }
    }
    // A tick long after the run's end: the first wheel value it published was the plan's end
    // for this flick.
    bool settledAsFlickOf(double wheelAtRelease, double velocity)
    {
        seen.clear();
        clock.t += 60;
        ticker.fire();
        return !seen.empty() && std::abs(seen[0].wheel - Spin(0, wheelAtRelease, velocity).wheelEnd) < 5e-10;
    }
};

} // namespace

class TestGame : public QObject {
    Q_OBJECT

private slots:
    // The whole road of one spin. The run judges the bet in force when it started, whatever the
    // buttons say later, and the sound stops before the result is out.
    void wholeSpin_data()
    {
        QTest::addColumn<bool>("reducedMotion");
        QTest::addColumn<int>("index");
        QTest::addColumn<Bet>("bet");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("muted");
        QTest::addColumn<bool>("refused"); // a biased word drawn first, and no sound to be had
        QTest::newRow("32 red") << false << 1 << Bet::red << u"32 \u00B7 Red \u2014 You won!"_s << false << false;
        QTest::newRow("0 black, reduced motion, muted")
            << true << 0 << Bet::black << u"0 \u00B7 Green \u2014 Not this time."_s << true << false;
        QTest::newRow("26 black, redrawn, silent")
            << false << 36 << Bet::black << u"26 \u00B7 Black \u2014 You won!"_s << false << true;
    }
    void wholeSpin()
    {
        QFETCH(bool, reducedMotion);
        QFETCH(int, index);
        QFETCH(Bet, bet);
        QFETCH(QString, message);
        QFETCH(bool, muted);
        QFETCH(bool, refused);
        Rig rig;
        Game &game = *rig.game;
        game.audio().setMuted(muted);
        const auto everything = [&] { // all ignored without a bet and during a run
            game.drag(at(1.0));
            game.release(false);
            game.start(3.0);
        };
        everything();
        QVERIFY(rig.seen.empty() && !game.spinning());
        rig.random.words = {ScriptedRandom::wordFor(std::uint64_t(index))};
        if (refused)
            rig.random.words.push_front(0);
        rig.output.refuse = refused;
        QStringList soundAtResult; // what the sound had been told when the result first showed
        QObject::connect(&game, &Game::resultChanged, &game, [&] {
            if (game.result() && soundAtResult.isEmpty())
                soundAtResult = rig.output.events;
        });

        int betsShown = 0; // a bet chosen again is no change
        QObject::connect(&game, &Game::betChanged, &game, [&] { ++betsShown; });
        game.select(bet);
        game.select(bet);
        QCOMPARE(betsShown, 1);
        // Clockwise at 2.5 rad/s, sampled every 0.1 s, let go at time 0.
        rig.dragThrough({0.0, 0.25, 0.5}, {-0.2, -0.1, 0.0});
        const double wheelAtRelease = game.wheel();
        game.release(reducedMotion);
        QVERIFY(game.spinning() && !game.result());
        QCOMPARE(game.message(), u"Around it goes\u2026"_s);
        game.select(bet == Bet::red ? Bet::black : Bet::red);
        everything();
        QCOMPARE(game.bet(), bet);
        QCOMPARE(rig.ticker.liveTimers(), 1);
        const Spin plan(index, wheelAtRelease, sweep, reducedMotion);
        // The sound lasts as long as the run: 24 kHz, 16-bit mono after a 44-byte header.
        QVERIFY(std::abs((rig.output.wavSizes.at(0) - 44) / 2 / 24000.0 - plan.duration) < 1e-3);

        // A tick half-way through: reduced motion publishes nothing until the end; otherwise wheel
        // and ball move, and the ball is still on its track.
        rig.seen.clear();
        rig.clock.t = plan.duration / 2;
        rig.ticker.fire();
        const Spin::Frame frame = reducedMotion ? Spin::Frame{wheelAtRelease, top, 146.0} : plan.frame(0.5);
        QCOMPARE(rig.seen.size(), std::size_t(reducedMotion ? 0 : 2));
        QVERIFY(game.wheel() == frame.wheel && game.ball() == frame.ball && game.radius() == frame.radius);

        // At its exact end the run settles on the plan's end.
        rig.seen.clear();
        rig.clock.t = plan.duration;
        rig.ticker.fire();
        QVERIFY(!rig.seen.empty() && rig.seen[0].wheel == plan.wheelEnd);
        QVERIFY(!game.bet() && !game.spinning() && rig.ticker.liveTimers() == 0);
        QCOMPARE(game.result(), std::optional(Roulette::pockets[std::size_t(index)]));
        QVERIFY(game.wheel() == Roulette::normalized(plan.wheelEnd) && game.ball() == Roulette::normalized(plan.ballEnd));
        QCOMPARE(game.radius(), 129.0);
        QCOMPARE(game.message(), message);
        QCOMPARE(rig.announcer.messages, QStringList{message});
        const QStringList sound = refused ? QStringList{u"refused"_s}
                                          : QStringList{u"create"_s, u"volume"_s, u"prepare"_s, u"play"_s, u"stop"_s};
        QVERIFY(soundAtResult == sound && rig.output.events == sound);
        QCOMPARE(rig.output.volumes, refused ? std::vector<float>{} : std::vector<float>{muted ? 0.0F : 0.25F});
        QCOMPARE(rig.output.alive, 0);
    }

    // After a finished spin, drags and releases: whether they flick, and with what velocity.
    void release_data()
    {
        QTest::addColumn<QList<double>>("angles");
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<double>("releaseAt");
        QTest::addColumn<double>("velocity"); // 0: no flick
        using L = QList<double>;
        QTest::newRow("sweep") << L{0.0, 0.25, 0.5} << L{0.0, 0.1, 0.2} << 0.2 << sweep;
        QTest::newRow("counter-clockwise") << L{0.0, -0.25, -0.5} << L{0.0, 0.1, 0.2} << 0.2 << -sweep;
        QTest::newRow("idle 0.2 s makes no flick") << L{0.0, 0.25, 0.5} << L{-0.2, -0.1, 0.0} << 0.2 << 0.0;
        QTest::newRow("distance 0.11 is too short") << L{0.0, 0.11} << L{0.0, 0.05} << 0.05 << 0.0;
        QTest::newRow("distance 0.13 is enough") << L{0.0, 0.13} << L{0.0, 0.05} << 0.05 << 0.75 * 2.6;
        QTest::newRow("speed 0.3125 is too slow") << L{0.0, 0.5} << L{0.0, 1.2} << 1.2 << 0.0;
        QTest::newRow("across the left side") << L{3.0, 3.1, -3.1, -3.0} << L{0.0, 0.1, 0.2, 0.3} << 0.3
                                              << 0.25 * (0.25 * (0.75 * 1.0) + 0.75 * (2 * pi - 6.2) / 0.1) + 0.75;
    }
    void release()
    {
        QFETCH(QList<double>, angles);
        QFETCH(QList<double>, times);
        QFETCH(double, releaseAt);
        QFETCH(double, velocity);
        Rig rig;
        Game &game = *rig.game;
        game.select(Bet::red);
        game.start(7.0);
        QVERIFY(rig.settledAsFlickOf(0.0, 7.0)); // leaves a result and the ball in its pocket
        game.select(Bet::red);
        const double dragStart = game.wheel();

        rig.dragThrough(angles, times);
        // The wheel turned with the pointer, the short way across the left side too.
        QVERIFY(std::abs(game.wheel() - dragStart - std::remainder(angles.last() - angles.first(), 2 * pi)) < 1e-12);
        rig.clock.t = releaseAt;
        game.release(false);
        QCOMPARE(game.spinning(), velocity != 0.0);
        if (velocity != 0.0) {
            QVERIFY(rig.settledAsFlickOf(game.wheel(), velocity));
        } else {
            // Back to where the drag found it at once; the drag's first sample had cleared the
            // result and put the ball back on the track.
            QVERIFY(game.wheel() == dragStart && game.ball() == top && game.radius() == 146.0 && !game.result());
            QCOMPARE(rig.ticker.liveTimers(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
