// The real launch of the program (the same steps as ZorvikApp::main, with the real
// Shell) with an event filter watching the panel, for the benchmarks:
//   zorvik_probe launch  first paint of the panel's content after process start, VmHWM after ~1 s
//   zorvik_probe spin    half a second after the first paint, a bet and a spin at the default
//                        velocity (5.5 s); counts the wheel's paints until it settles, and
//                        the CPU time and VmHWM by then
// The only difference from the program: the single-instance name on the session bus is one of its
// own, so that a probe neither meets nor disturbs a running zorvik.
#include "frame_stats.h"
#include "process_stats.h"

#include "app/panel_window.h"
#include "app/shell.h"
#include "app/zorvik_app.h"
#include "game/game.h"
#include "panel/content.h"
#include "app/display_probe.h"
#include "app/translations.h"
#include "app/warmup.h"
#include "instance/single_instance.h"
#include "wheel/wheel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace zorvik;
using namespace zorvik::bench;

namespace {

class PaintWatch : public QObject {
public:
    double firstContentMs = -1;
    double firstContentBoottime = -1;
    std::vector<double> wheelPaints;
    bool recording = false;
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        if (firstContentMs < 0 && qobject_cast<Content *>(watched)) {
            firstContentMs = msSinceProcessStart();
            firstContentBoottime = boottimeMs();
        }
        if (recording && qobject_cast<Wheel *>(watched))
            wheelPaints.push_back(double(clock.nsecsElapsed()) / 1e6);
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    const char *mode = argc > 1 ? argv[1] : "launch";

    // The display is tried before Qt loads its platform plugin, as the program does.
    const DisplayProbe::Choice display = DisplayProbe::choose({}, {});
    if (!display.error.isEmpty())
        return 1;
    if (!display.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", display.platform);
    Warmup fontWarmup = Warmup::fontConfiguration();
    QApplication::setOrganizationName(QStringLiteral("Zorvik"));
    QApplication::setApplicationName(QStringLiteral("zorvik"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zorvik"));
    QApplication::setDesktopFileName(QLatin1String(ZorvikApp::desktopId));
    QApplication application(argc, argv);
    const Warmup busWarmup = Warmup::sessionBus();
    fontWarmup.finish();
    QApplication::setQuitOnLastWindowClosed(false);
    PaintWatch watch;
    application.installEventFilter(&watch);
    Translations::install();

    Shell delegate;
    delegate.build();
    SingleInstance instance(QStringLiteral("io.github.zorvik.Probe%1").arg(QCoreApplication::applicationPid()));
    if (const auto claim = instance.claim();
        claim == SingleInstance::Claim::activated || claim == SingleInstance::Claim::unanswered)
        return 2;
    delegate.launch();

    if (std::strcmp(mode, "launch") == 0) {
        QTimer::singleShot(1000, &application, [&] {
            std::printf("first_paint_ms=%.2f first_paint_boottime_ms=%.3f vmhwm_kb=%ld\n",
                        watch.firstContentMs, watch.firstContentBoottime, statusKb("VmHWM"));
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    } else if (std::strcmp(mode, "spin") == 0) {
        Game &game = delegate.game();
        double cpuBefore = 0;
        bool started = false;
        QTimer::singleShot(500, &application, [&] {
            game.select(Bet::red);
            cpuBefore = cpuMs();
            watch.clock.start();
            watch.recording = true;
            game.start(7.0, false);
            started = true;
        });
        auto settled = std::make_shared<QMetaObject::Connection>();
        *settled = QObject::connect(&game, &Game::spinningChanged, &application, [&, settled] {
            if (!started || game.spinning())
                return;
            QObject::disconnect(*settled);
            // Let the last frame be painted, then report from the start to the settle.
            const double span = double(watch.clock.nsecsElapsed()) / 1e6;
            QTimer::singleShot(50, &application, [&, span] {
                watch.recording = false;
                const double cpu = cpuMs() - cpuBefore;
                const double wall = double(watch.clock.nsecsElapsed()) / 1e6;
                std::vector<double> inSpin;
                for (double t : watch.wheelPaints)
                    if (t <= span + 20)
                        inSpin.push_back(t);
                printFrameStats(frameStats(inSpin, span), cpu / wall, statusKb("VmHWM"));
                QCoreApplication::quit();
            });
        });
    } else {
        std::fprintf(stderr, "usage: zorvik_probe launch|spin\n");
        return 1;
    }
    return QApplication::exec();
}
