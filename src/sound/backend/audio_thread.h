#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

struct pa_io_event;
struct pa_mainloop;
struct pa_mainloop_api;

namespace zorvik {

// A thread of our own running a PulseAudio main loop, which every call into the client library
// uses. Other threads hand it work with post(); it never waits for the sound server, because the
// library's calls on this loop only queue requests and report back through callbacks.
// Our own thread rather than the library's threaded main loop: the work queue is guarded by a
// lock the thread sanitizer sees (the library's own lock it cannot), and the thread is ours to
// raise to realtime priority and to join.
class AudioThread {
public:
    AudioThread();
    // Joins the thread; someone must have called quit() on it (through a task).
    ~AudioThread();

    AudioThread(const AudioThread &) = delete;
    AudioThread &operator=(const AudioThread &) = delete;

    // From any thread: runs the task on the audio thread, in order. False (and the task is
    // dropped here) once the loop has ended.
    bool post(std::function<void()> task);
    // On the audio thread: ends the loop once the current callback returns. `last` then runs on
    // the audio thread, where whatever used the loop is torn down before it is freed.
    void quit(std::function<void()> last);
    // From the owner's thread: waits for the thread to end (it ends once quit() was called).
    void join();

    pa_mainloop_api *api() const;

private:
    void run();
    void runTasks();

    pa_mainloop *m_loop;
    int m_wakeup;             // eventfd: a post() makes it readable
    pa_io_event *m_wakeupEvent = nullptr;
    std::function<void()> m_last;
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks; // guarded by m_mutex
    bool m_ended = false;                      // guarded by m_mutex
    std::thread m_thread;
};

} // namespace zorvik
