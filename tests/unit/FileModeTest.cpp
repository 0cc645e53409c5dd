// A saved playlist is created with the permissions any new file gets (the
// umask applies), and saving never touches the process's umask: another
// thread creating a file meanwhile (an MP3 being converted) must not get a
// world-writable one.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <wx/filename.h>

#include "playlist/PlaylistFile.h"

using BrelkosPlayer::PlaylistFile;

namespace {

// Read from the kernel, without setting it.
long Umask()
{
    long mask = -1;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, "Umask:", 6) == 0)
                mask = std::strtol(line + 6, nullptr, 8);
        }
        std::fclose(status);
    }
    return mask;
}

class RestoreUmask {
public:
    explicit RestoreUmask(mode_t mask) : m_saved(::umask(mask)) {}
    ~RestoreUmask() { ::umask(m_saved); }

private:
    mode_t m_saved;
};

TEST(FileModeTest, SavingNeverChangesTheUmaskAndNewFilesFollowIt)
{
    if (Umask() < 0)
        GTEST_SKIP() << "the kernel does not show the umask here";
    RestoreUmask restore(027);
    wxString folder = wxFileName::CreateTempFileName("brelkos-mode");
    wxRemoveFile(folder);
    ASSERT_TRUE(wxFileName::Mkdir(folder, 0700));

    // Another thread watches the umask for as long as the saves go on.
    std::atomic<bool> done{false};
    std::atomic<long> seen{027};
    std::thread watcher([&] {
        while (!done) {
            long mask = Umask();
            if (mask != 027)
                seen = mask;
        }
    });
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(PlaylistFile::Write(folder + wxString::Format("/list%d.kx", i), "D:1\r\n"));
    done = true;
    watcher.join();
    EXPECT_EQ(seen.load(), 027) << "the umask was changed while saving";

    struct stat info;
    ASSERT_EQ(::stat((folder + "/list0.kx").fn_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
}

} // namespace
