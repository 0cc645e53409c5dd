// The path rules on any text: the kind by extension, the shown title and the
// two halves of a CD track address. Every path from the command line, a
// playlist or a folder walk goes through them, so none may crash, and each
// answer must agree with the text it came from.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "playlist/MediaPath.h"

using BrelkosPlayer::MediaPath;

namespace {

// The first byte chooses how the rest becomes a text: UTF-8 (most paths),
// one byte per character (what a broken file name decodes to), or raw code
// points (anything wxString can hold, surrogates and all).
wxString MakeText(const uint8_t* data, size_t size)
{
    if (size == 0)
        return wxString();
    const char* rest = reinterpret_cast<const char*>(data + 1);
    size_t length = size - 1;
    switch (data[0] % 3) {
    case 0: return wxString::FromUTF8(rest, length);
    case 1: return wxString::From8BitData(rest, length);
    default: {
        wxString text;
        for (size_t i = 0; i + 4 <= length; i += 4) {
            uint32_t c;
            std::memcpy(&c, rest + i, 4);
            c %= 0x110000;
            if (c != 0)
                text += wxUniChar(c);
        }
        return text;
    }
    }
}

bool IsSeparator(wxUniChar c)
{
    return c == '/' || c == '\\';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const wxString path = MakeText(data, size);

    // One kind at most, and only by an extension of the file name itself.
    const bool audio = MediaPath::IsAudio(path);
    const bool video = MediaPath::IsVideo(path);
    if (audio && video)
        __builtin_trap();
    const wxString ext = MediaPath::Extension(path);
    for (wxUniChar c : ext) {
        if (IsSeparator(c) || c == '.')
            __builtin_trap();
    }
    if ((audio || video) && ext.empty())
        __builtin_trap();

    // The title is the file name part, never a folder, and with the extension
    // it gives back the end of the path.
    const wxString title = MediaPath::Title(path);
    for (wxUniChar c : title) {
        if (IsSeparator(c))
            __builtin_trap();
    }
    if (path.Find(title) == wxNOT_FOUND)
        __builtin_trap();
    if (audio || video) {
        const wxString name = title + "." + ext;
        if (path.length() < name.length() || path.Right(name.length()).Lower() != name.Lower())
            __builtin_trap();
    }

    // A CD track address: the drive is the first two characters, the track
    // the leading decimal digits after them, never negative or overflowed.
    const wxString drive = MediaPath::TrackDrive(path);
    if (drive != path.Left(2))
        __builtin_trap();
    const int track = MediaPath::TrackIndex(path);
    if (track < 0 || track > (1 << 30))
        __builtin_trap();
    long long expected = 0;
    for (size_t i = 2; i < path.length() && path[i] >= '0' && path[i] <= '9' && expected <= (1 << 30); ++i)
        expected = expected * 10 + (path[i].GetValue() - '0');
    if (track != (expected > (1 << 30) ? (1 << 30) : expected))
        __builtin_trap();

    // An address made from a drive and a track reads back as the same two.
    if (drive.length() == 2) {
        const int made = static_cast<int>(size % 100000);
        const wxString address = drive + wxString::Format("%d", made);
        if (MediaPath::TrackDrive(address) != drive || MediaPath::TrackIndex(address) != made)
            __builtin_trap();
    }
    return 0;
}
