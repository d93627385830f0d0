#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace zorvik {

namespace {

// The options every Qt program takes, which QApplication consumes later: known here so that a
// session manager's -session or a user's -platform is not refused as unknown.
void addQtOptions(QCommandLineParser &parser)
{
    static const char *const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                            "qwindowgeometry", "qwindowicon", "qwindowtitle", "session",
                                            "display", "geometry", "style", "stylesheet", "qmljsdebugger"};
    static const char *const flags[] = {"reverse", "widgetcount"};
    for (const char *name : withValue) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : flags) {
        QCommandLineOption option{QLatin1String(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

std::optional<int> CommandLine::answer(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    // Qt's options come with one dash: read every such word as one option, not as letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("A roulette wheel to flick, in a small floating panel "
                                                    "that lives in the system tray."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Print this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Print the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    addQtOptions(parser);

    const bool understood = parser.parse(arguments);
    if (parser.isSet(help)) {
        // The usage line names the program as it was called, which the parser takes from an
        // application object; this one needs no display.
        int count = argc;
        QCoreApplication application(count, argv);
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("zorvik %s\n", ZORVIK_VERSION); // the version in debian/changelog
        return 0;
    }
    if (!understood) {
        std::fprintf(stderr, "zorvik: %s Try 'zorvik --help'.\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "zorvik: Unexpected argument '%s'. Try 'zorvik --help'.\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return 2;
    }
    return std::nullopt;
}

QByteArray CommandLine::qtOption(int argc, char *argv[], const char *name)
{
    const QByteArray option = QByteArray("-") + name;
    QByteArray value;
    for (int i = 1; i + 1 < argc; ++i) {
        const QByteArray word(argv[i]);
        if (word == option || word == '-' + option)
            value = argv[++i];
    }
    return value;
}

} // namespace zorvik
