#include "playlist/PlaylistFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "files/ReplacementFile.h"
#include "files/TextDecoder.h"
#include "log/Logger.h"

namespace BrelkosPlayer {

namespace {

// Appends the UTF-8 form of text; false when it holds something that cannot
// be a line of the file.
bool AppendLine(std::string& out, const wxString& text)
{
    size_t start = out.size();
    for (wxUniChar ch : text) {
        wxUint32 c = ch.GetValue();
        if (c == 0 || c == '\r' || c == '\n' || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out.resize(start);
            return false;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out += "\r\n";
    return true;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

wxString PlaylistFile::TrimEnd(const wxString& text)
{
    size_t end = text.length();
    while (end > 0) {
        wxUniChar c = text[end - 1];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f')
            break;
        --end;
    }
    return end == text.length() ? text : text.Left(end);
}

void PlaylistFile::ParseEntries(const char* data, size_t size, wxArrayString& entries)
{
    entries.Clear();
    std::vector<TextDecoder::Line> lines = TextDecoder::Decode(data, size);
    if (lines.empty()) {
        entries.Add(wxString());
        return;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        const TextDecoder::Line& line = lines[i];
        // Reading ends at the first empty line after the first one.
        if (i > 0 && line.valid && line.text.empty())
            break;
        if (!line.valid) {
            LogMessage("ERROR : PlaylistFile :: ParseEntries - Invalid text, line %zu skipped", i + 1);
            continue;
        }
        entries.Add(TrimEnd(line.text));
    }
}

bool PlaylistFile::ReadEntries(const wxString& path, wxArrayString& entries)
{
    std::string bytes;
    if (!TextDecoder::ReadFile(path, bytes))
        return false;
    ParseEntries(bytes.data(), bytes.size(), entries);
    return true;
}

std::string PlaylistFile::Format(const wxArrayString& paths)
{
    std::string out;
    for (const wxString& path : paths) {
        if (!AppendLine(out, path))
            LogMessage("ERROR : PlaylistFile :: Format - Path that cannot stand on one line left out");
    }
    // A first path that begins with U+FEFF would read back as a byte-order
    // mark and lose that character: only then does the file get a real mark.
    if (out.compare(0, 3, "\xEF\xBB\xBF") == 0)
        out.insert(0, "\xEF\xBB\xBF");
    return out;
}

bool PlaylistFile::Write(const wxString& path, const std::string& bytes)
{
    if (path.empty())
        return false;
    std::string target(path.fn_str());
    if (target.empty())
        return false;
    // A folder, a device or a pipe is never replaced.
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return false;

    ReplacementFile file;
    int fd = file.Create(target);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok && file.Commit(); // an unfinished file goes with `file`
}

} // namespace BrelkosPlayer
