#include "app/zorvik_app.h"

#include "app/command_line.h"
#include "app/shell.h"
#include "platform/warmup.h"
#include "platform/single_instance.h"
#include "platform/translations.h"

#include <QApplication>
#include <QByteArray>
#include <QList>

#include <cstdio>

namespace zorvik {

namespace {

// Platforms that need no display server.
bool headlessPlatform(const QByteArray &platform)
{
    static const QList<QByteArray> headless = {"offscreen", "minimal", "minimalegl", "vnc",
                                               "linuxfb", "eglfs", "vkkhrdisplay"};
    const QList<QByteArray> choices = platform.split(';');
    for (const QByteArray &choice : choices) {
        const QByteArray name = choice.split(':').constFirst().trimmed();
        if (headless.contains(name))
            return true;
    }
    return false;
}

} // namespace

bool ZorvikApp::hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || headlessPlatform(qgetenv("QT_QPA_PLATFORM"));
}

int ZorvikApp::main(int argc, char *argv[])
{
    if (const std::optional<int> status = CommandLine::answer(argc, argv))
        return *status;
    if (!hasDisplay()) {
        std::fputs("zorvik: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset)\n", stderr);
        return 1;
    }
    // Wayland lets a client neither place its window nor keep it on top: take XWayland when
    // there is one, unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    Warmup fontWarmup = Warmup::fontConfiguration(); // while the application object connects to the display
    QApplication::setOrganizationName(QStringLiteral("Zorvik"));
    QApplication::setApplicationName(QStringLiteral("zorvik"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zorvik"));
    QApplication::setDesktopFileName(QLatin1String(desktopId));
    QApplication application(argc, argv);
    const Warmup busWarmup = Warmup::sessionBus(); // while the panel is built
    fontWarmup.finish();
    QApplication::setQuitOnLastWindowClosed(false);
    Translations::install();

    SingleInstance instance;
    if (!instance.claim())
        return 0; // the running one shows its panel

    Shell shell;
    QObject::connect(&instance, &SingleInstance::showRequested, &shell, &Shell::show);
    shell.launch();
    return QApplication::exec();
}

} // namespace zorvik
