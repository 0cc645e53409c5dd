// The playlist window: the main window's audio, video and CD lists shown on
// notebook pages, with the commands to pick, play, delete, load, save, shuffle
// and search them. The main window's store stays the authority; this window
// mirrors it for display and selection.
#pragma once

#include <functional>
#include <memory>
#include <wx/arrstr.h>
#include <wx/frame.h>

class wxBookCtrlEvent;
class wxNotebook;
class wxPanel;

class wxMenu;

namespace BrelkosPlayer {

class FormSearch;
class FormTagEdit;
class ImageButton;
class MainControl;
class TrackList;
struct Design;

enum FormPlaylistIds {
    ID_PLAYLIST_AUDIO = 0,
    ID_PLAYLIST_VIDEO = 1,
    ID_PLAYLIST_CD = 2,
    ID_PLAYLIST_LOAD = 3,
    ID_PLAYLIST_SAVE = 4,
    ID_PLAYLIST_SHUFFLE = 5,
    ID_PLAYLIST_SEARCH = 6,
    ID_PLAYLIST_NOTEBOOK = 7,
    ID_PLAYLIST_READ_CD = 8,
    ID_PLAYLIST_DRIVE_FIRST = 9, // one menu item per CD drive, at most eight
    ID_PLAYLIST_DRIVE_LAST = 16,
};

class FormPlaylist : public wxFrame {
public:
    enum ListKind { Audio = 0, Video = 1, CD = 2 };

    FormPlaylist(wxWindow* parent, MainControl& main, const wxPoint& pos);
    ~FormPlaylist() override;

    void SetSimpleDesign(const Design* design);
    const Design* GetDesign() const { return m_design; }

    // Files the path into the list of its kind (by extension only).
    void AddFileByKind(const wxString& path);
    void ClearAudioVideoLists();
    void ClearAllLists();
    void SelectNextEntry();
    // Selects the entry of the current list (audio, or video for the other
    // pages) with exactly this path; false when there is none.
    bool SelectEntryByPath(const wxString& path);

    ListKind GetCurrentKind() const { return m_currentKind; }
    // "Audio", "Video" or "CD".
    wxString GetCurrentKindName() const;
    TrackList& GetTrackList(ListKind kind);
    const wxString& GetCurrentPath(ListKind kind);

    // Whether the Delete key can remove the selected entry of the current list.
    bool CanDeleteSelected();
    // Removes the selected entry of the current list (audio or video only);
    // false, with a log line, when nothing could be removed.
    bool DeleteSelected();

    // Key commands; false for keys that are not ours.
    bool HandleKey(int keyCode);

    // The "Lire CD" menu: one item per CD drive (ids from 9, at most eight);
    // the names are kept for ListDriveTracks.
    wxMenu* BuildDriveMenu();
    const wxArrayString& GetDriveNames() const { return m_driveNames; }
    // Stops playback and files the tracks of the disc in drive d as CD track
    // addresses, skipping addresses already in a list.
    void ListDriveTracks(int drive);

    FormSearch* GetSearchWindow() const { return m_search; }
    FormTagEdit* GetTagEditWindow() const { return m_tagEdit; }
    wxNotebook* GetNotebook() const { return m_notebook; }
    ImageButton* GetButton(int id) const;

    // Test seam for the load and save dialogs: returns false for Cancel.
    using PlaylistChooser = std::function<bool(bool save, wxString& path)>;
    static void SetPlaylistChooser(PlaylistChooser chooser);

private:
    void _createControls();
    void _addFile(const wxString& path, TrackList& list);
    TrackList& _audioOrVideo();
    void _selectEntry(TrackList& list);
    void _playEntry(TrackList& list);
    bool _choosePlaylistFile(bool save, wxString& path);
    void _showDriveMenu();

    void OnKey(wxKeyEvent& event);
    void BtnLoadClick(wxCommandEvent& event);
    void BtnSaveClick(wxCommandEvent& event);
    void BtnShuffleClick(wxCommandEvent& event);
    void BtnSearchClick(wxCommandEvent& event);
    void BtnReadCDClick(wxCommandEvent& event);
    void NotebookPageChanged(wxBookCtrlEvent& event);
    void LBAudioClick(wxCommandEvent& event);
    void LBVideoClick(wxCommandEvent& event);
    void LBCDClick(wxCommandEvent& event);
    void LBAudioDblClick(wxCommandEvent& event);
    void LBVideoDblClick(wxCommandEvent& event);
    void LBCDDblClick(wxCommandEvent& event);
    void MenuDriveClick(wxCommandEvent& event);
    void _onClose(wxCloseEvent& event);

    MainControl& m_main;
    std::unique_ptr<TrackList> m_lists[3];
    ListKind m_currentKind = Audio;
    wxArrayString m_driveNames;
    const Design* m_design = nullptr;

    wxNotebook* m_notebook = nullptr;
    wxPanel* m_pages[3] = {};
    ImageButton* m_buttons[ID_PLAYLIST_READ_CD + 1] = {};
    FormSearch* m_search = nullptr;
    FormTagEdit* m_tagEdit = nullptr;

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
