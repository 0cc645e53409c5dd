// A hang in a test that loops on commands must end as a failure that says
// where every thread stood, not as the test runner's time-out: without the
// stacks such a hang cannot be mended.
#pragma once

#include <atomic>
#include <thread>

namespace testing_support {

// Writes the stack of every thread of this process to stderr (gdb attached
// from a child process; a line says so when gdb cannot be run).
void DumpAllStacks();

// Ends the process when Beat has not been called for the given time: prints
// "<name>: no command finished for <seconds> s (hang after step <step>)",
// dumps every thread's stack and aborts.
class Watchdog {
public:
    Watchdog(const char* name, int seconds);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Beat(int step);

private:
    void _run();

    const char* const m_name;
    const int m_seconds;
    std::atomic<bool> m_done{false};
    std::atomic<long long> m_last{0};
    std::atomic<int> m_step{0};
    std::thread m_thread;
};

} // namespace testing_support
