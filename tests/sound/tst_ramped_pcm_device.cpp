#include "platform/ramped_pcm_device.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace zorvik;

namespace {

constexpr int rampFrames = 960; // 40 ms at 24 kHz

QByteArray wavOf(const std::vector<qint16> &samples)
{
    QByteArray wav(RampedPcmDevice::headerBytes, '\0');
    for (qint16 s : samples)
        wav.append(char(quint16(s) & 0xff)).append(char(quint16(s) >> 8));
    return wav;
}

// A deterministic waveform over the whole range, both extremes included.
std::vector<qint16> sweep(int n)
{
    std::vector<qint16> out(n);
    for (int i = 0; i < n; ++i)
        out[i] = qint16(std::lround(32767.0 * std::sin(i * 0.0137) * std::cos(i * 0.0011)));
    out[1] = -32768;
    out[2] = 32767;
    return out;
}

std::unique_ptr<RampedPcmDevice> opened(const QByteArray &wav, float gain = 1.0f)
{
    auto device = std::make_unique<RampedPcmDevice>(wav);
    if (!device->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return nullptr;
    device->setGain(gain);
    return device;
}

// Reads up to `limit` bytes (all by default) in chunks of the given size, odd sizes too, as
// samples; reading a half sample is a fault and yields nothing, so that the caller's check fails.
std::vector<qint16> drain(RampedPcmDevice &device, qint64 chunk, qint64 limit = qint64(1) << 40)
{
    std::vector<qint16> out;
    QByteArray buf(int(chunk), '\0');
    for (qint64 got; limit > 0 && (got = device.read(buf.data(), std::min(chunk, limit))) > 0; limit -= got) {
        if (got % 2 != 0)
            return {};
        for (qint64 i = 0; i < got; i += 2)
            out.push_back(qint16(quint16(quint8(buf[int(i)]) | quint8(buf[int(i) + 1]) << 8)));
    }
    return out;
}

} // namespace

class TestRampedPcmDevice : public QObject {
    Q_OBJECT

private slots:
    void servesScaledPcm_data()
    {
        QTest::addColumn<float>("gain");
        QTest::addColumn<float>("applied");
        QTest::addColumn<qint64>("chunk");
        QTest::newRow("unity, odd chunks") << 1.0f << 1.0f << qint64(7);
        QTest::newRow("quarter, three bytes at a time") << 0.25f << 0.25f << qint64(3);
        QTest::newRow("silent") << 0.0f << 0.0f << qint64(960);
        QTest::newRow("above one clamps") << 1.5f << 1.0f << qint64(960);
        QTest::newRow("negative clamps") << -0.2f << 0.0f << qint64(960);
        QTest::newRow("NaN is silence") << std::numeric_limits<float>::quiet_NaN() << 0.0f << qint64(960);
        QTest::newRow("infinity is full") << std::numeric_limits<float>::infinity() << 1.0f << qint64(4800);
    }
    void servesScaledPcm()
    {
        QFETCH(float, gain);
        QFETCH(float, applied);
        QFETCH(qint64, chunk);
        const auto pcm = sweep(2400);
        auto device = opened(wavOf(pcm), gain);
        QVERIFY(device);
        QCOMPARE(device->bytesAvailable(), qint64(pcm.size() * 2));
        const auto out = drain(*device, chunk);
        QCOMPARE(out.size(), pcm.size());
        for (size_t i = 0; i < pcm.size(); ++i)
            QVERIFY2(out[i] == qint16(std::lround(pcm[i] * double(applied))), qPrintable(QString::number(i)));
    }

    // A change arriving between two reads ramps from the gain of the last sample served,
    // monotonically and at most 1/960 of the way per sample, and lands exactly after 40 ms.
    void ramps_data()
    {
        QTest::addColumn<float>("from");
        QTest::addColumn<float>("via"); // when not negative, a first ramp there is cut off half-way
        QTest::addColumn<float>("to");
        QTest::newRow("fade out") << 1.0f << -1.0f << 0.0f;
        QTest::newRow("fade in") << 0.0f << -1.0f << 1.0f;
        QTest::newRow("full to default volume") << 1.0f << -1.0f << 0.25f;
        QTest::newRow("turned back half-way down") << 1.0f << 0.0f << 1.0f;
    }
    void ramps()
    {
        QFETCH(float, from);
        QFETCH(float, via);
        QFETCH(float, to);
        constexpr qint16 level = 20000; // constant, so every sample shows its gain
        auto device = opened(wavOf(std::vector<qint16>(6000, level)), from);
        QVERIFY(device);
        std::vector<qint16> out = drain(*device, 200, 200);
        if (via >= 0) {
            device->rampTo(via, 0.04);
            out = drain(*device, 962, rampFrames);
            QVERIFY(std::abs(out.back() - level * (from + via) / 2.0) < level / 100.0);
        }
        double previous = out.back();
        device->rampTo(to, 0.04);
        out = drain(*device, 962);
        QVERIFY(out.size() > size_t(rampFrames));
        const double after = std::lround(level * double(to));
        const double direction = after - previous, maxStep = std::abs(direction) / rampFrames + 1.0;
        for (size_t i = 0; i < out.size(); ++i) {
            QVERIFY2(std::abs(out[i] - previous) <= maxStep && (out[i] - previous) * direction >= 0,
                     qPrintable(QString::number(i)));
            previous = out[i];
        }
        QVERIFY(out[rampFrames - 2] != after);
        QVERIFY(std::all_of(out.begin() + rampFrames - 1, out.end(), [&](qint16 v) { return v == after; }));
        QCOMPARE(device->currentGain(), double(to));
    }

    // Mid-sound: the sound (or a 40 ms fade from its level), then the padding, then the end.
    void endsWithFadeAndTrailingSilence_data()
    {
        QTest::addColumn<bool>("fadeOut");
        QTest::addColumn<int>("silence");
        QTest::newRow("padding after the last sample") << false << 4800;
        QTest::newRow("padding after a fade-out") << true << 4800;
        QTest::newRow("fade-out ends the data") << true << 0;
    }
    void endsWithFadeAndTrailingSilence()
    {
        QFETCH(bool, fadeOut);
        QFETCH(int, silence);
        constexpr qint16 level = 10000;
        auto device = std::make_unique<RampedPcmDevice>(wavOf(std::vector<qint16>(3000, level)));
        device->setTrailingSilence(silence);
        QVERIFY(device->open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        QCOMPARE(drain(*device, 2000, 2000).size(), size_t(1000));
        QCOMPARE(device->bytesAvailable(), qint64(4000 + silence));
        if (fadeOut)
            device->fadeOutAndFinish(0.04);
        const auto out = drain(*device, 1000);
        const int sound = fadeOut ? rampFrames : 2000;
        QCOMPARE(int(out.size()), sound + silence / 2);
        QVERIFY(out.front() > 9980);
        QVERIFY(out[size_t(sound) - 2] != 0);
        QCOMPARE(out[size_t(sound) - 1], fadeOut ? qint16(0) : level);
        QVERIFY(std::all_of(out.begin() + sound, out.end(), [](qint16 s) { return s == 0; }));
        QVERIFY(device->atEnd());
    }
};

QTEST_GUILESS_MAIN(TestRampedPcmDevice)
#include "tst_ramped_pcm_device.moc"
