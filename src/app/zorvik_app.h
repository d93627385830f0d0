#pragma once

namespace zorvik {

// The program's entry point.
class ZorvikApp {
public:
    static int main(int argc, char *argv[]);

    // The application id: the desktop entry's name, and the name the program owns on the session bus.
    static constexpr const char *desktopId = "io.github.zorvik.Zorvik";
};

} // namespace zorvik
