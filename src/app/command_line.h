#pragma once

#include <QByteArray>

#include <optional>

namespace zorvik {

// The command line, answered before any display is opened or a running copy is reached:
// --help and --version print and end the program, an unknown option or a stray argument is a
// usage mistake. Qt's own options (-platform, -session, -style, ...) pass on to the application.
class CommandLine {
public:
    // The exit status when the command line has been answered here; nothing when the program
    // starts as usual.
    static std::optional<int> answer(int argc, char *argv[]);

    // The word after one of Qt's own options ("platform" for -platform wayland), read as Qt
    // reads it (the last one counts, "--" works as "-"); empty when the option is not given.
    static QByteArray qtOption(int argc, char *argv[], const char *name);
};

} // namespace zorvik
