#pragma once

#include <functional>
#include <vector>

struct pa_context;
struct pa_mainloop_api;

namespace zorvik {

// The connection to the sound server, on the audio thread. Made on the first sound and kept;
// once the server is lost (it stopped, or it was never there) it is dropped, and the next
// sound tries a new one, so that a server that comes back is used at once.
class PulseConnection {
public:
    using Ready = std::function<void(pa_context *)>;

    explicit PulseConnection(pa_mainloop_api *api);
    ~PulseConnection();

    PulseConnection(const PulseConnection &) = delete;
    PulseConnection &operator=(const PulseConnection &) = delete;

    // Calls `then` with the connected context once there is one, or with null as soon as the
    // server cannot be reached. Connects first when there is no connection.
    void whenReady(Ready then);

private:
    static void stateChanged(pa_context *context, void *self);
    void drop();
    void answerWaiting(pa_context *context);

    pa_mainloop_api *m_api;
    pa_context *m_context = nullptr;
    std::vector<Ready> m_waiting;
};

} // namespace zorvik
