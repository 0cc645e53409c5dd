#include "files/FolderFiles.h"

#include <sys/stat.h>
#include <wx/log.h>

namespace BrelkosPlayer {

wxArrayString FolderFiles::Collect(const wxString& folder)
{
    FolderFiles walk;
    // An unreadable folder is skipped, not shown in a dialog.
    wxLogNull quiet;
    wxDir dir(folder);
    if (dir.IsOpened() && walk._firstVisit(folder))
        dir.Traverse(walk, wxEmptyString, wxDIR_FILES | wxDIR_DIRS | wxDIR_HIDDEN);
    return walk.m_files;
}

wxDirTraverseResult FolderFiles::OnFile(const wxString& path)
{
    m_files.Add(path);
    return wxDIR_CONTINUE;
}

wxDirTraverseResult FolderFiles::OnDir(const wxString& path)
{
    return _firstVisit(path) ? wxDIR_CONTINUE : wxDIR_IGNORE;
}

bool FolderFiles::_firstVisit(const wxString& folder)
{
    struct stat info;
    if (::stat(folder.fn_str(), &info) != 0)
        return false;
    return m_visited
        .insert({static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino)})
        .second;
}

} // namespace BrelkosPlayer
