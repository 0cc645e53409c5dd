// What a path names, from its text alone: the file kind by extension, the
// name shown for it, and the parts of a CD track address.
#pragma once

#include <wx/string.h>

namespace BrelkosPlayer {

class MediaPath {
public:
    // The text after the last "." of the file name, lower-cased ("" without one).
    static wxString Extension(const wxString& path);
    static bool IsAudio(const wxString& path);
    static bool IsVideo(const wxString& path);
    // The file name without its folder (either separator) and without its extension.
    static wxString Title(const wxString& path);
    // A CD track address is the two-character drive name followed by the
    // zero-based track index; the index is its leading decimal digits (0 when
    // there are none), clamped so that no text overflows it.
    static wxString TrackDrive(const wxString& address);
    static int TrackIndex(const wxString& address);
};

} // namespace BrelkosPlayer
