#include "sound/rolling_audio.h"

#include <QtTest>

#include <cmath>
#include <cstdint>
#include <cstring>

using namespace zorvik;

namespace {

quint32 u32At(const QByteArray &b, int offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + offset);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 u16At(const QByteArray &b, int offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + offset);
    return quint16(p[0] | p[1] << 8);
}

QVector<int> samples(const QByteArray &wav)
{
    QVector<int> out((wav.size() - 44) / 2);
    for (int i = 0; i < out.size(); ++i)
        out[i] = qint16(u16At(wav, 44 + 2 * i));
    return out;
}

// A click starts where a sample stands well above everything in the previous 1850 Hz period:
// inside a click the ring decays by about a fifth per period, while each new click opens with
// a positive step several times larger than what is left of the last one, rising through the
// 0.3 ms attack (the few units of a decayed tail flickering out of zero are not clicks).
QVector<int> clickOnsets(const QVector<int> &x)
{
    QVector<int> onsets;
    for (int i = 1; i < x.size(); ++i) {
        int before = 0;
        for (int k = std::max(0, i - 13); k < i; ++k)
            before = std::max(before, std::abs(x[k]));
        int ahead = 0;
        for (int k = i; k < std::min<int>(int(x.size()), i + 8); ++k)
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
        QTest::addColumn<int>("sampleCount");
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
        QFETCH(int, sampleCount);
        const QByteArray wav = RollingAudio::wave(duration);
        QCOMPARE(wav.size(), 44 + 2 * sampleCount);
        QCOMPARE(wav.left(4), QByteArray("RIFF"));
        QCOMPARE(u32At(wav, 4), quint32(36 + 2 * sampleCount));
        QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(u32At(wav, 16), 16u);
        QCOMPARE(u16At(wav, 20), quint16(1));
        QCOMPARE(u16At(wav, 22), quint16(1));
        QCOMPARE(u32At(wav, 24), 24000u);
        QCOMPARE(u32At(wav, 28), 48000u);
        QCOMPARE(u16At(wav, 32), quint16(2));
        QCOMPARE(u16At(wav, 34), quint16(16));
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        QCOMPARE(u32At(wav, 40), quint32(2 * sampleCount));
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
        // Silent up to the first click, and silent at the very first and last sample.
        for (int i = 0; i < onsets.first(); ++i)
            QCOMPARE(x[i], 0);
        QCOMPARE(x.last(), 0);
        // Clicks slow down from about 79 to 9 per second.
        const int firstGap = onsets[1] - onsets[0];
        const int lastGap = onsets[onsets.size() - 1] - onsets[onsets.size() - 2];
        QVERIFY(firstGap < lastGap);
        // The clamp never engages: the loudest click stays far below full scale.
        for (int v : x)
            QVERIFY(std::abs(v) <= 6500);
    }

    void deterministic()
    {
        for (double d : {0.1, 1.0, 5.5, 10.0}) {
            const QByteArray a = RollingAudio::wave(d);
            const QByteArray b = RollingAudio::wave(d);
            QCOMPARE(a, b);
        }
        // Durations give different files, not truncations of one another past the fade.
        QVERIFY(RollingAudio::wave(5.0).mid(44, 4000) != RollingAudio::wave(6.0).mid(44, 4000));
    }

    // Louder at the start than at the end: compare the RMS of the first and last fifth.
    void levelFalls()
    {
        const QVector<int> x = samples(RollingAudio::wave(6.0));
        auto rms = [&](int from, int to) {
            double sum = 0;
            for (int i = from; i < to; ++i)
                sum += double(x[i]) * x[i];
            return std::sqrt(sum / (to - from));
        };
        const int fifth = int(x.size() / 5);
        QVERIFY(rms(0, fifth) > 2 * rms(4 * fifth, x.size()));
    }
};

QTEST_APPLESS_MAIN(TestWave)
#include "tst_wave.moc"
