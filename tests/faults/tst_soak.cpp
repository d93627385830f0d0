// Two hundred spins in a row on stand-in services: one timer at most, no player left after
// each spin, no QObject left behind, and memory that stays flat.
#include "object_census.h"
#include "soak.h"

#include <QtTest>

using namespace zorvik;
using namespace zorvik::testing;

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ObjectCensus::install(); }

    void manySpins()
    {
        Fakes fakes;
        CountingAudioOutput output(fakes.output);
        GameServices services = fakes.services();
        services.audioOutput = &output;
        Game game(services);
        for (std::uint64_t i = 0; i < 37; ++i)
            fakes.random.words.push_back(ScriptedRandom::wordFor(i));

        constexpr int warmUp = 20, spins = 200; // caches and the allocator settle in the first spins
        long baseline = 0;
        qsizetype objects = 0;
        for (int round = 0; round < spins; ++round) {
            const int timers = spinWithFakes(game, fakes.clock, fakes.ticker, round);
            QVERIFY2(timers == 0 || timers == 1, qPrintable(QStringLiteral("spin %1: %2").arg(round).arg(timers)));
            QCOMPARE(fakes.ticker.liveTimers(), 0);
            QCOMPARE(output.alive, 0);
            fakes.output = RecordingAudioOutput(); // its logs would grow on their own
            if (round + 1 == warmUp) {
                baseline = residentKiB();
                objects = ObjectCensus::alive();
            }
        }
        const long grown = residentKiB() - baseline;
        QCOMPARE(output.mostAlive, 1);
        QCOMPARE(output.asked, spins);
        QCOMPARE(fakes.announcer.messages.size(), spins);
        QCOMPARE(ObjectCensus::alive(), objects);
        QVERIFY2(grown < 2048, qPrintable(QStringLiteral("RSS grew by %1 KiB").arg(grown)));
    }
};

QTEST_GUILESS_MAIN(TestSoak)
#include "tst_soak.moc"
