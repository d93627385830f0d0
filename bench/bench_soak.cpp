// A long run of spins through the Game, watching memory, timers, players and QObjects.
//
//   A  1000 spins on stand-in services (fake clock, manual ticker, counting stand-in player)
//   B  1000 spins on the fake clock and ticker with the real audio output (a private
//      PulseAudio null sink when pulseaudio is installed, otherwise the refused output)
//   C  30 spins with the real Qt timer, the steady clock and the real audio output, in
//      reduced motion (0.65 s each)
//
// Prints RSS at every 100 spins (every 10 in C), the slope in KiB per 100 spins over the
// second half of each run, and a verdict line per run. Exit code 1 when a run leaks a timer,
// a player or a QObject.
#include "object_census.h"
#include "soak.h"

#include "services/qt_ticker.h"
#include "services/steady_clock.h"
#include "services/system_random.h"
#include "sound/loaded_audio_output.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <sys/prctl.h>

#include <csignal>
#include <cstdio>
#include <vector>

using namespace zorvik;
using namespace zorvik::testing;

namespace {

struct Sample {
    int spins;
    long rssKiB;
};

// Least-squares slope of RSS over the second half of the samples, in KiB per 100 spins.
double slopePer100(const std::vector<Sample> &samples)
{
    const size_t from = samples.size() / 2;
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = from; i < samples.size(); ++i) {
        const double x = samples[i].spins, y = double(samples[i].rssKiB);
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double d = n * sxx - sx * sx;
    return d == 0 ? 0 : 100.0 * (n * sxy - sx * sy) / d;
}

void printSamples(const char *run, const std::vector<Sample> &samples)
{
    std::printf("%s RSS (KiB):", run);
    for (const Sample &s : samples)
        std::printf(" %d:%ld", s.spins, s.rssKiB);
    std::printf("\n%s slope over the second half: %+.1f KiB per 100 spins\n", run, slopePer100(samples));
}

// Lets deferred deletions and the sinks' drain timers run for a while.
void settleEvents(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
}

// A private PulseAudio with a null sink, on a socket of its own; this process talks to it.
class PrivateSoundServer {
public:
    bool start()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty() || !m_dir.isValid())
            return false;
        const QString root = m_dir.path();
        const QString socket = root + QStringLiteral("/pulse/native");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root);
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), root + QStringLiteral("/pulse"));
        env.insert(QStringLiteral("PULSE_STATE_PATH"), root + QStringLiteral("/state"));
        env.insert(QStringLiteral("HOME"), root);
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket);
        qputenv("PULSE_SERVER", (QStringLiteral("unix:") + socket).toLocal8Bit());
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_server.start(QStringLiteral("pulseaudio"),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=no"),
                        QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
                        QStringLiteral("--use-pid-file=no"), QStringLiteral("--enable-memfd=no"),
                        QStringLiteral("--log-level=error"),
                        QStringLiteral("--load=module-null-sink sink_name=zorvik_null rate=24000 channels=1 "
                                       "format=s16le norewinds=1"),
                        QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
        if (!m_server.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000 && m_server.state() == QProcess::Running) {
            QProcess info;
            info.setProcessEnvironment(env);
            info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
            if (info.waitForFinished(2000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0)
                return true;
            QThread::msleep(20);
        }
        return false;
    }
    ~PrivateSoundServer()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.kill();
            m_server.waitForFinished(3000);
        }
    }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

// Runs A or B: `spins` spins on the fake clock and manual ticker over the given output.
bool fakeRun(const char *run, AudioOutput &inner, int spins, bool pumpEvents)
{
    FakeClock clock;
    ManualTicker ticker;
    ScriptedRandom random;
    RecordingAnnouncer announcer;
    MemorySettings settings;
    CountingAudioOutput output(inner);
    std::vector<Sample> samples;
    int mostTimers = 0, failed = 0;
    qsizetype objectsAt100 = -1, objectsAtEnd = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    {
        Settings typedSettings{settings};
        Game game(GameServices{clock, ticker, random, announcer, typedSettings, output});
        for (int round = 0; round < spins; ++round) {
            // A fresh random word for every spin: all 37 pockets come up.
            random.words.push_back(ScriptedRandom::wordFor(std::uint64_t(round * 11 % 37)));
            const int timers = spinWithFakes(game, clock, ticker, round);
            failed += timers < 0 ? 1 : 0;
            mostTimers = std::max(mostTimers, timers);
            announcer.messages.clear();
            if (pumpEvents)
                QCoreApplication::processEvents();
            if ((round + 1) % 100 == 0) {
                if (pumpEvents)
                    settleEvents(300);
                samples.push_back({round + 1, residentKiB()});
                if (round + 1 == 100)
                    objectsAt100 = ObjectCensus::alive();
            }
        }
        if (pumpEvents)
            settleEvents(500);
        objectsAtEnd = ObjectCensus::alive();
    }
    printSamples(run, samples);
    const bool ok = failed == 0 && mostTimers <= 1 && output.alive == 0 && objectsAtEnd <= objectsAt100;
    std::printf("%s %d spins in %.1f s: %d did not settle; most timers alive at once %d; players asked %d, "
                "refused %d, most alive at once %d, alive after the last settle %d; QObjects alive at 100 "
                "spins %lld, at the end %lld%s\n",
                run, spins, double(elapsed.elapsed()) / 1000, failed, mostTimers, output.asked, output.refused,
                output.mostAlive, output.alive, static_cast<long long>(objectsAt100),
                static_cast<long long>(objectsAtEnd), ok ? "" : "  <-- LEAK OR FAILURE");
    return ok;
}

