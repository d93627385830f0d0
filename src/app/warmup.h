#pragma once

#include <functional>
#include <thread>

namespace zorvik {

// Work the launch starts on a thread of its own, so that it is done, or nearly, by the time the
// launch needs it; finish() waits for it, and so does the destructor at the latest.
class Warmup {
public:
    explicit Warmup(std::function<void()> work);
    ~Warmup();
    Warmup(const Warmup &) = delete;
    Warmup &operator=(const Warmup &) = delete;

    void finish();

    // Reads the system's font configuration while the application object is still connecting
    // to the display, so that the panel's first text layout finds it loaded (about a quarter
    // of the launch's work otherwise, on the path to the first paint). Call finish() before the
    // first font is looked up. Nothing to do where the font configuration is not fontconfig.
    static Warmup fontConfiguration();

    // Connects to the session bus while the panel is built. Connecting is a few round trips
    // (authentication, the bus's Hello) that the launch need not wait for: the first use of the
    // bus afterwards finds the connection made, or waits for it as it would have anyway. Needs
    // the application object.
    static Warmup sessionBus();

private:
    std::thread m_thread;
};

} // namespace zorvik
