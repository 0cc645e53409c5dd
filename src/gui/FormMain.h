// The main window: it owns the playlist store and the playback controller,
// shows what the controller plays, and creates the playlist, encode and video
// windows, which reach it only through MainControl.
#pragma once

#include <functional>
#include <memory>
#include <wx/arrstr.h>
#include <wx/filename.h>
#include <wx/frame.h>

#include "gui/MainControl.h"
#include "playback/PlaybackController.h"
#include "playback/PlayerState.h"
#include "playlist/PlaylistStore.h"

class wxCheckBox;
class wxPanel;
class wxSlider;
class wxStaticText;

namespace BrelkosPlayer {

class BrelkoCtrl;
class DesignTable;
class DesktopLink;
class FormEncode;
class FormPlaylist;
class FormVideo;
class ImageButton;
class Logger;
class Player;
class TaskBarIcon;
struct Design;

enum FormMainIds {
    ID_POSITION_SLIDER = 0,
    ID_VOLUME_SLIDER = 1,
    ID_LOOP = 2,
    ID_RANDOM = 3,
    ID_PREVIOUS = 4,
    ID_PLAY = 5,
    ID_PAUSE = 6,
    ID_STOP = 7,
    ID_NEXT = 8,
    ID_ADD_FILE = 9,
    ID_ADD_FOLDER = 10,
    ID_ENCODER = 11,
};

class FormMain : public wxFrame, public MainControl, private PlaybackView, private PlayerFactory {
public:
    // How the frame first shows. Later: the caller shows it (a window made
    // for a test or a benchmark). BeforeControls (the application's start):
    // the frame is mapped first, so that the X server and the window manager
    // map, place and decorate it while its controls are made; nothing paints
    // before the main loop turns, so the first paint has every control in
    // its design colours all the same.
    enum class FirstShow { Later, BeforeControls };

    // executablePath: the program's own path; its folder holds the log,
    // the configuration file and rsc/.
    explicit FormMain(const wxString& executablePath, FirstShow firstShow = FirstShow::Later);
    ~FormMain() override;

    // Creates the other windows (in the design read with this one) and files
    // the command-line paths (args[0] is the program itself).
    void SecondInit(const wxArrayString& args);

    // The application's start: the main window, mapped before its controls
    // are made; SecondInit(args) follows from the main loop's next turn, so
    // that the main window maps and paints without waiting for the other
    // windows (the video window's media back end alone takes tens of ms).
    static FormMain* Start(const wxString& executablePath, const wxArrayString& args);

    // Playback (FormMainPlayback.cpp): the controller's operations.
    void SetFile(const wxString& path, bool load, bool start) { m_controller.SetFile(path, load, start); }
    bool LoadFile(const wxString& path) { return m_controller.LoadFile(path); }
    void Play() { m_controller.Play(); }
    void Pause() { m_controller.Pause(); }
    void Stop() { m_controller.Stop(); }
    void NextFile() { m_controller.NextFile(); }
    void PreviousFile() { m_controller.PreviousFile(); }
    void StartNextFile() { m_controller.StartNextFile(); }
    void AddFile(const wxString& path) override;
    void AddFolder(const wxString& folder) override;
    void StepPosition(int step);
    void StepVolume(int step);
    // The play button: resume, or start the current file.
    void PlayCommand() { m_controller.PlayCommand(); }

    // MainControl
    void Execute(Command command) override;
    void SelectFile(const wxString& path) override { SetFile(path, false, false); }
    void PrepareToPlay(const wxString& path) override { m_controller.PrepareToPlay(path); }
    void PlayFile(const wxString& path) override { SetFile(path, true, true); }
    void ShowFromTray() override;

    // Playlist store (FormMainPlaylist.cpp)
    void ShufflePlaylist() override;
    // Empties the three lists, the played list and the playlist window.
    void ClearPlaylist();
    void RemoveCurrentEntry();
    void SavePlaylist(const wxString& path) override;
    void LoadPlaylist(const wxString& path) override;

    // Designs
    void SetSimpleDesign(const Design* design);
    const Design* GetSelectedDesign() const { return m_selectedDesign; }

    // The players' news, as they tell the controller (PlayerOwner).
    void PlayerProgress(unsigned long serial, int sliderValue)
    {
        m_controller.PlayerProgress(serial, sliderValue);
    }
    void EndOfMedia(unsigned long serial) { m_controller.EndOfMedia(serial); }
    void MediaReady(unsigned long serial) { m_controller.MediaReady(serial); }

    // State read by the playlist, search, video windows and the tray icon;
    // they change it only through the operations above.
    const wxArrayString& GetAudioList() const { return m_store.GetList(PlaylistStore::Audio); }
    const wxArrayString& GetVideoList() const { return m_store.GetList(PlaylistStore::Video); }
    const wxArrayString& GetCDList() const { return m_store.GetList(PlaylistStore::CD); }
    const wxArrayString& GetPlayedList() const { return m_store.GetPlayedList(); }
    // Whether the path is in the audio, video or CD list (exact comparison).
    bool HasEntry(const wxString& path) const override { return m_store.Has(path); }
    const wxString& GetCurrentFile() const { return m_store.GetCurrentFile(); }
    FileState GetFileState() const { return m_controller.GetFileState(); }
    PlayerState GetPlayState() const { return m_controller.GetPlayState(); }
    Player* GetPlayer() const { return m_controller.GetPlayer(); }
    bool IsLoop() const { return m_store.IsLoop(); }
    bool IsRandom() const { return m_store.IsRandom(); }
    TaskBarIcon* GetTaskBarIcon() const { return m_taskBarIcon.get(); }
    // The windows made by SecondInit; they live as long as this one.
    FormPlaylist* GetPlaylistWindow() const { return m_playlist; }
    FormEncode* GetEncodeWindow() const { return m_encode; }
    FormVideo* GetVideoWindow() const { return m_video; }
    BrelkoCtrl* GetVideoCtrl() const { return m_videoCtrl; }
    wxString GetExecutableFolder() const;

