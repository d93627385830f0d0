#include "sound/backend/ramped_pcm_device.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace zorvik;

namespace {

constexpr int rampFrames = 960; // 40 ms at 24 kHz

std::unique_ptr<RampedPcmDevice> opened(const std::vector<qint16> &samples, float gain, qint64 silence = 0)
{
    QByteArray wav(RampedPcmDevice::headerBytes, '\0');
    for (qint16 s : samples)
        wav.append(char(quint16(s) & 0xff)).append(char(quint16(s) >> 8));
    auto device = std::make_unique<RampedPcmDevice>(wav);
    device->setTrailingSilence(silence);
    device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
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
    // The whole sound, each sample times the gain, then the padding, read in chunks of any size.
    void servesScaledPcm_data()
    {
        QTest::addColumn<float>("gain");
        QTest::addColumn<float>("applied");
        QTest::addColumn<qint64>("chunk");
        QTest::newRow("unity, odd chunks") << 1.0f << 1.0f << qint64(7);
        QTest::newRow("quarter, three bytes at a time") << 0.25f << 0.25f << qint64(3);
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
        std::vector<qint16> pcm(2400); // over the whole range, both extremes included
        for (int i = 0; i < 2400; ++i)
            pcm[i] = qint16(std::lround(32767.0 * std::sin(i * 0.0137) * std::cos(i * 0.0011)));
        pcm[1] = -32768;
        pcm[2] = 32767;
        auto device = opened(pcm, gain, 4800);
        QCOMPARE(device->bytesAvailable(), qint64(pcm.size() * 2 + 4800));
        const auto out = drain(*device, chunk);
        QCOMPARE(out.size(), pcm.size() + 2400);
        for (size_t i = 0; i < out.size(); ++i)
            QVERIFY2(out[i] == (i < pcm.size() ? qint16(std::lround(pcm[i] * double(applied))) : 0),
                     qPrintable(QString::number(i)));
        QVERIFY(device->atEnd());
    }

    // A change arriving between two reads ramps from the gain of the last sample served,
    // monotonically and at most 1/960 of the way per sample, and lands exactly after 40 ms.
    // With padding, the change is a fade-out that ends the sound: the padding follows the ramp.
    void ramps_data()
    {
        QTest::addColumn<float>("from");
        QTest::addColumn<float>("via"); // when not negative, a first ramp there is cut off half-way
        QTest::addColumn<float>("to");
        QTest::addColumn<int>("padding");
        QTest::newRow("fade out") << 1.0f << -1.0f << 0.0f << 0;
        QTest::newRow("fade in") << 0.0f << -1.0f << 1.0f << 0;
        QTest::newRow("turned back half-way down") << 1.0f << 0.0f << 1.0f << 0;
        QTest::newRow("fade-out ends the sound") << 1.0f << -1.0f << 0.0f << 4800;
    }
    void ramps()
    {
        QFETCH(float, from);
        QFETCH(float, via);
        QFETCH(float, to);
        QFETCH(int, padding);
        constexpr qint16 level = 20000; // constant, so every sample shows its gain
        auto device = opened(std::vector<qint16>(6000, level), from, padding);
        std::vector<qint16> out = drain(*device, 200, 200);
        if (via >= 0) {
            device->rampTo(via, 0.04);
            out = drain(*device, 962, rampFrames);
            QVERIFY(std::abs(out.back() - level * (from + via) / 2.0) < level / 100.0);
        }
        double previous = out.back();
        padding ? device->fadeOutAndFinish(0.04) : device->rampTo(to, 0.04);
        out = drain(*device, 962);
        QVERIFY(padding ? out.size() == size_t(rampFrames + padding / 2) : out.size() > size_t(rampFrames));
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
};

QTEST_GUILESS_MAIN(TestRampedPcmDevice)
#include "tst_ramped_pcm_device.moc"
