#include "playlist/MediaPath.h"

#include <algorithm>

namespace BrelkosPlayer {

namespace {
wxString FileNamePart(const wxString& path)
{
    size_t cut = path.find_last_of("/\\");
    return cut == wxString::npos ? path : path.Mid(cut + 1);
}
} // namespace

wxString MediaPath::Extension(const wxString& path)
{
    wxString name = FileNamePart(path);
    int dot = name.Find('.', true);
    return dot == wxNOT_FOUND ? wxString() : name.Mid(dot + 1).Lower();
}

bool MediaPath::IsAudio(const wxString& path)
{
    wxString ext = Extension(path);
    return ext == "mp3" || ext == "wma" || ext == "wav" || ext == "ogg" || ext == "ac3";
}

bool MediaPath::IsVideo(const wxString& path)
{
    wxString ext = Extension(path);
    return ext == "wmv" || ext == "avi" || ext == "mpg" || ext == "mpeg" || ext == "mp4" || ext == "divx" ||
           ext == "mkv";
}

wxString MediaPath::Title(const wxString& path)
{
    wxString name = FileNamePart(path);
    int dot = name.Find('.', true);
    return dot == wxNOT_FOUND ? name : name.Left(dot);
}

wxString MediaPath::TrackDrive(const wxString& address)
{
    return address.Left(2);
}

int MediaPath::TrackIndex(const wxString& address)
{
    long long track = 0;
    for (wxUniChar c : address.Mid(2)) {
        if (c < '0' || c > '9')
            break;
        track = std::min<long long>(track * 10 + (c - '0'), 1 << 30);
    }
    return static_cast<int>(track);
}

} // namespace BrelkosPlayer
