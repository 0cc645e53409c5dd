#include "files/DataPaths.h"

#include <fcntl.h>
#include <unistd.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/utils.h>

namespace BrelkosPlayer {

namespace {

#ifndef BRELKOS_DATA_FROM_BIN
#define BRELKOS_DATA_FROM_BIN "../share/brelkosplayer"
#endif

// Creating the log is the only proof that it can be written: a folder's mode
// bits say nothing for root or on a read-only file system.
bool CanWriteLog(const wxString& folder)
{
    int fd =
        ::open((folder + "/BrelkosPlayer.log").fn_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace

wxString DataPaths::DataFolder(const wxString& executableFolder)
{
    if (wxDirExists(executableFolder + "/rsc"))
        return executableFolder;
    wxFileName installed(executableFolder + "/" + BRELKOS_DATA_FROM_BIN, wxEmptyString);
    installed.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    return installed.GetPath(wxPATH_GET_VOLUME);
}

wxString DataPaths::LogFolder(const wxString& executableFolder)
{
    if (CanWriteLog(executableFolder))
        return executableFolder;
    wxString state;
    // An unset or relative XDG_STATE_HOME is to be ignored (XDG base directories).
    if (!wxGetEnv("XDG_STATE_HOME", &state) || !wxIsAbsolutePath(state))
        state = wxGetHomeDir() + "/.local/state";
    const wxString folder = state + "/brelkosplayer";
    wxFileName::Mkdir(folder, 0700, wxPATH_MKDIR_FULL);
    return folder;
}

} // namespace BrelkosPlayer
