// Helpers for the fault tests: file permissions that hold even for root, a
// small file system that fills up or turns read-only, and whole-file reads to
// prove that the user's files were left as they were.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>
#include <wx/filename.h>
#include <wx/string.h>

#include "support/GuiTest.h"

namespace fault_test {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// Under a sanitizer every allocation costs a walk of its stack (GTK's too):
// the huge files and long lines of the fault tests shrink a hundredfold
// there, and their time limits are not checked.
constexpr size_t kHugeDivisor = 100;
constexpr bool kTimeIsMeaningful = false;
#else
constexpr size_t kHugeDivisor = 1;
constexpr bool kTimeIsMeaningful = true;
#endif

inline std::string Native(const wxString& path)
{
    return std::string(path.fn_str());
}

// By the path's bytes: a name that is not text reads as well as any.
inline bool ReadNativeBytes(const std::string& path, std::string& bytes)
{
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    char buffer[65536];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<size_t>(got));
    ::close(fd);
    return got == 0;
}

inline bool ReadBytes(const wxString& path, std::string& bytes)
{
    return ReadNativeBytes(Native(path), bytes);
}

inline std::string ReadBytes(const wxString& path)
{
    std::string bytes;
    ReadBytes(path, bytes);
    return bytes;
}

inline bool WriteBytes(const wxString& path, const std::string& bytes)
{
    int fd = ::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && ok;
}

// The names in a folder, "." and ".." left out: what a failed save may not add to.
inline std::vector<std::string> Names(const wxString& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(Native(folder).c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.push_back(entry->d_name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Root reads and writes through any permission: for as long as this object
// lives, the calling thread gives up the capabilities that allow it, so a
// folder's mode bits hold as they would for the user. Other threads keep
// theirs. Without those capabilities to begin with, nothing changes.
class PermissionsHold {
public:
    PermissionsHold()
    {
        if (!_get(m_saved))
            return;
        __user_cap_data_struct reduced[2];
        std::memcpy(reduced, m_saved, sizeof reduced);
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            reduced[cap / 32].effective &= ~(1u << (cap % 32));
        m_dropped = _set(reduced);
        m_holds = m_dropped || ::geteuid() != 0;
    }
    ~PermissionsHold()
    {
        if (m_dropped)
            _set(m_saved);
    }
    // False when permissions are still ignored here; the test should skip.
    bool Holds() const { return m_holds; }

private:
    static bool _get(__user_cap_data_struct* data)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capget, &header, data) == 0;
    }
    static bool _set(__user_cap_data_struct* data)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capset, &header, data) == 0;
    }

    __user_cap_data_struct m_saved[2] = {};
    bool m_dropped = false;
    bool m_holds = false;
};

// A tmpfs of the given size on a fresh folder, unmounted when destroyed.
// Mounting needs root (or the right to mount): Reason() says why not.
class SmallDisk {
public:
    explicit SmallDisk(size_t bytes)
    {
        m_path = testing_support::TempFolder() + "/disk";
        wxFileName::Mkdir(m_path, 0755);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        if (::mount("tmpfs", Native(m_path).c_str(), "tmpfs", 0, options.c_str()) == 0)
            m_mounted = true;
        else
            m_reason = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(Native(m_path).c_str(), MNT_DETACH);
    }
    bool IsMounted() const { return m_mounted; }
    const std::string& Reason() const { return m_reason; }
    const wxString& Path() const { return m_path; }

    // Fills the disk up to the last few bytes with a file of its own.
    bool Fill(const wxString& name, size_t leave)
    {
        int fd = ::open(Native(m_path + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::fsync(fd);
        // Give back what the test needs.
        struct stat st;
        bool ok = ::fstat(fd, &st) == 0 &&
                  ::ftruncate(fd, st.st_size > static_cast<off_t>(leave) ? st.st_size - leave : 0) == 0;
        return ::close(fd) == 0 && ok;
    }
    bool MakeReadOnly()
    {
        return ::mount(nullptr, Native(m_path).c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    wxString m_path;
    bool m_mounted = false;
    std::string m_reason;
};

} // namespace fault_test
