#include "app/zorvik_app.h"

#include "app/app_log.h"
#include "app/command_line.h"
#include "app/shell.h"
#include "app/display_probe.h"
#include "app/translations.h"
#include "app/warmup.h"
#include "instance/single_instance.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>

namespace zorvik {

int ZorvikApp::main(int argc, char *argv[])
{
    if (const std::optional<int> status = CommandLine::answer(argc, argv))
        return *status;
    const DisplayProbe::Choice display = DisplayProbe::choose(CommandLine::qtOption(argc, argv, "platform"),
                                                              CommandLine::qtOption(argc, argv, "display"));
    if (!display.error.isEmpty()) {
        std::fprintf(stderr, "zorvik: %s\n", display.error.constData());
        return 1;
    }
    if (!display.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", display.platform);
    qCDebug(lcApp) << "platform" << (display.platform.isEmpty() ? QByteArray("as the user chose") : display.platform);

    Warmup fontWarmup = Warmup::fontConfiguration(); // while the application object connects to the display
    QApplication::setOrganizationName(QStringLiteral("Zorvik"));
    QApplication::setApplicationName(QStringLiteral("zorvik"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zorvik"));
    QApplication::setDesktopFileName(QLatin1String(desktopId));
    QApplication application(argc, argv);
    const Warmup busWarmup = Warmup::sessionBus(); // while the panel is built
    fontWarmup.finish();
    QApplication::setQuitOnLastWindowClosed(false);
    if (!Translations::install())
        qCDebug(lcApp) << "no catalogue for" << QLocale().uiLanguages() << "- the texts stay English";

    // The panel is built before the name is asked for: the session bus connects meanwhile, and a
    // later launch that finds the program running builds it in vain but never shows it.
    Shell shell;
    shell.build();
    SingleInstance instance{QLatin1String(desktopId)};
    switch (instance.claim()) {
    case SingleInstance::Claim::activated:
        return 0; // the running one shows its panel
    case SingleInstance::Claim::unanswered:
        std::fprintf(stderr, "zorvik: the running Zorvik does not answer\n");
        return 1;
    case SingleInstance::Claim::owner:
    case SingleInstance::Claim::alone:
        break;
    }
    QObject::connect(&instance, &SingleInstance::activated, &shell, &Shell::show);
    shell.launch();
    return QApplication::exec();
}

} // namespace zorvik
