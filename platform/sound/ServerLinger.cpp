#include "sound/ServerLinger.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace sound {

namespace ServerLinger {

namespace {

using Clock = std::chrono::steady_clock;

class Keeper {
public:
    ~Keeper()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_closing = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    void keep(GstElement* pipeline, std::chrono::milliseconds time)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_kept.emplace_back(Clock::now() + time, pipeline);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
        m_changed.notify_all();
    }

    int waiting()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_kept.size());
    }

private:
    // Deadlines come in order: each pipeline is kept for the same time.
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            if (m_kept.empty()) {
                if (m_closing)
                    return;
                m_changed.wait(lock);
                continue;
            }
            if (!m_closing && Clock::now() < m_kept.front().first) {
                m_changed.wait_until(lock, m_kept.front().first);
                continue;
            }
            GstElement* pipeline = m_kept.front().second;
            lock.unlock();
            gst_element_set_state(pipeline, GST_STATE_NULL);
            gst_object_unref(pipeline);
            lock.lock();
            // Counted as waiting until it is gone.
            m_kept.pop_front();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::pair<Clock::time_point, GstElement*>> m_kept;
    bool m_closing = false;
    std::thread m_thread;
};

Keeper& keeper()
{
    static Keeper instance;
    return instance;
}

} // namespace

void keep(GstElement* pipeline, std::chrono::milliseconds time)
{
    keeper().keep(pipeline, time);
}

int waiting()
{
    return keeper().waiting();
}

} // namespace ServerLinger

} // namespace sound
