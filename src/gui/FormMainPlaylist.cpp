// The main window's operations on its whole store: shuffle, delete the
// current entry, save and load the playlist file.
#include <unordered_set>
#include <wx/filename.h>
#include <wx/wupdlock.h>

#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/FormVideo.h"
#include "gui/TrackList.h"
#include "log/Logger.h"
#include "playlist/PlaylistFile.h"

namespace BrelkosPlayer {

void FormMain::ShufflePlaylist()
{
    if (m_store.GetList(PlaylistStore::Audio).IsEmpty())
        return;
    m_store.ShuffleAudio();
    if (!m_playlist)
        return;
    m_playlist->ClearAudioVideoLists();
    // The video entries were cleared from the window with the audio ones;
    // show them again so the window holds what the store holds.
    for (PlaylistStore::Kind kind : {PlaylistStore::Audio, PlaylistStore::Video}) {
        for (const wxString& path : m_store.GetList(kind))
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
        m_store.Remove(kind == FormPlaylist::Audio ? PlaylistStore::Audio : PlaylistStore::Video,
                       m_playlist->GetCurrentPath(kind));
        if (kind == FormPlaylist::Video && m_video && m_video->GetPlayer())
            m_video->Show(false);
    }
    m_playlist->DeleteSelected();
}

void FormMain::ClearPlaylist()
{
    m_store.ClearAll();
    if (m_playlist)
        m_playlist->ClearAllLists();
}

void FormMain::SavePlaylist(const wxString& path)
{
    wxArrayString paths;
    for (PlaylistStore::Kind kind : {PlaylistStore::Audio, PlaylistStore::Video, PlaylistStore::CD}) {
        for (const wxString& entry : m_store.GetList(kind))
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
    ClearPlaylist();
    std::unique_ptr<wxWindowUpdateLocker> freeze;
    if (m_playlist)
        freeze.reset(new wxWindowUpdateLocker(m_playlist));
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
