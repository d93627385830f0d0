#include "sound/backend/pulse_connection.h"

#include "sound/backend/sound_log.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/proplist.h>

namespace zorvik {

PulseConnection::PulseConnection(pa_mainloop_api *api)
    : m_api(api)
{
}

PulseConnection::~PulseConnection()
{
    drop();
    answerWaiting(nullptr);
}

void PulseConnection::whenReady(Ready then)
{
    if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY) {
        then(m_context);
        return;
    }
    m_waiting.push_back(std::move(then));
    if (m_context)
        return; // still connecting

    pa_proplist *properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "Zorvik");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "zorvik");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "zorvik");
    m_context = pa_context_new_with_proplist(m_api, "Zorvik", properties);
    pa_proplist_free(properties);
    if (!m_context) {
        answerWaiting(nullptr);
        return;
    }
    pa_context_set_state_callback(m_context, &PulseConnection::stateChanged, this);
    // A program that only plays a sound now and then never starts a sound server itself. A
    // failure may be reported at once, through stateChanged(), which has then answered.
    pa_context *connecting = m_context;
    if (pa_context_connect(connecting, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 && m_context == connecting) {
        qCInfo(lcSound) << "no sound server:" << pa_strerror(pa_context_errno(connecting));
        drop();
        answerWaiting(nullptr);
    }
}

void PulseConnection::stateChanged(pa_context *context, void *self)
{
    auto *connection = static_cast<PulseConnection *>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        qCInfo(lcSound) << "connected to the sound server" << pa_context_get_server(context);
        connection->answerWaiting(context);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        qCInfo(lcSound) << "the sound server is gone:" << pa_strerror(pa_context_errno(context));
        // The library holds its own reference while it calls us: dropping ours here is safe.
        connection->drop();
        connection->answerWaiting(nullptr);
        break;
    default:
        break;
    }
}

void PulseConnection::drop()
{
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
}

void PulseConnection::answerWaiting(pa_context *context)
{
    std::vector<Ready> waiting;
    waiting.swap(m_waiting);
    for (Ready &then : waiting)
        then(context);
}

} // namespace zorvik
