// The main window's operations on its whole store: shuffle, delete the
// current entry, save and load the playlist file.
#include <cstdlib>
#include <ctime>
#include <unordered_set>
#include <wx/filename.h>
#include <wx/wupdlock.h>

#include "log/Logger.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/FormVideo.h"
#include "gui/TrackList.h"
#include "playlist/PlaylistFile.h"

namespace BrelkosPlayer {

void FormMain::ShufflePlaylist()
{
    if (m_audioList.IsEmpty())
        return;
    if (m_playlist)
        m_playlist->ClearAudioVideoLists();
    wxArrayString result;
    result.Alloc(m_audioList.GetCount());
    while (!m_audioList.IsEmpty()) {
        size_t n = m_audioList.GetCount();
        // Seeded again before every draw: draws within one second repeat.
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        int r = std::rand() % 32768;
        size_t k = static_cast<size_t>(r * (1.0 / 32768.0) * n);
        result.Add(m_audioList[k]);
        m_audioList.RemoveAt(k);
        if (m_playlist)
            m_playlist->AddFileByKind(result.Last());
    }
    m_audioList = result;
    // The video entries were cleared from the window with the audio ones;
    // show them again so the window holds what the store holds.
    if (m_playlist) {
        for (const wxString& path : m_videoList)
            m_playlist->AddFileByKind(path);
    }
}

void FormMain::RemoveCurrentEntry()
{
    if (!m_playlist)
        return;
    // The store loses exactly the entry the window removes, so the two never
    // disagree; the CD list cannot be edited from the window.
    if (m_playlist->CanDeleteSelected()) {
        FormPlaylist::ListKind kind = m_playlist->GetCurrentKind();
        wxArrayString& list = kind == FormPlaylist::Audio ? m_audioList : m_videoList;
        int index = list.Index(m_playlist->GetCurrentPath(kind), true);
        if (index != wxNOT_FOUND)
            list.RemoveAt(index);
        if (kind == FormPlaylist::Video && s_videoMode && m_video)
            m_video->Show(false);
    }
    m_playlist->DeleteSelected();
}

void FormMain::SavePlaylist(const wxString& path)
{
    wxArrayString paths;
    paths.Alloc(m_audioList.GetCount() + m_videoList.GetCount() + m_cdList.GetCount());
    for (const wxArrayString* list : {&m_audioList, &m_videoList, &m_cdList}) {
        for (const wxString& entry : *list)
            paths.Add(entry);
    }
    if (!PlaylistFile::Write(path, PlaylistFile::Format(paths)))
        LogText("ERROR : FormMain :: SavePlaylist - Can't write playlist file " + path);
}

void FormMain::LoadPlaylist(const wxString& path)
{
    if (path.empty()) {
        LogMessage("ERROR : FormMain :: NextFile - End - Void playlist file name");
        return;
    }
    wxArrayString entries;
    if (!PlaylistFile::ReadEntries(path, entries)) {
        LogMessage("ERROR : FormMain :: NextFile - End - Can't read playlist file");
        return;
    }
    m_audioList.Clear();
    m_videoList.Clear();
    m_cdList.Clear();
    // Starts of the old lists would count against the new ones and end them early.
    m_playedList.Clear();
    std::unique_ptr<wxWindowUpdateLocker> freeze;
    if (m_playlist) {
        m_playlist->ClearAllLists();
        freeze.reset(new wxWindowUpdateLocker(m_playlist));
    }
    // The lists were emptied above, so "already in the store" means "added
    // by an earlier line"; an empty text is never stored.
    std::unordered_set<wxString> stored;
    stored.reserve(entries.GetCount());
    for (const wxString& entry : entries) {
        if (!entry.empty() && !stored.insert(entry).second)
            continue;
        AddFile(entry);
    }
}

} // namespace BrelkosPlayer
