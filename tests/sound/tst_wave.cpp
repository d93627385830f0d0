#include "sound/rolling_audio.h"

#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <numeric>

using namespace zorvik;

namespace {

// A click starts where a sample rises well above the previous 1850 Hz period (13 samples) and
// the 0.3 ms attack ahead climbs higher still; decayed tails flickering near zero are not clicks.
QVector<int> clickOnsets(const QVector<int> &x)
{
    QVector<int> onsets;
    for (int i = 1; i < x.size(); ++i) {
        int before = 0, ahead = 0;
        for (int k = std::max(0, i - 13); k < i; ++k)
            before = std::max(before, std::abs(x[k]));
        for (int k = i; k < std::min<int>(x.size(), i + 8); ++k)
            ahead = std::max(ahead, std::abs(x[k]));
        if (x[i] > 3 * before && ahead > 4 * before + 8) {
            onsets.append(i);
            i += 100;
        }
    }
    return onsets;
}

} // namespace

class TestWave : public QObject {
    Q_OBJECT

private slots:
    // Each sound's header and length, and for the three sounds heard here the onsets of its
    // clicks (the first few and the last); NaN and out-of-range lengths are clamped.
    void wave_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("count"); // 0: clicks not checked
        QTest::addColumn<QVector<int>>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("1 s") << 1.0 << 24000 << 32 << QVector<int>{307, 621, 943, 1274, 1612, 1960} << 23112;
        QTest::newRow("0.1 s") << 0.1 << 2400 << 3 << QVector<int>{345, 834, 1850} << 1850;
        QTest::newRow("10 s") << 10.0 << 240000 << 323 << QVector<int>{304} << 239109;
        QTest::newRow("2.3 truncates") << 2.3 << 55199 << 0 << QVector<int>() << 0;
        QTest::newRow("negative") << -3.0 << 2400 << 0 << QVector<int>() << 0;
        QTest::newRow("NaN") << std::nan("") << 2400 << 0 << QVector<int>() << 0;
        QTest::newRow("-inf") << -HUGE_VAL << 2400 << 0 << QVector<int>() << 0;
        QTest::newRow("above 10") << 10.5 << 240000 << 0 << QVector<int>() << 0;
        QTest::newRow("+inf") << HUGE_VAL << 240000 << 0 << QVector<int>() << 0;
    }
    void wave()
    {
        QFETCH(double, duration);
        QFETCH(int, n);
        QFETCH(int, count);
        QFETCH(QVector<int>, first);
        QFETCH(int, last);
        const QByteArray wav = RollingAudio::wave(duration);
        QCOMPARE(wav.size(), 44 + 2 * n);
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        const auto u16 = [&](int at) { return quint32(qFromLittleEndian<quint16>(wav.constData() + at)); };
        QCOMPARE(wav.left(4) + wav.mid(8, 8) + wav.mid(36, 4), QByteArray("RIFFWAVEfmt data"));
        QCOMPARE((QList<quint32>{u32(4), u32(16), u16(20), u16(22), u32(24), u32(28), u16(32), u16(34), u32(40)}),
                 (QList<quint32>{quint32(36 + 2 * n), 16, 1, 1, 24000, 48000, 2, 16, quint32(2 * n)}));
        QCOMPARE(RollingAudio::wave(duration), wav); // the same bytes every time
        if (count == 0)
            return;

        QVector<int> x(n);
        for (int i = 0; i < n; ++i)
            x[i] = qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * i);
        const QVector<int> onsets = clickOnsets(x);
        QCOMPARE(onsets.size(), count);
        QCOMPARE(onsets.mid(0, first.size()), first);
        QCOMPARE(onsets.last(), last);
        // Silent up to the first click and at the last sample; never near the clamp.
        QVERIFY(std::all_of(x.begin(), x.begin() + onsets.first(), [](int v) { return v == 0; }));
        QCOMPARE(x.last(), 0);
        QVERIFY(std::all_of(x.begin(), x.end(), [](int v) { return std::abs(v) <= 6500; }));
        // Clicks slow down, and the first fifth is louder than the last.
        QVERIFY(onsets[1] - onsets[0] < onsets[count - 1] - onsets[count - 2]);
        const qsizetype fifth = x.size() / 5;
        const auto energy = [&](qsizetype from) {
            return std::inner_product(x.begin() + from, x.begin() + from + fifth, x.begin() + from, 0.0);
        };
        QVERIFY(duration < 1 || energy(0) > 4 * energy(x.size() - fifth)); // 0.1 s is too short to fade
    }
};

QTEST_APPLESS_MAIN(TestWave)
#include "tst_wave.moc"
