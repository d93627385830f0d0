#pragma once

#include <thread>

namespace zorvik {

// Reads the system's font configuration on a thread of its own while the application object
// is still connecting to the display, so that the panel's first text layout finds it loaded
// (about a quarter of the launch's work otherwise, on the path to the first paint). A no-op
// where the font configuration is not fontconfig.
class FontWarmup {
public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup &) = delete;
    FontWarmup &operator=(const FontWarmup &) = delete;

    // Waits for the configuration; call before the first font is looked up.
    void finish();

private:
    std::thread m_thread;
};

} // namespace zorvik
