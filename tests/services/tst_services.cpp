// The services: the draw that decides every spin, unbiased and fair; the user's settings as an
// earlier run or a hand edit left them in the INI file, read through the one typed class; and
// every write reaching the disk at once, or living on in memory where the disk refuses it.
#include "services/random_source.h"
#include "services/settings.h"
#include "services/system_random.h"
#include "services/user_settings.h"

#include <QtTest>

#include <array>
#include <cmath>

using namespace zorvik;
using namespace Qt::StringLiterals;

namespace {

struct Scripted final : RandomSource {
    std::uint64_t next64() override { return words.takeFirst(); }
    QList<quint64> words;
};

QString frameText(const Settings &settings)
{
    const auto frame = settings.panelFrame();
    if (!frame)
        return {};
    const QString size = frame->size ? u"%1x%2"_s.arg(frame->size->width()).arg(frame->size->height()) : u"-"_s;
    return u"%1,%2 %3 %4"_s.arg(frame->topLeft.x()).arg(frame->topLeft.y()).arg(size, frame->screen).trimmed();
}

QByteArray fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestServices : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Words whose product with 37 has low 64 bits below 2^64 mod 37 = 12 would favour the low
    // indexes; they are drawn again.
    void rejectsTheBiasedZone_data()
    {
        QTest::addColumn<QList<quint64>>("words");
        QTest::addColumn<quint64>("index");
        QTest::addColumn<int>("drawn");
        const quint64 firstOfOne = 498560650640798693ULL; // ceil(2^64 / 37): low bits 25
        QTest::newRow("several rejected in a row") << QList<quint64>{0, 0, 0, firstOfOne} << quint64(1) << 4;
        // Low 64 bits of the product exactly 11 (last rejected) and 12 (first kept).
        QTest::newRow("low bits 11 rejected") << QList<quint64>{16452501471146356847ULL, 1} << quint64(0) << 2;
        QTest::newRow("low bits 12 kept") << QList<quint64>{17948183423068752924ULL, 1} << quint64(36) << 1;
    }
    void rejectsTheBiasedZone()
    {
        QFETCH(QList<quint64>, words);
        QFETCH(quint64, index);
        QFETCH(int, drawn);
        Scripted random;
        random.words = words;
        QCOMPARE(drawBelow(random, 37), index);
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

    void read_data()
    {
        QTest::addColumn<QByteArray>("ini"); // null: no file yet
        QTest::addColumn<bool>("muted");
        QTest::addColumn<double>("volume");
        QTest::addColumn<QString>("appearance");
        QTest::addColumn<QString>("frame"); // "x,y WxH screen"; "-" for no size; empty: none saved
        QTest::newRow("first run, no file") << QByteArray() << false << 0.25 << u"system"_s << QString();
        QTest::newRow("as the program writes them")
            << QByteArray("[General]\nsoundMuted=true\nsoundVolume=0.5\nappearance=dark\n[ZorvikPanel]\n"
                          "x=10\ny=-20\nwidth=300\nheight=432\nscreen=HDMI-1\n")
            << true << 0.5 << u"dark"_s << u"10,-20 300x432 HDMI-1"_s;
        QTest::newRow("hand-edited words and numbers")
            << QByteArray("[General]\nsoundMuted=Yes\nsoundVolume= 1.5 \nappearance=Dark\n[ZorvikPanel]\n"
                          "x=10\ny=20\nwidth=0\nheight=432\n")
            << true << 1.5 << u"Dark"_s << u"10,20 -"_s;
        QTest::newRow("not values at all")
            << QByteArray("[General]\nsoundMuted=banana\nsoundVolume=abc\n[ZorvikPanel]\nx=1.5\ny=2\n") << false
            << 0.25 << u"system"_s << QString();
        QTest::newRow("garbage lines around good ones")
            << QByteArray("this is not ini\n===\n= no key\n[General\n[General]\nsoundVolume=0.5\n;;;\n"
                          "no equals sign\nsoundMuted=true\n[]\n")
            << true << 0.5 << u"system"_s << QString();
        QTest::newRow("binary junk")
            << QByteArray("[General]\nsoundVolume=\xff\xfe\x01\x02\nsoundMuted=\x80\x81\x82\n", 42) << false << 0.25
            << u"system"_s << QString();
    }
    // Read back as another process would (every value text); reading writes nothing.
    void read()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, muted);
        QFETCH(double, volume);
        QFETCH(QString, appearance);
        QFETCH(QString, frame);
        QTemporaryDir dir;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        const QString path = dir.filePath(u"Zorvik/zorvik.ini"_s);
        QFile file(path);
        QVERIFY(ini.isNull() || (QDir().mkpath(dir.filePath(u"Zorvik"_s)) && file.open(QIODevice::WriteOnly)
                                 && file.write(ini) == ini.size() && file.flush()));
        UserSettings store;
        const Settings settings(store);
        QCOMPARE(settings.soundMuted(), muted);
        QCOMPARE(settings.soundVolume(), volume);
        QCOMPARE(settings.appearance(), appearance);
        QCOMPARE(frameText(settings), frame);
        QCOMPARE(fileText(path), ini.isNull() ? QByteArray() : ini);
    }

    void write_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<bool>("stored");
        QTest::newRow("nothing in the way") << QString() << true;
        // Neither is writable, even by root.
        QTest::newRow("a directory in the file's place") << u"dir"_s << false;
        QTest::newRow("the config directory under a regular file") << u"file"_s << false;
        // A writer killed between creating the lock file and writing its owner into it.
        QTest::newRow("a lock file that names nobody") << u"lock"_s << true;
    }
    // Each assignment reaches the disk at once, where the next run reads it; where it cannot,
    // the value lives on in memory for the rest of the process, and nothing waits.
    void write()
    {
        QFETCH(QString, obstacle);
        QFETCH(bool, stored);
        QTemporaryDir dir;
        const QString root = obstacle == u"file" ? dir.filePath(u"blocker/config"_s) : dir.path();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, root);
        const QString path = root + u"/Zorvik/zorvik.ini"_s;
        QVERIFY(obstacle != u"file" || QFile(dir.filePath(u"blocker"_s)).open(QIODevice::WriteOnly));
        QVERIFY(obstacle != u"dir" || QDir().mkpath(path));
        QVERIFY(obstacle != u"lock"
                || (QDir().mkpath(root + u"/Zorvik"_s) && QFile(path + u".lock"_s).open(QIODevice::WriteOnly)));

        QElapsedTimer clock;
        clock.start();
        UserSettings store;
        Settings settings(store);
        settings.setSoundVolume(0.65);
        settings.setSoundMuted(true);
        settings.setAppearance(u"dark"_s);
        settings.setPanelFrame({QPoint(5, -6), QSize(300, 432), u"DP-2"_s});
        QVERIFY2(clock.elapsed() < 5000, "the writes were held up");
        QCOMPARE(store.lastWriteStored(), stored);
        const Settings other(store);
        QVERIFY(other.soundVolume() == 0.65 && other.soundMuted() && other.appearance() == u"dark"_s);
        QCOMPARE(frameText(other), u"5,-6 300x432 DP-2"_s);
        const QByteArray text = fileText(path);
        for (const char *line : {"soundVolume=0.65", "soundMuted=true", "appearance=dark", "screen=DP-2"})
            QVERIFY2(text.contains(line) == stored, line);
    }
};

QTEST_GUILESS_MAIN(TestServices)
#include "tst_services.moc"
