#include "files/ReplacementFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace BrelkosPlayer {

namespace {

// The umask can only be read with umask() by setting it, and a file another
// thread creates meanwhile (an MP3 being converted) would get the wrong
// permissions: read it from the kernel's status instead.
mode_t CurrentUmask()
{
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, "Umask:", 6) == 0) {
                mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8)) & 0777;
                break;
            }
        }
        std::fclose(status);
    }
    return mask;
}

} // namespace

ReplacementFile::~ReplacementFile()
{
    Remove();
}

int ReplacementFile::Create(const std::string& target)
{
    Remove();
    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    std::string final = target;
    if (exists) {
        if (char* real = ::realpath(target.c_str(), nullptr)) {
            final = real;
            std::free(real);
        }
    }
    // "name.XXXXXX" in the target's folder, the name cut so that it stays
    // within the 255 bytes a file name may have.
    const size_t nameStart = final.find_last_of('/') + 1;
    std::string stem = final.substr(0, nameStart + std::min<size_t>(final.size() - nameStart, 240));
    std::vector<char> temp(stem.begin(), stem.end());
    const char suffix[] = ".XXXXXX";
    temp.insert(temp.end(), suffix, suffix + sizeof suffix); // with the final NUL
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(fd, mode) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temp.data());
        errno = error;
        return -1;
    }
    m_temp = temp.data();
    m_final = final;
    return fd;
}

bool ReplacementFile::Commit()
{
    if (m_temp.empty()) {
        errno = EINVAL;
        return false;
    }
    if (::rename(m_temp.c_str(), m_final.c_str()) != 0)
        return false;
    m_temp.clear();
    return true;
}

bool ReplacementFile::Remove()
{
    if (m_temp.empty())
        return false;
    const bool removed = ::unlink(m_temp.c_str()) == 0;
    m_temp.clear();
    return removed;
}

} // namespace BrelkosPlayer