// Run C: real timers and clock, reduced motion, the real output.
bool realRun(const char *run, AudioOutput &real, int spins)
{
    RecordingAnnouncer announcer;
    MemorySettings settings;
    CountingAudioOutput output(real);
    SteadyClock steadyClock;
    QtTicker qtTicker;
    SystemRandom systemRandom;
    std::vector<Sample> samples;
    int mostTimers = 0, failed = 0;
    qsizetype objectsAt10 = -1, objectsAtEnd = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    std::vector<double> durations;
    {
        Settings typedSettings{settings};
        Game game(GameServices{steadyClock, qtTicker, systemRandom, announcer, typedSettings, output});
        QObject::connect(&game, &Game::wheelChanged, [&] {
            mostTimers = std::max(mostTimers, qtTicker.liveTimers());
        });
        for (int round = 0; round < spins; ++round) {
            game.select(round % 2 ? Bet::red : Bet::black);
            QElapsedTimer spin;
            spin.start();
            game.start(7.0, true);
            if (!game.spinning()) {
                ++failed;
                continue;
            }
            QEventLoop loop;
            QObject::connect(&game, &Game::spinningChanged, &loop, [&] {
                if (!game.spinning())
                    loop.quit();
            });
            QTimer::singleShot(5000, &loop, &QEventLoop::quit);
            loop.exec();
            durations.push_back(double(spin.elapsed()) / 1000);
            failed += game.spinning() ? 1 : 0;
            if ((round + 1) % 10 == 0) {
                settleEvents(200);
                samples.push_back({round + 1, residentKiB()});
                if (round + 1 == 10)
                    objectsAt10 = ObjectCensus::alive();
            }
        }
        settleEvents(300);
        objectsAtEnd = ObjectCensus::alive();
    }
    printSamples(run, samples);
    double longest = 0;
    for (double d : durations)
        longest = std::max(longest, d);
    const bool ok = failed == 0 && mostTimers <= 1 && output.alive == 0 && qtTicker.liveTimers() == 0
                    && objectsAtEnd <= objectsAt10;
    std::printf("%s %d spins in %.1f s (longest spin %.3f s): %d did not settle; most Qt timers alive at "
                "once %d, alive at the end %d; players asked %d, refused %d, most alive at once %d, alive "
                "after the last settle %d; QObjects alive at 10 spins %lld, at the end %lld%s\n",
                run, spins, double(elapsed.elapsed()) / 1000, longest, failed, mostTimers,
                qtTicker.liveTimers(), output.asked, output.refused, output.mostAlive, output.alive,
                static_cast<long long>(objectsAt10), static_cast<long long>(objectsAtEnd),
                ok ? "" : "  <-- LEAK OR FAILURE");
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    ObjectCensus::install();
    QCoreApplication application(argc, argv);
    const int spins = argc > 1 ? std::max(100, QByteArray(argv[1]).toInt()) : 1000;
    const int realSpins = argc > 2 ? std::max(10, QByteArray(argv[2]).toInt()) : 30;

    std::printf("RSS at start: %ld KiB\n", residentKiB());
    RecordingAudioOutput stand_in;
    bool ok = fakeRun("[A fakes]", stand_in, spins, false);

    PrivateSoundServer server;
    const bool sound = server.start();
    if (!sound)
        qputenv("PULSE_SERVER", "unix:/nonexistent/zorvik-no-server");
    std::printf("audio output for B and C: %s\n",
                sound ? "real, private PulseAudio null sink" : "real, refused (no sound server)");
    // The program's own output, the one of this process.
    LoadedAudioOutput real;
    ok = fakeRun("[B real output]", real, spins, true) && ok;
    ok = realRun("[C real timers]", real, realSpins) && ok;
    real.shutDown();

    std::printf("RSS at end: %ld KiB\nverdict: %s\n", residentKiB(), ok ? "no leak found" : "LEAK OR FAILURE");
    return ok ? 0 : 1;
}
