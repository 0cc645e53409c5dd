#include "support/Watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testing_support {

namespace {

long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void DumpAllStacks()
{
    // With Yama's ptrace_scope at 1 only a process we allow may attach to us.
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
    const std::string pid = std::to_string(getpid());
    // timeout: a gdb that cannot attach must not become the next hang.
    const char* argv[] = {"timeout",
                          "-s",
                          "KILL",
                          "120",
                          "gdb",
                          "-nx",
                          "-batch",
                          "-p",
                          pid.c_str(),
                          "-ex",
                          "set pagination off",
                          "-ex",
                          "info threads",
                          "-ex",
                          "thread apply all bt",
                          nullptr};
    std::fprintf(stderr, "---- stacks of every thread (gdb -p %s) ----\n", pid.c_str());
    std::fflush(stderr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    pid_t child = 0;
    int error = posix_spawnp(&child, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (error != 0)
        std::fprintf(stderr, "could not run gdb: %d\n", error);
    else if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "gdb did not finish cleanly (status %d)\n", status);
    std::fprintf(stderr, "---- end of stacks ----\n");
    std::fflush(stderr);
}

Watchdog::Watchdog(const char* name, int seconds)
    : m_name(name), m_seconds(seconds), m_last(NowMs()), m_thread([this] { _run(); })
{
}

Watchdog::~Watchdog()
{
    m_done = true;
    m_thread.join();
}

void Watchdog::Beat(int step)
{
    m_step = step;
    m_last = NowMs();
}

void Watchdog::_run()
{
    while (!m_done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (NowMs() - m_last > m_seconds * 1000LL) {
            std::fprintf(stderr, "%s: no command finished for %d s (hang after step %d)\n", m_name, m_seconds,
                         m_step.load());
            std::fflush(stderr);
            DumpAllStacks();
            std::abort();
        }
    }
}

} // namespace testing_support
