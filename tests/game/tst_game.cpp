#include "fakes.h"

#include "game/game.h"
#include "model/roulette.h"
#include "model/spin.h"
#include "sound/rolling_audio.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

using namespace zorvik;
using namespace zorvik::testing;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zorvik::Bet)

namespace {

constexpr double pi = 3.141592653589793;
constexpr double top = -pi / 2;
const QString idleMessage = u"A little moment of chance."_s;

// A point on the wheel at the given angle, well outside the hub.
QPointF at(double angle)
{
    return {164.0 + 100.0 * std::cos(angle), 164.0 + 100.0 * std::sin(angle)};
}

struct Snapshot {
    double wheel, ball, radius;
};

// One game on fake services, with every changed() recorded as what the game then showed.
struct Rig : Fakes {
    std::unique_ptr<Game> game = std::make_unique<Game>(services());
    std::vector<Snapshot> seen;
    QStringList trace; // "changed" and "transaction <seconds>" in the order they came

    Rig()
    {
        QObject::connect(game.get(), &Game::changed, game.get(), [this] {
            seen.push_back({game->wheel(), game->ball(), game->radius()});
            trace.append(u"changed"_s);
        });
        QObject::connect(game.get(), &Game::animationTransaction, game.get(),
                         [this](double s) { trace.append(u"transaction "_s + QString::number(s)); });
    }
    void clear()
    {
        seen.clear();
        trace.clear();
    }
    void dragThrough(const QList<double> &angles, const QList<double> &times)
    {
        for (qsizetype i = 0; i < angles.size(); ++i) {
            clock.t = times.at(i);
            game->drag(at(angles.at(i)));
        }
    }
    // A tick long after any run's end.
    void finish()
    {
        clock.t += 60;
        ticker.fire();
    }
    // The first wheel value the settling tick published was the plan's end for this flick.
    bool settledAsFlickOf(double wheelAtRelease, double velocity)
    {
        clear();
        finish();
        return !seen.empty() && std::abs(seen[0].wheel - Spin(0, wheelAtRelease, velocity).wheelEnd) < 5e-10;
    }
};

} // namespace

class TestGame : public QObject {
    Q_OBJECT

private slots:
    void startsIdleAndEveryAssignmentNotifies()
    {
        Rig rig;
        Game &game = *rig.game;
        QVERIFY(!game.bet() && !game.spinning() && !game.result() && !game.timerRunning());
        QCOMPARE(game.wheel(), 0.0);
        QCOMPARE(game.ball(), top);
        QCOMPARE(game.radius(), 146.0);
        QCOMPARE(game.message(), idleMessage);
        QVERIFY(game.pinned());
        QCOMPARE(game.audio().volume(), 0.25);
        QVERIFY(rig.settings.writes.isEmpty());

        QSignalSpy spy(&game, &Game::changed);
        game.select(Bet::red);
        game.select(Bet::red);
        game.setPinned(true);
        game.setPinned(true);
        QCOMPARE(spy.count(), 4);
        QCOMPARE(game.bet(), Bet::red);
    }

