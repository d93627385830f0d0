#pragma once

namespace zorvik {

// The program's entry point.
class ZorvikApp {
public:
    static int main(int argc, char *argv[]);

    // The desktop entry id, also the application's desktop file name.
    static constexpr const char *desktopId = "io.github.zorvik.Zorvik";
};

} // namespace zorvik
