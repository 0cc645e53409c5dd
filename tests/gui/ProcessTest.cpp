// The real program as a separate process: started through PATH from another
// folder, then ended by a signal.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/filefn.h>
#include <wx/time.h>
#include <wx/utils.h>

#include "support/GuiTest.h"

using namespace testing_support;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// LeakSanitizer's check at exit takes a second or two of its own.
constexpr long kCloseMs = 5000;
#else
constexpr long kCloseMs = 1000;
#endif

bool WaitForExit(pid_t pid, int timeoutMs, int* status)
{
    wxLongLong deadline = wxGetLocalTimeMillis() + timeoutMs;
    while (wxGetLocalTimeMillis() < deadline) {
        if (waitpid(pid, status, WNOHANG) == pid)
            return true;
        wxMilliSleep(10);
    }
    return false;
}

pid_t StartThroughPath(const wxString& cwd)
{
    wxString log = ExecutableFolder() + "/BrelkosPlayer.log";
    wxRemoveFile(log);
    std::string path = std::string(ExecutableFolder().utf8_str()) + ":/usr/bin:/bin";
    std::string folder(cwd.utf8_str());
    pid_t pid = fork();
    if (pid == 0) {
        setenv("PATH", path.c_str(), 1);
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        execlp("BrelkosPlayer", "BrelkosPlayer", static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// A sanitizer build checks the whole heap on the way out, which takes longer
// than the second a person waits for.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr long kExitBoundMs = 5000;
#else
constexpr long kExitBoundMs = 1000;
#endif

class ProcessTest : public testing::TestWithParam<int> {};

TEST_P(ProcessTest, SignalClosesTheWindowLikeTheCloseBox)
{
    wxString cwd = TempFolder();
    pid_t pid = StartThroughPath(cwd);
    ASSERT_GT(pid, 0);
    // The log appears beside the executable, not in the working folder.
    wxString log = ExecutableFolder() + "/BrelkosPlayer.log";
    ASSERT_TRUE(WaitFor([&] { return wxFileExists(log); }, 10000));
    EXPECT_FALSE(wxFileExists(cwd + "/BrelkosPlayer.log"));
    // Let it reach its main loop (the window's mapping shows it).
    wxArrayString output;
    wxExecute("xdotool search --sync --onlyvisible --name \"^Brelko's Player$\"", output, wxEXEC_SYNC);
    wxMilliSleep(200);

    wxLongLong sent = wxGetLocalTimeMillis();
    ASSERT_EQ(kill(pid, GetParam()), 0);
    int status = 0;
    ASSERT_TRUE(WaitForExit(pid, 5000, &status)) << "still running";
    EXPECT_LT((wxGetLocalTimeMillis() - sent).ToLong(), kCloseMs);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_NE(ReadLog().Find("ERROR : FormMain :: Stop - Player thread null"), wxNOT_FOUND);
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, ProcessTest, testing::Values(SIGTERM, SIGINT));

} // namespace
