#include "platform/ramped_pcm_device.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace zorvik;

namespace {

constexpr int rampFrames = 960; // 40 ms at 24 kHz

QByteArray wavOf(const std::vector<qint16> &samples)
{
    QByteArray wav(RampedPcmDevice::headerBytes, '\0');
    wav.replace(0, 4, "RIFF");
    for (qint16 s : samples) {
        const auto bits = quint16(s);
        wav.append(char(bits & 0xff));
        wav.append(char(bits >> 8));
    }
    return wav;
}

// A deterministic waveform that uses the whole range, extremes included.
std::vector<qint16> sweep(int n)
{
    std::vector<qint16> out(n);
    for (int i = 0; i < n; ++i)
        out[i] = qint16(std::lround(32767.0 * std::sin(i * 0.0137) * std::cos(i * 0.0011)));
    if (n > 2) {
        out[1] = -32768;
        out[2] = 32767;
    }
    return out;
}

// Reads everything in chunks of the given byte size (odd sizes included) as samples.
std::vector<qint16> drain(RampedPcmDevice &device, qint64 chunk)
{
    std::vector<qint16> out;
    QByteArray buf(int(chunk), '\0');
    for (int guard = 0; guard < 1000000; ++guard) {
        const qint64 got = device.read(buf.data(), chunk);
        if (got <= 0)
            break;
        if (got % 2 != 0)
            return {}; // half samples are a fault; the caller's comparison fails
        for (qint64 i = 0; i < got; i += 2)
            out.push_back(qint16(quint16(quint8(buf[int(i)]) | quint8(buf[int(i) + 1]) << 8)));
    }
    return out;
}

} // namespace

class TestRampedPcmDevice : public QObject {
    Q_OBJECT

private slots:
    void servesScaledPcm_data();
    void servesScaledPcm();
    void ramps_data();
    void ramps();
    void retargetMidRampStaysWithinSlope();
    void endOfData_data();
    void endOfData();
    void fadeOutAndFinishEndsEarly();
    void trailingSilenceFollowsTheSound_data();
    void trailingSilenceFollowsTheSound();
};

void TestRampedPcmDevice::servesScaledPcm_data()
{
    QTest::addColumn<float>("gain");
    QTest::addColumn<float>("applied");
    QTest::addColumn<qint64>("chunk");

    QTest::newRow("unity, sink period") << 1.0f << 1.0f << qint64(960);
    QTest::newRow("unity, odd chunks") << 1.0f << 1.0f << qint64(7);
    QTest::newRow("quarter") << 0.25f << 0.25f << qint64(4800);
    QTest::newRow("quarter, three bytes at a time") << 0.25f << 0.25f << qint64(3);
    QTest::newRow("silent") << 0.0f << 0.0f << qint64(960);
    QTest::newRow("above one clamps") << 1.5f << 1.0f << qint64(960);
    QTest::newRow("negative clamps") << -0.2f << 0.0f << qint64(960);
    QTest::newRow("NaN is silence") << std::numeric_limits<float>::quiet_NaN() << 0.0f << qint64(960);
    QTest::newRow("infinity is full") << std::numeric_limits<float>::infinity() << 1.0f << qint64(960);
}

void TestRampedPcmDevice::servesScaledPcm()
{
    QFETCH(float, gain);
    QFETCH(float, applied);
    QFETCH(qint64, chunk);

    const auto pcm = sweep(2400);
    RampedPcmDevice device(wavOf(pcm));
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    device.setGain(gain);
    QCOMPARE(device.target(), applied);
    QCOMPARE(device.bytesAvailable(), qint64(pcm.size() * 2));

    const auto out = drain(device, chunk);
    QCOMPARE(out.size(), pcm.size());
    for (size_t i = 0; i < pcm.size(); ++i) {
        const auto expected = qint16(std::lround(pcm[i] * double(applied)));
        if (out[i] != expected)
            QFAIL(qPrintable(QStringLiteral("sample %1: %2 instead of %3").arg(i).arg(out[i]).arg(expected)));
    }
}

void TestRampedPcmDevice::ramps_data()
{
    QTest::addColumn<float>("from");
    QTest::addColumn<float>("to");

    QTest::newRow("fade out") << 1.0f << 0.0f;
    QTest::newRow("fade in") << 0.0f << 1.0f;
    QTest::newRow("full to default volume") << 1.0f << 0.25f;
    QTest::newRow("small rise") << 0.25f << 0.75f;
}

