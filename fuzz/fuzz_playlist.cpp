// The playlist reader on any bytes: it never crashes, never hands out a
// broken character, and what it hands out is written and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "playlist/PlaylistFile.h"

using BrelkosPlayer::PlaylistFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    wxArrayString entries;
    PlaylistFile::ParseEntries(reinterpret_cast<const char*>(data), size, entries);
    wxArrayString paths;
    for (const wxString& entry : entries) {
        for (wxUniChar c : entry) {
            wxUint32 v = c.GetValue();
            if (v == 0 || v == '\r' || v == '\n' || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
                __builtin_trap();
        }
        if (!entry.empty())
            paths.Add(entry);
    }
    std::string written = PlaylistFile::Format(paths);
    wxArrayString back;
    PlaylistFile::ParseEntries(written.data(), written.size(), back);
    if (paths.IsEmpty()) {
        if (back.GetCount() != 1 || !back[0].empty())
            __builtin_trap();
    } else if (back != paths) {
        __builtin_trap();
    }
    return 0;
}
