#include "sound/backend/audio_thread.h"

#include "sound/backend/sound_log.h"

#include <pulse/mainloop.h>

#include <cstdint>

#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace zorvik {

namespace {

// Under load a normal thread can wake tens of milliseconds late, longer than the stream's
// buffer, and the sound runs dry. The lowest realtime priority, below the sound server's own,
// where the system allows it (a realtime limit, or root); elsewhere the thread stays as it is.
void raiseToRealtime()
{
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_RR);
    if (sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &param) != 0)
        qCInfo(lcSound) << "the audio thread runs at normal priority";
}

} // namespace

AudioThread::AudioThread()
    : m_loop(pa_mainloop_new())
    , m_wakeup(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    pa_mainloop_api *loopApi = pa_mainloop_get_api(m_loop);
    m_wakeupEvent = loopApi->io_new(
        loopApi, m_wakeup, PA_IO_EVENT_INPUT,
        [](pa_mainloop_api *, pa_io_event *, int fd, pa_io_event_flags_t, void *self) {
            std::uint64_t count;
            while (::read(fd, &count, sizeof count) > 0) {
            }
            static_cast<AudioThread *>(self)->runTasks();
        },
        this);
    m_thread = std::thread([this] { run(); });
}

AudioThread::~AudioThread()
{
    join();
    pa_mainloop_free(m_loop);
    ::close(m_wakeup);
}

pa_mainloop_api *AudioThread::api() const
{
    return pa_mainloop_get_api(m_loop);
}

bool AudioThread::post(std::function<void()> task)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_ended)
            return false;
        m_tasks.push_back(std::move(task));
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(m_wakeup, &one, sizeof one);
    return true;
}

void AudioThread::runTasks()
{
    for (;;) {
        std::function<void()> task;
        {
            const std::lock_guard lock(m_mutex);
            if (m_tasks.empty())
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
    }
}

void AudioThread::quit(std::function<void()> last)
{
    m_last = std::move(last);
    pa_mainloop_quit(m_loop, 0);
}

void AudioThread::run()
{
    raiseToRealtime();
    int status = 0;
    if (pa_mainloop_run(m_loop, &status) < 0 && status != 0)
        qCWarning(lcSound) << "the audio loop failed";
    {
        const std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    // Tasks posted too late are dropped here, where their captures belong.
    std::deque<std::function<void()>> late;
    {
        const std::lock_guard lock(m_mutex);
        late.swap(m_tasks);
    }
    late.clear();
    if (m_last)
        m_last();
    api()->io_free(m_wakeupEvent);
}

void AudioThread::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace zorvik