    // The whole road of one spin without a window: bet, drag, flick, ticks, settle.
    void wholeSpin_data()
    {
        QTest::addColumn<bool>("reducedMotion");
        QTest::newRow("full motion") << false;
        QTest::newRow("reduced motion") << true;
    }
    void wholeSpin()
    {
        QFETCH(bool, reducedMotion);
        Rig rig;
        Game &game = *rig.game;
        rig.random.words = {ScriptedRandom::wordFor(1)}; // pocket 32, red

        // What the game looks like each time the sound is touched.
        QStringList audioSeen;
        rig.output.onEvent = [&](const QString &event) {
            audioSeen.append(u"%1 timers=%2 result=%3"_s.arg(event).arg(rig.ticker.liveTimers())
                                 .arg(game.result() ? QString::number(*game.result()) : u"none"_s));
        };

        game.select(Bet::red);
        QCOMPARE(rig.trace.size(), 1);

        // Clockwise at 2.5 rad/s, sampled every 0.1 s.
        rig.clear();
        rig.dragThrough({0.0, 0.25, 0.5}, {10.0, 10.1, 10.2});
        QCOMPARE(rig.trace.size(), 3 + 2); // first sample: result, radius, ball; then one wheel each
        QVERIFY(std::abs(game.wheel() - 0.5) < 1e-12);
        const double wheelAtRelease = game.wheel();

        rig.clear();
        game.release(reducedMotion);
        QVERIFY(game.spinning() && !game.result() && game.timerRunning());
        QCOMPARE(game.message(), u"Around it goes\u2026"_s);
        QCOMPARE(game.bet(), Bet::red);
        QCOMPARE(rig.trace, QStringList(3, u"changed"_s)); // spinning, result, message; no transaction
        QCOMPARE(rig.random.drawn, 1);
        QCOMPARE(rig.ticker.liveTimers(), 1);
        QCOMPARE(rig.ticker.last.lock()->interval, 1.0 / 60.0);
        QCOMPARE(audioSeen, QStringList({u"create timers=0 result=none"_s, u"volume timers=0 result=none"_s,
                                         u"prepare timers=0 result=none"_s, u"play timers=0 result=none"_s}));
        QCOMPARE(rig.output.volumes, std::vector<float>{0.25F});
        QCOMPARE(rig.output.fades, std::vector<double>{0.04});

        const Spin plan(1, wheelAtRelease, 0.25 * (0.75 * 2.5) + 0.75 * 2.5, reducedMotion);
        // The sound lasts as long as the run: 24 kHz, 16-bit mono after a 44-byte header.
        QCOMPARE(rig.output.wavSizes.size(), std::size_t(1));
        QVERIFY(std::abs((rig.output.wavSizes[0] - 44) / 2 / 24000.0 - plan.duration) < 1e-3);

        // A tick half-way through: reduced motion publishes nothing until the end.
        rig.clear();
        rig.clock.t = 10.2 + plan.duration / 2;
        rig.ticker.fire();
        const Spin::Frame frame = reducedMotion ? Spin::Frame{wheelAtRelease, top, 146.0} : plan.frame((rig.clock.t - 10.2) / plan.duration);
        QCOMPARE(rig.seen.size(), std::size_t(reducedMotion ? 0 : 3));
        QCOMPARE(game.wheel(), frame.wheel);
        QCOMPARE(game.ball(), frame.ball);
        QCOMPARE(game.radius(), frame.radius);
        QVERIFY(game.spinning());
        QVERIFY(rig.announcer.messages.isEmpty());

        // A late tick settles the run at the plan's exact end.
        rig.clear();
        rig.clock.t = 10.2 + plan.duration + 0.4;
        rig.ticker.fire();
        QCOMPARE(rig.seen.size(), std::size_t(3 + 6));
        QCOMPARE(rig.seen[0].wheel, plan.wheelEnd);
        QCOMPARE(rig.seen[1].ball, plan.ballEnd);
        QCOMPARE(rig.seen[2].radius, 129.0);

        const QString message = u"32 \u00B7 Red \u2014 You won!"_s;
        QCOMPARE(game.result(), 32);
        QCOMPARE(game.message(), message);
        QVERIFY(!game.bet() && !game.spinning() && !game.timerRunning());
        QCOMPARE(game.wheel(), Roulette::normalized(plan.wheelEnd));
        QCOMPARE(game.ball(), Roulette::normalized(plan.ballEnd));
        QVERIFY(game.wheel() >= 0 && game.wheel() < Roulette::tau);
        QVERIFY(game.ball() >= 0 && game.ball() < Roulette::tau);
        QCOMPARE(game.radius(), 129.0);
        QCOMPARE(rig.ticker.liveTimers(), 0);
        QCOMPARE(rig.announcer.messages, QStringList{message});
        // The sound stops after the timer is gone and before the result is out.
        QCOMPARE(audioSeen.last(), u"stop timers=0 result=none"_s);
        QCOMPARE(rig.output.alive, 0);

        // Nothing more happens on later ticks.
        rig.clear();
        rig.ticker.fire();
        QVERIFY(rig.trace.isEmpty());
        QCOMPARE(rig.announcer.messages.size(), 1);

        // The next drag needs a new bet; with one, its first sample puts the ball back on top.
        game.drag(at(1.0));
        QVERIFY(rig.trace.isEmpty());
        game.select(Bet::black);
        rig.clear();
        const double settledWheel = game.wheel();
        game.drag(at(1.0));
        QVERIFY(!game.result());
        QCOMPARE(game.ball(), top);
        QCOMPARE(game.radius(), 146.0);
        QCOMPARE(game.wheel(), settledWheel);
        QCOMPARE(game.message(), message);
        QCOMPARE(rig.trace.size(), 3);
    }