    wxSlider* GetPositionSlider() const { return m_positionSlider; }
    wxSlider* GetVolumeSlider() const { return m_volumeSlider; }
    wxStaticText* GetNameLabel() const { return m_nameValue; }
    wxStaticText* GetLengthLabel() const { return m_lengthValue; }
    wxCheckBox* GetLoopBox() const { return m_loopBox; }
    wxCheckBox* GetRandomBox() const { return m_randomBox; }
    wxPanel* GetPanel() const { return m_panel; }
    ImageButton* GetButton(int id) const;

    // The application icon (64 x 64).
    static wxIcon AppIcon();

    // Test seams for the add dialogs: return false for Cancel.
    using FileChooser = std::function<bool(wxArrayString& paths)>;
    using FolderChooser = std::function<bool(const wxString& defaultPath, wxString& path)>;
    static void SetFileChooser(FileChooser chooser);
    static void SetFolderChooser(FolderChooser chooser);

    static bool IsAudioFile(const wxString& path);
    static bool IsVideoFile(const wxString& path);

    // Handlers, public so tests and the other windows can drive them.
    void OnKey(wxKeyEvent& event);
    void HandleKey(int keyCode);
    void OnIconize(wxIconizeEvent& event);
    void HideToTray();
    void RestoreFromTray();
    // Whether the main window is hidden into the tray (GTK need not report a
    // hidden window as iconized).
    bool IsInTray() const { return m_inTray; }

private:
    void _createControls();
    void _loadButtonImage(ImageButton* button, const wxString& suffix);

    void CheckLoopClick(wxCommandEvent& event);
    void CheckRandomClick(wxCommandEvent& event);
    void BtnPreviousClick(wxCommandEvent& event);
    void BtnPlayClick(wxCommandEvent& event);
    void BtnPauseClick(wxCommandEvent& event);
    void BtnStopClick(wxCommandEvent& event);
    void BtnNextClick(wxCommandEvent& event);
    void BtnAddFileClick(wxCommandEvent& event);
    void BtnAddFolderClick(wxCommandEvent& event);
    void BtnEncoderClick(wxCommandEvent& event);
    void SliderPositionScroll(wxScrollEvent& event);
    void SliderVolumeScroll(wxScrollEvent& event);
    void _onMove(wxMoveEvent& event);
    void _onSize(wxSizeEvent& event);
    void _placePlaylist();
    // The selected design, to the playlist and encode windows that exist.
    void _passDesignOn();
    void _onClose(wxCloseEvent& event);
    // Minimised or in the tray: position and labels wait until it shows
    // again, and then show what is current.
    void _setViewHidden(bool hidden);
    bool _viewHidden() const { return m_viewHidden; }
    void _setLabel(wxStaticText* label, const wxString& text);

    // PlaybackView
    void ShowFile(const wxString& path) override;
    void ShowLength(const wxString& length) override;
    void ShowPosition(int sliderValue) override;
    void EnablePosition() override;
    void ShowNoFile() override;
    void HideVideo() override;
    void SelectNextEntry() override;
    bool SelectEntry(const wxString& path) override;
    const void* VideoControlId() const override { return m_videoCtrl; }
    void PlaybackChanged() override { _desktopChanged(); }

    // PlayerFactory
    std::unique_ptr<Player> MakePlayer(PlaylistStore::Kind kind, PlayerOwner& owner) override;
    // The desktop's media controls (MPRIS) hear what changed.
    void _desktopChanged();
    void _desktopSeeked();

    // State
    PlaylistStore m_store;
    PlaybackController m_controller;
    wxString m_lastFolder;
    wxString m_displayedName;
    wxString m_displayedLength;
    wxFileName m_executable;
    std::unique_ptr<Logger> m_logger;
    std::unique_ptr<TaskBarIcon> m_taskBarIcon;
    std::unique_ptr<DesignTable> m_designs;
    const Design* m_selectedDesign = nullptr;
    bool m_inTray = false;
    bool m_viewHidden = false;
    bool m_playlistInTray = false;
    std::unique_ptr<DesktopLink> m_desktop;

    // Windows
    FormPlaylist* m_playlist = nullptr;
    FormEncode* m_encode = nullptr;
    FormVideo* m_video = nullptr;
    BrelkoCtrl* m_videoCtrl = nullptr;

    // Widgets
    wxPanel* m_panel = nullptr;
    wxSlider* m_positionSlider = nullptr;
    wxSlider* m_volumeSlider = nullptr;
    wxStaticText* m_nameValue = nullptr;
    wxStaticText* m_lengthValue = nullptr;
    wxStaticText* m_volumeCaption = nullptr;
    wxStaticText* m_nameCaption = nullptr;
    wxStaticText* m_lengthCaption = nullptr;
    wxCheckBox* m_loopBox = nullptr;
    wxCheckBox* m_randomBox = nullptr;
    ImageButton* m_buttons[12] = {};

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
