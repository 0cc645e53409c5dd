// A file written beside its target and renamed over it once complete, so a
// write that fails or stops part-way leaves the previous file as it was.
// The new file is created private (0600), then takes the target's permission
// bits, or for a new target those the umask gives. A link is followed: the
// file it names is replaced and the link stays.
#pragma once

#include <string>

namespace BrelkosPlayer {

class ReplacementFile {
public:
    ReplacementFile() = default;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    // Removes a new file that was never put in place.
    ~ReplacementFile();

    // Creates the new file beside target: its descriptor, or -1 (errno set).
    int Create(const std::string& target);
    // Puts the new file in place once the caller has written, synced and
    // closed it; false (errno set) when the rename failed.
    bool Commit();
    // Removes the new file while it is not in place; true when one was removed.
    bool Remove();
    bool IsPending() const { return !m_temp.empty(); }

private:
    std::string m_temp;  // the new file while it is written; empty once in place
    std::string m_final; // where it goes: the target, links followed
};

} // namespace BrelkosPlayer
