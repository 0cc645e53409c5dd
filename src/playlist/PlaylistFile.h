// The playlist file: one path per line, written in UTF-8 with CR LF after
// every line, read back with any byte-order mark and any line end. No window is
// needed here; the main window files the entries into its lists.
#pragma once

#include <cstddef>
#include <string>
#include <wx/arrstr.h>
#include <wx/string.h>

namespace BrelkosPlayer {

class PlaylistFile {
public:
    // The texts to hand to the main window, in file order: the first line
    // always (empty when the file has no lines), then every following line up
    // to the first empty one, each without its trailing blanks. A line that is
    // not valid in the file's encoding is skipped and logged, never guessed.
    static void ParseEntries(const char* data, size_t size, wxArrayString& entries);
    // The same from a file; false (entries untouched) when it cannot be read.
    static bool ReadEntries(const wxString& path, wxArrayString& entries);

    // The file's bytes for the given paths. A path that cannot stand on one
    // line (line breaks, NUL) is left out and logged: written as it is, it
    // would come back as other paths.
    static std::string Format(const wxArrayString& paths);
    // Writes beside the target and renames over it (ReplacementFile), so the previous file
    // survives any failure. False when anything failed.
    static bool Write(const wxString& path, const std::string& bytes);

    // Removes trailing spaces, tabs and line-end characters.
    static wxString TrimEnd(const wxString& text);
};

} // namespace BrelkosPlayer
