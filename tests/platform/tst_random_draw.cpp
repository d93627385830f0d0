#include "platform/random_source.h"
#include "platform/system_random.h"

#include <QTest>

#include <array>
#include <deque>

using namespace zorvik;

namespace {

class Scripted final : public RandomSource {
public:
    explicit Scripted(std::deque<std::uint64_t> words) : words(std::move(words)) {}
    std::uint64_t next64() override
    {
        ++drawn;
        const std::uint64_t word = words.front();
        words.pop_front();
        return word;
    }
    std::deque<std::uint64_t> words;
    int drawn = 0;
};

constexpr std::uint64_t maxWord = ~std::uint64_t(0);
constexpr std::uint64_t threshold = 12; // 2^64 mod 37

} // namespace

class TestRandomDraw : public QObject {
    Q_OBJECT

private slots:
    // Words whose product with 37 has low 64 bits below 2^64 mod 37 would favour the low
    // indexes; they are drawn again.
    void rejectsTheBiasedZone_data()
    {
        QTest::addColumn<QList<quint64>>("words");
        QTest::addColumn<quint64>("index");
        QTest::addColumn<int>("drawn");

        // 0 x 37 = 0; ceil(2^64 / 37) x 37 = 2^64 + 25, low 25: fine; the first word past
        // a multiple of 2^64 that leaves less than 12 is rejected.
        const std::uint64_t firstOfOne = 498560650640798693ULL; // ceil(2^64 / 37)
        QTest::newRow("zero is rejected") << QList<quint64>{0, maxWord} << quint64(36) << 2;
        QTest::newRow("lowest accepted word") << QList<quint64>{1} << quint64(0) << 1;
        QTest::newRow("highest word") << QList<quint64>{maxWord} << quint64(36) << 1;
        QTest::newRow("just past 2^64 / 37") << QList<quint64>{firstOfOne} << quint64(1) << 1;
        QTest::newRow("several rejected in a row") << QList<quint64>{0, 0, 0, firstOfOne} << quint64(1) << 4;
    }

    void rejectsTheBiasedZone()
    {
        QFETCH(QList<quint64>, words);
        QFETCH(quint64, index);
        QFETCH(int, drawn);
        Scripted random({words.begin(), words.end()});
        QCOMPARE(drawBelow(random, 37), index);
        QCOMPARE(random.drawn, drawn);
    }

    // Every word in the rejection zone of the first few multiples is redrawn, and the words
    // right after it are kept: exactly 12 rejected words per 2^64 / 37 boundary at most.
    void rejectionZoneIsExact()
    {
        __extension__ typedef unsigned __int128 Wide;
        int rejected = 0;
        for (std::uint64_t k = 0; k < 37; ++k) {
            // The first word r with r x 37 >= k x 2^64.
            const Wide boundary = static_cast<Wide>(k) << 64;
            const auto first = static_cast<std::uint64_t>((boundary + 36) / 37);
            for (std::uint64_t r = first; r < first + 2; ++r) {
                const auto low = static_cast<std::uint64_t>(static_cast<Wide>(r) * 37);
                Scripted random({r, maxWord});
                const std::uint64_t got = drawBelow(random, 37);
                if (low < threshold) {
                    ++rejected;
                    QCOMPARE(random.drawn, 2);
                    QCOMPARE(got, quint64(36));
                } else {
                    QCOMPARE(random.drawn, 1);
                    QCOMPARE(got, k);
                }
            }
        }
        QVERIFY(rejected > 0);
    }

    void otherBounds()
    {
        Scripted none({});
        QCOMPARE(drawBelow(none, 0), quint64(0));
        QCOMPARE(none.drawn, 0);
        Scripted one({0x1234});
        QCOMPARE(drawBelow(one, 1), quint64(0));
        Scripted two({maxWord});
        QCOMPARE(drawBelow(two, 2), quint64(1));
    }

    // 370,000 draws from the system source: chi-square over the 37 pockets. For 36 degrees of
    // freedom, 110 has a chance far below 1e-9 of being exceeded by a fair source.
    void systemSourceIsUniform()
    {
        std::array<int, 37> counts{};
        constexpr int draws = 370000;
        for (int i = 0; i < draws; ++i)
            ++counts[drawBelow(SystemRandom::shared(), 37)];
        const double expected = draws / 37.0;
        double chiSquare = 0;
        for (int count : counts)
            chiSquare += (count - expected) * (count - expected) / expected;
        QVERIFY2(chiSquare < 110.0, qPrintable(QString::number(chiSquare)));
    }
};

QTEST_GUILESS_MAIN(TestRandomDraw)
#include "tst_random_draw.moc"