void TestRampedPcmDevice::ramps()
{
    QFETCH(float, from);
    QFETCH(float, to);

    // A constant level makes every sample show the gain applied to it.
    constexpr qint16 level = 20000;
    const std::vector<qint16> pcm(6000, level);
    RampedPcmDevice device(wavOf(pcm));
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    device.setGain(from);

    // Some samples at the old gain, then the change arrives between two reads.
    QByteArray head(200, '\0');
    QCOMPARE(device.read(head.data(), head.size()), qint64(200));
    device.rampTo(to, 0.04);
    const auto out = drain(device, 962);
    QCOMPARE(out.size(), pcm.size() - 100);

    const double before = std::lround(level * double(from));
    const double after = std::lround(level * double(to));
    const double maxStep = std::abs(after - before) / rampFrames + 1.0;
    double previous = before;
    for (size_t i = 0; i < out.size(); ++i) {
        const double step = std::abs(out[i] - previous);
        if (step > maxStep)
            QFAIL(qPrintable(QStringLiteral("step of %1 at sample %2").arg(step).arg(i)));
        // Moving towards the target only.
        QVERIFY((out[i] - previous) * (after - before) >= 0);
        previous = out[i];
    }
    // Not there before the 40 ms are over, exactly there from then on.
    QVERIFY(out[rampFrames - 2] != after);
    for (size_t i = rampFrames - 1; i < out.size(); ++i)
        QCOMPARE(double(out[i]), after);
    QCOMPARE(device.currentGain(), double(to));
}

void TestRampedPcmDevice::retargetMidRampStaysWithinSlope()
{
    constexpr qint16 level = 30000;
    RampedPcmDevice device(wavOf(std::vector<qint16>(8000, level)));
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    device.setGain(1.0f);
    device.rampTo(0.0f, 0.04);
    QByteArray part(960, '\0'); // half way down
    QCOMPARE(device.read(part.data(), part.size()), qint64(960));
    device.rampTo(1.0f, 0.04);   // back up again, from where it is
    const auto out = drain(device, 960);

    double previous = qint16(quint16(quint8(part[958]) | quint8(part[959]) << 8));
    QVERIFY(std::abs(previous - level / 2.0) < level / 100.0);
    for (size_t i = 0; i < out.size(); ++i) {
        QVERIFY2(std::abs(out[i] - previous) <= level / 2.0 / rampFrames + 1.0, qPrintable(QString::number(i)));
        previous = out[i];
    }
    QCOMPARE(out[rampFrames - 1], level);
}

void TestRampedPcmDevice::endOfData_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<int>("samples");

    QTest::newRow("whole samples") << wavOf(sweep(100)) << 100;
    QTest::newRow("trailing odd byte is dropped") << wavOf(sweep(3)) + QByteArray(1, '\x7f') << 3;
    QTest::newRow("header only") << wavOf({}) << 0;
    QTest::newRow("shorter than a header") << QByteArray("RIFF") << 0;
}

void TestRampedPcmDevice::endOfData()
{
    QFETCH(QByteArray, wav);
    QFETCH(int, samples);

    RampedPcmDevice device(wav);
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    QVERIFY(device.isSequential());
    QCOMPARE(device.atEnd(), samples == 0);
    QCOMPARE(int(drain(device, 64).size()), samples);
    QVERIFY(device.atEnd());
    QCOMPARE(device.bytesAvailable(), qint64(0));
    char byte[2];
    QVERIFY(device.read(byte, 2) <= 0);
}

void TestRampedPcmDevice::fadeOutAndFinishEndsEarly()
{
    RampedPcmDevice device(wavOf(std::vector<qint16>(24000, 10000)));
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    QByteArray head(2000, '\0');
    QCOMPARE(device.read(head.data(), head.size()), qint64(2000));
    device.fadeOutAndFinish(0.04);
    const auto out = drain(device, 960);
    // The fade, then nothing: the sink drains and goes idle instead of playing on in silence.
    QCOMPARE(int(out.size()), rampFrames);
    QCOMPARE(out.back(), qint16(0));
    QVERIFY(out.front() > 9980);
    QVERIFY(device.atEnd());
}

void TestRampedPcmDevice::trailingSilenceFollowsTheSound_data()
{
    QTest::addColumn<bool>("fadeOut");
    QTest::newRow("after the last sample") << false;
    QTest::newRow("after a fade-out") << true;
}

void TestRampedPcmDevice::trailingSilenceFollowsTheSound()
{
    QFETCH(bool, fadeOut);

    RampedPcmDevice device(wavOf(std::vector<qint16>(3000, 1000)));
    device.setTrailingSilence(4800);
    QVERIFY(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    QCOMPARE(device.bytesAvailable(), qint64(6000 + 4800));
    if (fadeOut)
        device.fadeOutAndFinish(0.04);
    const auto out = drain(device, 1000);
    const int sound = fadeOut ? rampFrames : 3000;
    QCOMPARE(int(out.size()), sound + 2400);
    QVERIFY(out[size_t(sound) - 2] != 0);
    QVERIFY(std::all_of(out.begin() + sound, out.end(), [](qint16 s) { return s == 0; }));
    QVERIFY(device.atEnd());
}

QTEST_GUILESS_MAIN(TestRampedPcmDevice)
#include "tst_ramped_pcm_device.moc"