    // The run judges the bet in force when it started, whatever the buttons say later.
    void resultMessage_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<Bet>("bet");
        QTest::addColumn<QString>("message");
        QTest::newRow("0 red") << 0 << Bet::red << u"0 \u00B7 Green \u2014 Not this time."_s;
        QTest::newRow("32 red") << 1 << Bet::red << u"32 \u00B7 Red \u2014 You won!"_s;
        QTest::newRow("32 black") << 1 << Bet::black << u"32 \u00B7 Red \u2014 Not this time."_s;
        QTest::newRow("15 black") << 2 << Bet::black << u"15 \u00B7 Black \u2014 You won!"_s;
        QTest::newRow("26 red") << 36 << Bet::red << u"26 \u00B7 Black \u2014 Not this time."_s;
    }
    void resultMessage()
    {
        QFETCH(int, index);
        QFETCH(Bet, bet);
        QFETCH(QString, message);
        Rig rig;
        rig.random.words = {ScriptedRandom::wordFor(std::uint64_t(index))};
        rig.game->select(bet);
        rig.game->start();
        rig.game->select(bet == Bet::red ? Bet::black : Bet::red);
        QCOMPARE(rig.game->bet(), bet);
        rig.finish();
        QCOMPARE(rig.game->result(), Roulette::pockets[std::size_t(index)]);
        QCOMPARE(rig.game->message(), message);
        QCOMPARE(rig.announcer.messages, QStringList{message});
    }

    // The accessibility action: no drag, from the current rotation; it ends exactly at its duration.
    void startWithoutDrag_data()
    {
        QTest::addColumn<bool>("reducedMotion");
        QTest::newRow("full motion") << false;
        QTest::newRow("reduced motion") << true;
    }
    void startWithoutDrag()
    {
        QFETCH(bool, reducedMotion);
        Rig rig;
        Game &game = *rig.game;
        rig.clock.t = 0.0;
        game.select(Bet::black);
        game.start(7.0, reducedMotion);
        const Spin plan(18, 0.0, 7.0, reducedMotion);
        rig.clock.t = 0.001;
        rig.ticker.fire();
        if (!reducedMotion) {
            QCOMPARE(game.radius(), 146.0);
            QVERIFY(std::abs(game.ball() - top) < 0.05);
        }
        rig.clock.t = std::nextafter(plan.duration, 0.0);
        rig.ticker.fire();
        QVERIFY(game.spinning());
        rig.clock.t = plan.duration;
        rig.ticker.fire();
        QVERIFY(!game.spinning());
        QCOMPARE(game.result(), Roulette::pockets[18]);
    }

    // Drags and releases: whether they flick, and with what velocity.
    void release_data()
    {
        QTest::addColumn<QList<double>>("angles");
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<double>("releaseAt");
        QTest::addColumn<double>("velocity"); // 0: no flick
        const double sweep = 0.25 * (0.75 * 2.5) + 0.75 * 2.5;
        using L = QList<double>;
        QTest::newRow("sweep") << L{0.0, 0.25, 0.5} << L{0.0, 0.1, 0.2} << 0.2 << sweep;
        QTest::newRow("counter-clockwise") << L{0.0, -0.25, -0.5} << L{0.0, 0.1, 0.2} << 0.2 << -sweep;
        QTest::newRow("samples 4 ms apart count as 8 ms")
            << L{0.0, 0.13, 0.14} << L{0.0, 0.1, 0.104} << 0.104 << 0.25 * (0.75 * 1.3) + 0.75 * (0.01 / 0.008);
        QTest::newRow("idle exactly 0.15 s keeps the velocity")
            << L{0.0, 0.25, 0.5} << L{-0.2, -0.1, 0.0} << 0.15 << sweep;
        QTest::newRow("idle 0.2 s makes no flick") << L{0.0, 0.25, 0.5} << L{-0.2, -0.1, 0.0} << 0.2 << 0.0;
        QTest::newRow("distance 0.11 is too short") << L{0.0, 0.11} << L{0.0, 0.05} << 0.05 << 0.0;
        QTest::newRow("distance 0.13 is enough") << L{0.0, 0.13} << L{0.0, 0.05} << 0.05 << 0.75 * 2.6;
        QTest::newRow("speed 0.3125 is too slow") << L{0.0, 0.5} << L{0.0, 1.2} << 1.2 << 0.0;
        QTest::newRow("speed 0.375 is fast enough") << L{0.0, 0.5} << L{0.0, 1.0} << 1.0 << 0.375;
        QTest::newRow("one sample is no flick") << L{1.0} << L{0.0} << 0.0 << 0.0;
        QTest::newRow("across the left side") << L{3.0, 3.1, -3.1, -3.0} << L{0.0, 0.1, 0.2, 0.3} << 0.3
                                              << 0.25 * (0.25 * (0.75 * 1.0) + 0.75 * (2 * pi - 6.2) / 0.1) + 0.75;
    }
    void release()
    {
        QFETCH(QList<double>, angles);
        QFETCH(QList<double>, times);
        QFETCH(double, releaseAt);
        QFETCH(double, velocity);
        const bool flick = velocity != 0.0;
        Rig rig;
        Game &game = *rig.game;
        game.select(Bet::red);
        game.start(7.0);
        rig.finish(); // a finished spin leaves the wheel somewhere
        game.select(Bet::red);
        const double dragStart = game.wheel();
        rig.output.events.clear();

        rig.dragThrough(angles, times);
        rig.clear();
        rig.clock.t = releaseAt;
        game.release(false);

        QCOMPARE(game.spinning(), flick);
        QCOMPARE(rig.ticker.liveTimers(), flick ? 1 : 0);
        QCOMPARE(rig.output.events.contains(u"play"_s), flick);
        if (flick) {
            QVERIFY(!rig.trace.join(u' ').contains(u"transaction"_s));
            QVERIFY(rig.settledAsFlickOf(game.wheel(), velocity));
        } else {
            // Back to where the drag found it, in one 0.25 s ease-out transaction.
            QCOMPARE(rig.trace, QStringList({u"transaction 0.25"_s, u"changed"_s}));
            QCOMPARE(game.wheel(), dragStart);
            QCOMPARE(game.ball(), top);
            QCOMPARE(game.radius(), 146.0);
            QVERIFY(!game.result());
        }

        // A second release finds no drag in progress.
        const int timers = rig.ticker.scheduled;
        rig.clear();
        game.release(false);
        QVERIFY(rig.trace.isEmpty());
        QCOMPARE(rig.ticker.scheduled, timers);
    }

    void wheelFollowsThePointer()
    {
        // From 3.1 to -3.1 the pointer crosses the left side clockwise: a small positive step.
        Rig rig;
        rig.game->select(Bet::red);
        rig.dragThrough({3.1, -3.1}, {0.0, 0.1});
        QVERIFY(std::abs(rig.game->wheel() - (2 * pi - 6.2)) < 1e-12);
        rig.dragThrough({-3.1 + 0.5}, {0.2});
        QVERIFY(std::abs(rig.game->wheel() - (2 * pi - 6.2 + 0.5)) < 1e-12);
    }

    // Samples that carry no angle change nothing, not even the drag's last sample.
    void ignoredSamples_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("accepted");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const double huge = std::numeric_limits<double>::max();
        QTest::newRow("45 below the centre") << QPointF(164, 209) << false;
        QTest::newRow("46 below the centre") << QPointF(164, 210) << true;
        QTest::newRow("NaN x") << QPointF(nan, 300) << false;
        QTest::newRow("NaN y") << QPointF(300, nan) << false;
        QTest::newRow("infinite x") << QPointF(inf, 164) << false;
        QTest::newRow("minus infinite y") << QPointF(164, -inf) << false;
        // Far outside the wheel the pointer still has a direction.
        QTest::newRow("huge") << QPointF(huge, huge) << true;
        QTest::newRow("huge negative") << QPointF(-huge, 164) << true;
    }
    void ignoredSamples()
    {
        QFETCH(QPointF, point);
        QFETCH(bool, accepted);
        Rig rig;
        Game &game = *rig.game;
        game.select(Bet::red);
        rig.dragThrough({0.0}, {0.0}); // from straight right; the sample under test 0.1 s later
        rig.clear();
        rig.clock.t = 0.1;
        game.drag(point);
        QCOMPARE(rig.trace.size(), accepted ? 1 : 0);
        QVERIFY(std::isfinite(game.wheel()));
        if (!accepted) {
            QCOMPARE(game.wheel(), 0.0);
            // The ignored sample left the last angle and time alone: the next one measures
            // from the first sample.
            rig.dragThrough({0.3}, {0.2});
            QVERIFY(std::abs(game.wheel() - 0.3) < 1e-12);
            game.release(false);
            QVERIFY(rig.settledAsFlickOf(game.wheel(), 0.75 * 1.5));
        } else if (point == QPointF(164, 210)) {
            QVERIFY(std::abs(game.wheel() - pi / 2) < 1e-12); // straight down
        }

        // A drag of nothing but ignored samples is no drag: its release does nothing.
        Rig other;
        other.game->select(Bet::red);
        other.clear();
        other.game->drag(point);
        other.game->release(false);
        QCOMPARE(other.trace.isEmpty(), !accepted);
    }

    void ignoredWithoutBetOrDuringSpin()
    {
        Rig rig;
        Game &game = *rig.game;
        const auto everything = [&] {
            rig.dragThrough({0.0, 0.5, 1.0}, {0.0, 0.01, 0.02});
            game.release(false);
            game.start(3.0);
        };
        everything(); // no bet
        QVERIFY(rig.trace.isEmpty());
        QCOMPARE(rig.random.drawn, 0);
        QVERIFY(rig.output.events.isEmpty());
        QCOMPARE(rig.ticker.scheduled, 0);
        QCOMPARE(game.message(), idleMessage);

        // During a spin: select, drag and start are ignored; one timer, one sound.
        game.select(Bet::red);
        game.start();
        rig.clear();
        game.select(Bet::black);
        everything();
        QVERIFY(rig.trace.isEmpty());
        QCOMPARE(game.bet(), Bet::red);
        QCOMPARE(rig.ticker.scheduled, 1);
        QCOMPARE(rig.ticker.liveTimers(), 1);
        QCOMPARE(rig.output.events.count(u"create"_s), 1);
        QCOMPARE(rig.random.drawn, 1);
    }

    // A word in the biased zone is drawn again; a refused sound leaves the run silent but whole.
    void redrawAndRefusedSound()
    {
        Rig rig;
        rig.random.words = {0, ScriptedRandom::wordFor(5)};
        rig.output.refuse = true;
        rig.game->select(Bet::red);
        rig.game->start();
        QCOMPARE(rig.random.drawn, 2);
        QVERIFY(rig.game->timerRunning());
        rig.finish();
        QVERIFY(!rig.game->spinning());
        QCOMPARE(rig.game->result(), Roulette::pockets[5]);
        QCOMPARE(rig.output.events, QStringList{u"refused"_s});
        QCOMPARE(rig.announcer.messages.size(), 1);
    }

    // The timer holds the game weakly: a game destroyed mid-spin leaves its timer scheduled,
    // and the timer ends itself at its next firing.
    void destroyedMidSpin()
    {
        Rig rig;
        rig.game->select(Bet::red);
        rig.game->start();
        rig.clock.t += 1.0;
        rig.ticker.fire();
        const auto timer = rig.ticker.last.lock();
        QVERIFY(timer);

        rig.game.reset();
        QCOMPARE(rig.ticker.liveTimers(), 1);
        QCOMPARE(timer->invalidations, 0);
        QCOMPARE(rig.output.alive, 0);
        QCOMPARE(rig.output.events.last(), u"play"_s); // dropped, not stopped

        rig.clock.t += 1.0;
        rig.ticker.fire();
        QCOMPARE(timer->invalidations, 1);
        QVERIFY(!timer->isValid());
        QCOMPARE(rig.ticker.liveTimers(), 0);
        QVERIFY(rig.announcer.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
