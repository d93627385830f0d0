// The game's chance and time: the unbiased draw below a bound, and the Qt ticker.
#include "services/qt_ticker.h"
#include "services/random_source.h"
#include "services/system_random.h"

#include <QTest>

#include <array>

using namespace zorvik;

namespace {

struct Scripted final : RandomSource {
    std::uint64_t next64() override { return words.takeFirst(); }
    QList<quint64> words;
};

constexpr std::uint64_t maxWord = ~std::uint64_t(0);

} // namespace

class TestRandomDraw : public QObject {
    Q_OBJECT

private slots:
    // Words whose product with 37 has low 64 bits below 2^64 mod 37 = 12 would favour the low
    // indexes; they are drawn again.
    void rejectsTheBiasedZone_data()
    {
        QTest::addColumn<QList<quint64>>("words");
        QTest::addColumn<quint64>("bound");
        QTest::addColumn<quint64>("index");
        QTest::addColumn<int>("drawn");
        const quint64 firstOfOne = 498560650640798693ULL; // ceil(2^64 / 37): low bits 25
        using W = QList<quint64>;
        QTest::newRow("zero is rejected") << W{0, maxWord} << quint64(37) << quint64(36) << 2;
        QTest::newRow("just past 2^64 / 37") << W{firstOfOne} << quint64(37) << quint64(1) << 1;
        QTest::newRow("several rejected in a row") << W{0, 0, 0, firstOfOne} << quint64(37) << quint64(1) << 4;
        // Low 64 bits of the product exactly 11 (last rejected) and 12 (first kept).
        QTest::newRow("low bits 11 rejected") << W{16452501471146356847ULL, 1} << quint64(37) << quint64(0) << 2;
        QTest::newRow("low bits 12 kept") << W{17948183423068752924ULL, 1} << quint64(37) << quint64(36) << 1;
        QTest::newRow("bound 0 draws nothing") << W{} << quint64(0) << quint64(0) << 0;
        QTest::newRow("bound 1") << W{0x1234} << quint64(1) << quint64(0) << 1;
    }
    void rejectsTheBiasedZone()
    {
        QFETCH(QList<quint64>, words);
        QFETCH(quint64, bound);
        QFETCH(quint64, index);
        QFETCH(int, drawn);
        Scripted random;
        random.words = words;
        QCOMPARE(drawBelow(random, bound), index);
        QCOMPARE(random.words.size(), words.size() - drawn);
    }

    // 370,000 draws from the system source: chi-square over the 37 pockets. For 36 degrees of
    // freedom, 110 has a chance far below 1e-9 of being exceeded by a fair source.
    void systemSourceIsUniform()
    {
        std::array<int, 37> counts{};
        SystemRandom system;
        constexpr int draws = 370000;
        for (int i = 0; i < draws; ++i)
            ++counts[drawBelow(system, 37)];
        const double expected = draws / 37.0;
        double chiSquare = 0;
        for (int count : counts)
            chiSquare += (count - expected) * (count - expected) / expected;
        QVERIFY2(chiSquare < 110.0, qPrintable(QString::number(chiSquare)));
    }

    // Fires on the event loop until its own action invalidates it; the ticker then lets go.
    // Invalidated from outside (twice over), it fires no more either.
    void tickerFiresUntilInvalidated()
    {
        QtTicker ticker;
        int fired = 0;
        std::weak_ptr<RepeatingTimer> held = ticker.schedule(1.0 / 60.0, [&](RepeatingTimer &timer) {
            if (++fired == 3)
                timer.invalidate();
        });
        QTRY_COMPARE(fired, 3);
        QVERIFY(held.expired()); // the ticker alone held it
        QTest::qWait(50);
        QCOMPARE(fired, 3);

        const auto timer = ticker.schedule(0.001, [&](RepeatingTimer &) { ++fired; });
        QTRY_VERIFY(fired > 3);
        timer->invalidate();
        timer->invalidate();
        const int seen = fired;
        QTest::qWait(30);
        QCOMPARE(fired, seen);
        QCOMPARE(ticker.liveTimers(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRandomDraw)
#include "tst_random_draw.moc"
