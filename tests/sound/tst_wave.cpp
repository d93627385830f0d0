// The rolling sound's bytes, pinned: a 16-bit mono 24 kHz WAV file as long as the spin, the same
// bytes every time; lengths that are not a number or out of range are clamped to 0.1 to 10 s.
#include "sound/rolling_audio.h"

#include <QCryptographicHash>
#include <QtEndian>
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
        QTest::addColumn<QByteArray>("sha1"); // of the samples, first 12 hex digits
        QTest::newRow("1 s") << 1.0 << 24000 << QByteArray("8412ed4bf5ec");
        QTest::newRow("0.1 s") << 0.1 << 2400 << QByteArray("2fd47398ce3a");
        QTest::newRow("10 s") << 10.0 << 240000 << QByteArray("74231aa8dc1a");
        QTest::newRow("2.3 s truncates") << 2.3 << 55199 << QByteArray("9025bffb71b6");
        QTest::newRow("negative") << -3.0 << 2400 << QByteArray("2fd47398ce3a");
        QTest::newRow("NaN") << std::nan("") << 2400 << QByteArray("2fd47398ce3a");
        QTest::newRow("above 10") << 10.5 << 240000 << QByteArray("74231aa8dc1a");
        QTest::newRow("+inf") << HUGE_VAL << 240000 << QByteArray("74231aa8dc1a");
    }
    void wave()
    {
        QFETCH(double, duration);
        QFETCH(int, n);
        QFETCH(QByteArray, sha1);
        const QByteArray wav = RollingAudio::wave(duration);
        QCOMPARE(wav.size(), 44 + 2 * n);
        const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        const auto u16 = [&](int at) { return quint32(qFromLittleEndian<quint16>(wav.constData() + at)); };
        QCOMPARE(wav.left(4) + wav.mid(8, 8) + wav.mid(36, 4), QByteArray("RIFFWAVEfmt data"));
        QCOMPARE((QList<quint32>{u32(4), u32(16), u16(20), u16(22), u32(24), u32(28), u16(32), u16(34), u32(40)}),
                 (QList<quint32>{quint32(36 + 2 * n), 16, 1, 1, 24000, 48000, 2, 16, quint32(2 * n)}));
        QCOMPARE(QCryptographicHash::hash(wav.mid(44), QCryptographicHash::Sha1).toHex().left(12), sha1);
    }
};

QTEST_APPLESS_MAIN(TestWave)
#include "tst_wave.moc"
