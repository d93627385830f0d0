// The floor for the launch, idle and frame-rate benchmarks: a bare Qt Widgets window of the
// panel's size, measured the same way as the real program.
//   bare_window launch  first paint of the window after process start, VmHWM after ~1 s
//   bare_window launch-text  the same with one line of text in it: what Qt's text stack
//                       (fontconfig, FreeType, HarfBuzz) adds to any window that shows text
//   bare_window idle    shows the window and waits to be stopped
//   bare_window tick    a 280 x 280 child repainted by a 16 ms precise timer for 5.5 s; its CPU
//                       time and VmHWM by then
#include "frame_stats.h"
#include "process_stats.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace zorvik::bench;

namespace {

class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget *target) : m_target(target) {}
    double ms = -1;
    double boottime = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (ms < 0 && watched == m_target && event->type() == QEvent::Paint) {
            ms = msSinceProcessStart();
            boottime = boottimeMs();
        }
        return false;
    }

private:
    QWidget *m_target;
};

class Ticking : public QWidget {
public:
    explicit Ticking(QWidget *parent) : QWidget(parent) { setFixedSize(280, 280); }
    std::vector<double> paints;
    bool recording = false;
    QElapsedTimer clock;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (recording)
            paints.push_back(double(clock.nsecsElapsed()) / 1e6);
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromHsv(int(paints.size() * 7 % 360), 90, 200));
    }
};

} // namespace

int main(int argc, char **argv)
{
    const char *mode = argc > 1 ? argv[1] : "launch";
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(300, 432);
    QWidget *painted = &window;
    if (std::strcmp(mode, "launch-text") == 0) {
        painted = new QLabel(QStringLiteral("A little moment of chance."), &window);
        painted->move(40, 320);
    }
    FirstPaint first(painted);
    app.installEventFilter(&first);
    window.show();

    if (std::strncmp(mode, "launch", 6) == 0) {
        QTimer::singleShot(1000, &app, [&] {
            std::printf("first_paint_ms=%.2f first_paint_boottime_ms=%.3f vmhwm_kb=%ld\n", first.ms,
                        first.boottime, statusKb("VmHWM"));
            std::fflush(stdout);
            app.quit();
        });
    } else if (std::strcmp(mode, "tick") == 0) {
        auto *ticking = new Ticking(&window);
        ticking->show();
        auto *timer = new QTimer(&app);
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(16);
        QObject::connect(timer, &QTimer::timeout, ticking, qOverload<>(&QWidget::update));
        static double cpuBefore = 0;
        QTimer::singleShot(500, &app, [ticking, timer] {
            cpuBefore = cpuMs();
            ticking->clock.start();
            ticking->recording = true;
            timer->start();
        });
        QTimer::singleShot(500 + 5500, &app, [&app, ticking, timer] {
            timer->stop();
            const double span = double(ticking->clock.nsecsElapsed()) / 1e6;
            const double cpu = cpuMs() - cpuBefore;
            ticking->recording = false;
            printFrameStats(frameStats(ticking->paints, span), cpu / span, statusKb("VmHWM"));
            app.quit();
        });
    }
    return QApplication::exec();
}
