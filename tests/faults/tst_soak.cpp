// Two hundred spins in a row on stand-in services: one timer at most, no player left after
// the last spin, no QObject left behind, and memory that stays flat.
#include "object_census.h"
#include "soak.h"

#include <QtTest>

using namespace zorvik;
using namespace zorvik::testing;

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ObjectCensus::install(); }
    void manySpins();
};

void TestSoak::manySpins()
{
    FakeClock clock;
    ManualTicker ticker;
    ScriptedRandom random;
    RecordingAnnouncer announcer;
    MemorySettings settings;
    RecordingAudioOutput recording;
    CountingAudioOutput output(recording);
    Game game(GameServices{&clock, &ticker, &random, &announcer, &settings, &output});
    for (int i = 0; i < 37; ++i)
        random.words.push_back(ScriptedRandom::wordFor(std::uint64_t(i)));

    // Warm up first: caches and the allocator settle in the first spins.
    constexpr int warmUp = 20;
    constexpr int spins = 200;
    long baseline = 0;
    qsizetype objects = 0;
    for (int round = 0; round < spins; ++round) {
        const int timers = spinWithFakes(game, clock, ticker, round);
        QVERIFY2(timers >= 0, qPrintable(QStringLiteral("spin %1 did not run to its end").arg(round)));
        QVERIFY2(timers <= 1, qPrintable(QStringLiteral("spin %1 had %2 timers").arg(round).arg(timers)));
        QCOMPARE(ticker.liveTimers(), 0);
        QCOMPARE(output.alive, 0);
        recording.events.clear(); // the log would grow on its own
        recording.volumes.clear();
        recording.fades.clear();
        recording.wavSizes.clear();
        if (round + 1 == warmUp) {
            baseline = residentKiB();
            objects = ObjectCensus::alive();
        }
    }
    const long grown = residentKiB() - baseline;
    qInfo("%d spins: RSS grew by %ld KiB after the warm-up; %lld QObjects alive", spins, grown,
          static_cast<long long>(ObjectCensus::alive()));
    QCOMPARE(output.mostAlive, 1);
    QCOMPARE(output.asked, spins);
    QCOMPARE(announcer.messages.size(), spins);
    QCOMPARE(ObjectCensus::alive(), objects);
    QVERIFY2(grown < 2048, qPrintable(QStringLiteral("RSS grew by %1 KiB").arg(grown)));
}

QTEST_GUILESS_MAIN(TestSoak)
#include "tst_soak.moc"
