#include "gui/FormPlaylist.h"

#include <memory>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include "configuration/Design.h"
#include "gui/FileDropTarget.h"
#include "gui/FormMain.h"
#include "gui/FormSearch.h"
#include "gui/FormTagEdit.h"
#include "gui/FrameEvents.h"
#include "gui/ImageButton.h"
#include "gui/ListBox.h"
#include "gui/MainControl.h"
#include "gui/TrackList.h"
#include "log/Logger.h"

namespace BrelkosPlayer {

namespace {
FormPlaylist::PlaylistChooser s_playlistChooser;
} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(FormPlaylist, wxFrame)
    // A frame's own key-down event never arrives on GTK; the char hook does,
    // whichever child holds the focus.
    EVT_CHAR_HOOK(FormPlaylist::OnKey)
    EVT_BUTTON(ID_PLAYLIST_LOAD, FormPlaylist::BtnLoadClick)
    EVT_BUTTON(ID_PLAYLIST_SAVE, FormPlaylist::BtnSaveClick)
    EVT_BUTTON(ID_PLAYLIST_SHUFFLE, FormPlaylist::BtnShuffleClick)
    EVT_BUTTON(ID_PLAYLIST_SEARCH, FormPlaylist::BtnSearchClick)
    EVT_BUTTON(ID_PLAYLIST_READ_CD, FormPlaylist::BtnReadCDClick)
    EVT_NOTEBOOK_PAGE_CHANGED(ID_PLAYLIST_NOTEBOOK, FormPlaylist::NotebookPageChanged)
    EVT_LISTBOX(ID_PLAYLIST_AUDIO, FormPlaylist::LBAudioClick)
    EVT_LISTBOX(ID_PLAYLIST_VIDEO, FormPlaylist::LBVideoClick)
    EVT_LISTBOX(ID_PLAYLIST_CD, FormPlaylist::LBCDClick)
    EVT_LISTBOX_DCLICK(ID_PLAYLIST_AUDIO, FormPlaylist::LBAudioDblClick)
    EVT_LISTBOX_DCLICK(ID_PLAYLIST_VIDEO, FormPlaylist::LBVideoDblClick)
    EVT_LISTBOX_DCLICK(ID_PLAYLIST_CD, FormPlaylist::LBCDDblClick)
    EVT_MENU_RANGE(ID_PLAYLIST_DRIVE_FIRST, ID_PLAYLIST_DRIVE_LAST, FormPlaylist::MenuDriveClick)
    EVT_CLOSE(FormPlaylist::_onClose)
wxEND_EVENT_TABLE()
// clang-format on

FormPlaylist::FormPlaylist(wxWindow* parent, MainControl& main, const wxPoint& pos)
    : wxFrame(parent, wxID_ANY, "Playlist", pos, wxSize(296, 622),
              wxCAPTION | wxCLOSE_BOX | wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT, "frame"),
      m_main(main)
{
    // Keys outside our own table stay here as well: the main window's Page Up
    // and Down do not act from the playlist.
    KeepEventsInFrame(this);
    _createControls();
    SetDropTarget(new FileDropTarget(main));
    m_search = new FormSearch(this, main);
    m_search->Show(false);
    m_tagEdit = new FormTagEdit(this);
    m_tagEdit->Show(false);
}

FormPlaylist::~FormPlaylist() = default;

void FormPlaylist::_createControls()
{
    wxSize client = GetClientSize();
    m_notebook = new wxNotebook(this, ID_PLAYLIST_NOTEBOOK, wxPoint(0, 0), wxSize(290, client.y - 56),
                                wxNO_BORDER, "notebook");
    static const char* const titles[] = {"Audio", "Video", "CD"};
    wxSize pageSize = m_notebook->GetClientSize();
    pageSize.y -= 30;
    for (int i = 0; i < 3; ++i) {
        m_pages[i] = new wxPanel(m_notebook, wxID_ANY, wxPoint(0, 0), pageSize, wxTAB_TRAVERSAL | wxNO_BORDER,
                                 "panel");
        auto* box =
            new ListBox(m_pages[i], ID_PLAYLIST_AUDIO + i, wxPoint(0, 0), m_pages[i]->GetClientSize());
        // The notebook sizes its pages itself; the list follows the page.
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(box, 1, wxEXPAND);
        m_pages[i]->SetSizer(sizer);
        m_lists[i].reset(new TrackList(box));
        m_notebook->AddPage(m_pages[i], titles[i], i == 0);
    }
    struct ButtonPlace {
        int id;
        const char* label;
        int x;
        int width;
    };
    static const ButtonPlace places[] = {{ID_PLAYLIST_LOAD, "Charger", 8, 33},
                                         {ID_PLAYLIST_SAVE, "Sauv.", 47, 33},
                                         {ID_PLAYLIST_SHUFFLE, "Rand.", 86, 33},
                                         {ID_PLAYLIST_SEARCH, "Chercher", 125, 44},
                                         {ID_PLAYLIST_READ_CD, "Lire CD", 220, 64}};
    for (const ButtonPlace& place : places)
        m_buttons[place.id] =
            new ImageButton(this, place.id, place.label, wxPoint(place.x, 567), wxSize(place.width, 29));
    m_currentKind = Audio;
}

ImageButton* FormPlaylist::GetButton(int id) const
{
    return id >= ID_PLAYLIST_LOAD && id <= ID_PLAYLIST_READ_CD ? m_buttons[id] : nullptr;
}

void FormPlaylist::SetPlaylistChooser(PlaylistChooser chooser)
{
    s_playlistChooser = std::move(chooser);
}

wxString FormPlaylist::GetCurrentKindName() const
{
    switch (m_currentKind) {
    case Audio: return "Audio";
    case Video: return "Video";
    default: return "CD";
    }
}

TrackList& FormPlaylist::GetTrackList(ListKind kind)
{
    return *m_lists[kind];
}

const wxString& FormPlaylist::GetCurrentPath(ListKind kind)
{
    return m_lists[kind]->GetCurrentPath();
}

TrackList& FormPlaylist::_audioOrVideo()
{
    return m_currentKind == Audio ? *m_lists[Audio] : *m_lists[Video];
}

void FormPlaylist::SetSimpleDesign(const Design* design)
{
    if (!design) {
        LogMessage("ERROR : FormPlaylist :: SetSimpleDesign - Design Null");
        return;
    }
    m_design = design;
    SetBackgroundColour(design->generalColor);
    static const int order[] = {ID_PLAYLIST_LOAD, ID_PLAYLIST_SAVE, ID_PLAYLIST_SHUFFLE, ID_PLAYLIST_SEARCH,
                                ID_PLAYLIST_READ_CD};
    for (int id : order) {
        m_buttons[id]->SetBackgroundColour(design->generalColor);
        m_buttons[id]->SetDesignColours(*design, true);
    }
    m_notebook->SetBackgroundColour(design->generalColor);
    // On GTK the foreground colours the tab labels: the general colour would
    // make them invisible on their own background.
    m_notebook->SetForegroundColour(design->generalTxtColor);
    m_notebook->Refresh();
    for (auto& list : m_lists) {
        list->GetListBox()->SetForegroundColour(design->listTxtColor);
        list->GetListBox()->SetBackgroundColour(design->listColor);
    }
    if (m_search)
        m_search->SetSimpleDesign(design);
    Refresh();
}

void FormPlaylist::AddFileByKind(const wxString& path)
{
    if (FormMain::IsVideoFile(path))
        _addFile(path, *m_lists[Video]);
    else if (FormMain::IsAudioFile(path))
        _addFile(path, *m_lists[Audio]);
    else
        _addFile(path, *m_lists[CD]);
}

void FormPlaylist::_addFile(const wxString& path, TrackList& list)
{
    wxString name = TrackList::DisplayName(path);
    if (name.empty()) {
        LogMessage("ERROR : FormPlaylist :: _addVideoFile - Void File name");
        return;
    }
    if (list.GetCount() == 0)
        list.Clear();
    LogText("_addFile : " + name);
    list.Append(path, name);
}

void FormPlaylist::ClearAudioVideoLists()
{
    m_lists[Audio]->Clear();
    m_lists[Video]->Clear();
}

void FormPlaylist::ClearAllLists()
{
    ClearAudioVideoLists();
    m_lists[CD]->Clear();
}

void FormPlaylist::SelectNextEntry()
{
    TrackList& list = _audioOrVideo();
    int index = list.GetCurrentIndex();
    if (index == -1 || index >= list.GetCount() - 1)
        return;
    list.SelectIndex(index + 1);
}

bool FormPlaylist::SelectEntryByPath(const wxString& path)
{
    TrackList& list = _audioOrVideo();
    int index = list.GetPaths().Index(path, true);
    if (index == wxNOT_FOUND || index >= static_cast<int>(list.GetListBox()->GetCount())) {
        list.ForgetCurrent();
        return false;
    }
    list.SelectIndex(index);
    return true;
}

void FormPlaylist::_selectEntry(TrackList& list)
{
    ListBox* box = list.GetListBox();
    int selection = box->GetSelection();
    if (box->IsEmpty() || selection < 0 || selection >= list.GetCount())
        return;
    list.SelectIndex(selection);
    m_main.SelectFile(list.GetCurrentPath());
}

void FormPlaylist::_playEntry(TrackList& list)
{
    ListBox* box = list.GetListBox();
    int index = list.GetCurrentIndex();
    if (box->IsEmpty() || box->GetSelection() == wxNOT_FOUND || index < 0 ||
        index >= static_cast<int>(box->GetCount()))
        return;
    wxString path = list.GetCurrentPath();
    m_main.PrepareToPlay(path);
    m_main.PlayFile(path);
}

bool FormPlaylist::CanDeleteSelected()
{
    if (m_currentKind == CD)
        return false;
    TrackList& list = *m_lists[m_currentKind];
    int index = list.GetCurrentIndex();
    return index >= 0 && index < list.GetCount() && list.GetListBox()->GetSelection() == index;
}

bool FormPlaylist::DeleteSelected()
{
    if (CanDeleteSelected()) {
        TrackList& list = *m_lists[m_currentKind];
        int index = list.GetCurrentIndex();
        list.RemoveAt(index);
        if (list.GetCount() > 0) {
            list.SelectIndex(index >= list.GetCount() ? list.GetCount() - 1 : index);
            return true;
        }
        list.Clear();
    }
    LogMessage("ERROR : FormPlaylist :: _deleteSelected - Can't delete selected file");
    return false;
}

void FormPlaylist::OnKey(wxKeyEvent& event)
{
    if (!HandleKey(event.GetKeyCode()))
        event.Skip();
}

bool FormPlaylist::HandleKey(int keyCode)
{
    Command command = CommandForKey(KeyWindow::Playlist, keyCode);
    if (command == Command::None)
        return false;
    m_main.Execute(command);
    return true;
}

bool FormPlaylist::_choosePlaylistFile(bool save, wxString& path)
{
    bool chosen = false;
    if (s_playlistChooser) {
        chosen = s_playlistChooser(save, path);
    } else {
        wxFileDialog dialog(this, "Choisissez un fichier", wxEmptyString, wxEmptyString,
                            "Brelko's Playlist|*.kx", save ? wxFD_SAVE : wxFD_OPEN, wxDefaultPosition,
                            wxDefaultSize, "filedlg");
        chosen = dialog.ShowModal() == wxID_OK;
        if (chosen)
            path = dialog.GetPath();
    }
    if (!chosen)
        return false;
    // A name typed without extension takes the one of the file type.
    if (save && !path.empty()) {
        wxFileName name(path);
        if (!name.HasExt() && !name.GetName().empty()) {
            name.SetExt("kx");
            path = name.GetFullPath();
        }
    }
    return true;
}

void FormPlaylist::BtnLoadClick(wxCommandEvent&)
{
    wxString path;
    if (_choosePlaylistFile(false, path))
        m_main.LoadPlaylist(path);
}

void FormPlaylist::BtnSaveClick(wxCommandEvent&)
{
    wxString path;
    if (_choosePlaylistFile(true, path))
        m_main.SavePlaylist(path);
}

void FormPlaylist::BtnShuffleClick(wxCommandEvent&)
{
    m_main.ShufflePlaylist();
}

void FormPlaylist::BtnSearchClick(wxCommandEvent&)
{
    m_search->Show(true);
    m_search->Raise();
    TrackList& source = _audioOrVideo();
    m_search->SetFilesList(source.GetNames(), &source);
}

void FormPlaylist::BtnReadCDClick(wxCommandEvent&)
{
    _showDriveMenu();
}

void FormPlaylist::MenuDriveClick(wxCommandEvent& event)
{
    ListDriveTracks(event.GetId() - ID_PLAYLIST_DRIVE_FIRST);
}

void FormPlaylist::_showDriveMenu()
{
    std::unique_ptr<wxMenu> menu(BuildDriveMenu());
    ImageButton* button = m_buttons[ID_PLAYLIST_READ_CD];
    PopupMenu(menu.get(), button->GetPosition());
}

void FormPlaylist::NotebookPageChanged(wxBookCtrlEvent& event)
{
    int page = event.GetSelection();
    m_currentKind = page == 0 ? Audio : page == 1 ? Video : CD;
    event.Skip();
}

void FormPlaylist::LBAudioClick(wxCommandEvent&)
{
    _selectEntry(*m_lists[Audio]);
}

void FormPlaylist::LBVideoClick(wxCommandEvent&)
{
    _selectEntry(*m_lists[Video]);
}

void FormPlaylist::LBCDClick(wxCommandEvent&)
{
    _selectEntry(*m_lists[CD]);
}

void FormPlaylist::LBAudioDblClick(wxCommandEvent&)
{
    _playEntry(*m_lists[Audio]);
}

void FormPlaylist::LBVideoDblClick(wxCommandEvent&)
{
    _playEntry(*m_lists[Video]);
}

void FormPlaylist::LBCDDblClick(wxCommandEvent&)
{
    _playEntry(*m_lists[CD]);
}

void FormPlaylist::_onClose(wxCloseEvent& event)
{
    // The window lives as long as the main window: the close box hides it,
    // since everything else keeps pointing at it.
    if (event.CanVeto()) {
        event.Veto();
        Show(false);
        return;
    }
    event.Skip();
}

} // namespace BrelkosPlayer
