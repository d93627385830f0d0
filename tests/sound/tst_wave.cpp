// The rolling sound's bytes, pinned: a 16-bit mono 24 kHz WAV file (a plain 44-byte header) as
// long as the spin, the same bytes every time; lengths out of range are clamped to 0.1 to 10 s.
#include "sound/rolling_audio.h"

#include <QtTest>

#include <cmath>

using namespace zorvik;

class TestWave : public QObject {
    Q_OBJECT

private slots:
    void wave_data()
    {
        QTest::addColumn<double>("duration");
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("sha1"); // of the whole file, first 12 hex digits
        QTest::newRow("1 s") << 1.0 << 24000 << QByteArray("fbd2da04a38e");
        QTest::newRow("0.1 s") << 0.1 << 2400 << QByteArray("5085968abeca");
        QTest::newRow("10 s") << 10.0 << 240000 << QByteArray("b41e2abe31a9");
        QTest::newRow("2.3 s truncates") << 2.3 << 55199 << QByteArray("0a588b9207d1");
        QTest::newRow("NaN") << std::nan("") << 2400 << QByteArray("5085968abeca");
        QTest::newRow("+inf") << HUGE_VAL << 240000 << QByteArray("b41e2abe31a9");
    }
    void wave()
    {
        QFETCH(double, duration);
        QFETCH(int, n);
        QFETCH(QByteArray, sha1);
        const QByteArray wav = RollingAudio::wave(duration);
        QCOMPARE(wav.size(), 44 + 2 * n);
        QCOMPARE(QCryptographicHash::hash(wav, QCryptographicHash::Sha1).toHex().left(12), sha1);
    }
};

QTEST_APPLESS_MAIN(TestWave)
#include "tst_wave.moc"
