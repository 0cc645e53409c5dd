// Every file under a folder and its subfolders, hidden ones included, in the
// order the walk meets them. Each folder is walked once, whatever names lead
// to it: a link back up the tree would otherwise make the walk endless.
#pragma once

#include <set>
#include <utility>
#include <wx/arrstr.h>
#include <wx/dir.h>

namespace BrelkosPlayer {

class FolderFiles : public wxDirTraverser {
public:
    // Folders that cannot be read are passed over; nothing is reported.
    static wxArrayString Collect(const wxString& folder);

    wxDirTraverseResult OnFile(const wxString& path) override;
    wxDirTraverseResult OnDir(const wxString& path) override;

private:
    FolderFiles() = default;
    // False when the folder was met before (or cannot be identified).
    bool _firstVisit(const wxString& folder);

    wxArrayString m_files;
    std::set<std::pair<unsigned long long, unsigned long long>> m_visited; // device, inode
};

} // namespace BrelkosPlayer
