#include "sound/rolling_audio.h"

#include <QtEndian>
#include <QtTest>

#include <cmath>

using namespace zorvik;

namespace {

QVector<int> samples(const QByteArray &wav)
{
    QVector<int> out((wav.size() - 44) / 2);
    for (int i = 0; i < out.size(); ++i)
        out[i] = qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * i);
    return out;
}

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
    void lengthAndHeader_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<int>("n");
        QTest::newRow("0") << 0.0 << 2400;
        QTest::newRow("negative") << -3.0 << 2400;
        QTest::newRow("below 0.1") << 0.05 << 2400;
        QTest::newRow("NaN") << std::nan("") << 2400;
        QTest::newRow("-inf") << -HUGE_VAL << 2400;
        QTest::newRow("0.1") << 0.1 << 2400;
        QTest::newRow("1.0") << 1.0 << 24000;
        QTest::newRow("1.1") << 1.1 << 26400;
        QTest::newRow("2.3 truncates") << 2.3 << 55199;
        QTest::newRow("10") << 10.0 << 240000;
        QTest::newRow("above 10") << 10.5 << 240000;
        QTest::newRow("+inf") << HUGE_VAL << 240000;
    }
    void lengthAndHeader()
    {
        QFETCH(double, duration);
        QFETCH(int, n);
        const QByteArray wav = RollingAudio::wave(duration);
        QCOMPARE(wav.size(), 44 + 2 * n);
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        const auto u16 = [&](int at) { return quint32(qFromLittleEndian<quint16>(wav.constData() + at)); };
        QCOMPARE(wav.left(4) + wav.mid(8, 8) + wav.mid(36, 4), QByteArray("RIFFWAVEfmt data"));
        QCOMPARE((QList<quint32>{u32(4), u32(16), u16(20), u16(22), u32(24), u32(28), u16(32), u16(34), u32(40)}),
                 (QList<quint32>{quint32(36 + 2 * n), 16, 1, 1, 24000, 48000, 2, 16, quint32(2 * n)}));
    }

    void clicks_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<int>>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("1 s") << 1.0 << 32 << QVector<int>{307, 621, 943, 1274, 1612, 1960} << 23112;
        QTest::newRow("0.1 s") << 0.1 << 3 << QVector<int>{345, 834, 1850} << 1850;
        QTest::newRow("10 s") << 10.0 << 323 << QVector<int>{304} << -1;
    }
    void clicks()
    {
        QFETCH(double, duration);
        QFETCH(int, count);
        QFETCH(QVector<int>, first);
        QFETCH(int, last);
        const QVector<int> x = samples(RollingAudio::wave(duration));
        const QVector<int> onsets = clickOnsets(x);
        QCOMPARE(onsets.size(), count);
        QCOMPARE(onsets.mid(0, first.size()), first);
        if (last >= 0)
            QCOMPARE(onsets.last(), last);
        // Silent up to the first click and at the last sample; never near the clamp.
        QVERIFY(std::all_of(x.begin(), x.begin() + onsets.first(), [](int v) { return v == 0; }));
        QCOMPARE(x.last(), 0);
        QVERIFY(std::all_of(x.begin(), x.end(), [](int v) { return std::abs(v) <= 6500; }));
        // Clicks slow down.
        QVERIFY(onsets[1] - onsets[0] < onsets[count - 1] - onsets[count - 2]);
    }

    void deterministicAndFalling()
    {
        for (double d : {0.1, 1.0, 5.5, 10.0})
            QCOMPARE(RollingAudio::wave(d), RollingAudio::wave(d));
        // Durations give different files, not truncations of one another past the fade.
        QVERIFY(RollingAudio::wave(5.0).mid(44, 4000) != RollingAudio::wave(6.0).mid(44, 4000));

        // Louder in the first fifth than in the last.
        const QVector<int> x = samples(RollingAudio::wave(6.0));
        const auto energy = [&](int from, int to) {
            double sum = 0;
            for (int i = from; i < to; ++i)
                sum += double(x[i]) * x[i];
            return sum / (to - from);
        };
        const int fifth = int(x.size() / 5);
        QVERIFY(energy(0, fifth) > 4 * energy(4 * fifth, x.size()));
    }
};

QTEST_APPLESS_MAIN(TestWave)
#include "tst_wave.moc"
