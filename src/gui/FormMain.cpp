#include "gui/FormMain.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/font.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/thread.h>

#include "configuration/Design.h"
#include "configuration/DesignTable.h"
#include "files/DataPaths.h"
#include "gui/BrelkoCtrl.h"
#include "gui/DesktopLink.h"
#include "gui/FileDropTarget.h"
#include "gui/FormEncode.h"
#include "gui/FormPlaylist.h"
#include "gui/FormVideo.h"
#include "gui/ImageButton.h"
#include "gui/TaskBarIcon.h"
#include "gui/ToolkitCalls.h"
#include "log/Logger.h"
#include "playback/Player.h"

namespace BrelkosPlayer {

namespace {
const long kFrameStyle = wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX;
FormMain::FileChooser s_fileChooser;
FormMain::FolderChooser s_folderChooser;

// Whether the window manager has told the frame's decorations
// (_NET_FRAME_EXTENTS); without a window manager it never does.
bool DecorationsKnown(const wxWindow* frame)
{
    return wxSystemSettings::GetMetric(wxSYS_CAPTION_Y, frame) >= 0;
}

} // namespace

wxBEGIN_EVENT_TABLE(FormMain, wxFrame)
    EVT_CHAR_HOOK(FormMain::OnKey)
    EVT_CHECKBOX(ID_LOOP, FormMain::CheckLoopClick)
    EVT_CHECKBOX(ID_RANDOM, FormMain::CheckRandomClick)
    EVT_BUTTON(ID_PREVIOUS, FormMain::BtnPreviousClick)
    EVT_BUTTON(ID_PLAY, FormMain::BtnPlayClick)
    EVT_BUTTON(ID_PAUSE, FormMain::BtnPauseClick)
    EVT_BUTTON(ID_STOP, FormMain::BtnStopClick)
    EVT_BUTTON(ID_NEXT, FormMain::BtnNextClick)
    EVT_BUTTON(ID_ADD_FILE, FormMain::BtnAddFileClick)
    EVT_BUTTON(ID_ADD_FOLDER, FormMain::BtnAddFolderClick)
    EVT_BUTTON(ID_ENCODER, FormMain::BtnEncoderClick)
    EVT_COMMAND_SCROLL(ID_POSITION_SLIDER, FormMain::SliderPositionScroll)
    EVT_COMMAND_SCROLL(ID_VOLUME_SLIDER, FormMain::SliderVolumeScroll)
    EVT_MOVE(FormMain::_onMove)
    EVT_SIZE(FormMain::_onSize)
    EVT_CLOSE(FormMain::_onClose)
    EVT_ICONIZE(FormMain::OnIconize)
wxEND_EVENT_TABLE()

FormMain::FormMain(const wxString& executablePath, FirstShow firstShow)
    : wxFrame(nullptr, wxID_ANY, "Brelko's Player", wxPoint(0, 0), wxSize(296, 185), kFrameStyle, "frame"),
      m_controller(m_store, *this, *this,
                   {[] { return wxThread::IsMain(); },
                    [this](std::function<void()> work) { CallAfter(std::move(work)); }}),
      m_executable(executablePath), m_designs(new DesignTable)
{
    m_logger.reset(new Logger(DataPaths::LogFolder(GetExecutableFolder()) + "/BrelkosPlayer.log"));
    if (firstShow == FirstShow::BeforeControls) {
        Show(true);
        FlushDisplay();
    }
    _createControls();
    // The panel covers the frame: erasing the frame under it at each redraw
    // of a control (a theme lookup each time) would never be seen.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetDropTarget(new FileDropTarget(*this));
    // At start rather than at the first minimise, in the middle of the
    // window manager's events.
    AppIcon();
    m_taskBarIcon.reset(new TaskBarIcon(*this));
    m_store.SetCurrentKind(PlaylistStore::Audio);
    // Before the window first paints, so that it never paints without its colours.
    m_designs->ReadFile(DataPaths::DataFolder(GetExecutableFolder()) + "/BrelkosPlayer.cfg",
                        [this](const Design* design) { SetSimpleDesign(design); });
}

FormMain::~FormMain()
{
    m_desktop.reset();
    m_controller.EndPlayer();
    if (m_videoCtrl) {
        m_videoCtrl->Destroy();
        m_videoCtrl = nullptr;
    }
    if (m_taskBarIcon)
        m_taskBarIcon->RemoveIcon();
    // The toolkit destroys the child windows after this: nothing here may reach them then.
    m_playlist = nullptr;
    m_encode = nullptr;
    m_video = nullptr;
}

wxString FormMain::GetExecutableFolder() const
{
    return m_executable.GetPath(wxPATH_GET_VOLUME);
}

// GTK will not draw a slider or a check box below its themed minimum height
// (a check box warns on every measure): keep the box the constructor gives it but grow it
// around its centre line when the theme needs more.
static void GrowToThemeHeight(wxWindow* control, const wxPoint& pos, const wxSize& size)
{
    int needed = control->GetBestSize().y;
    if (needed > size.y) {
        control->SetSize(pos.x, pos.y - (needed - size.y) / 2, size.x, needed);
        control->SetMinSize(wxSize(size.x, needed));
    }
}

static wxSlider* MakeSlider(wxWindow* parent, int id, int max, const wxPoint& pos, const wxSize& size)
{
    auto* slider =
        new wxSlider(parent, id, 0, 0, max, pos, size, wxSL_HORIZONTAL, wxDefaultValidator, "slider");
    DropVerticalPadding(slider);
    GrowToThemeHeight(slider, pos, size);
    return slider;
}

static wxCheckBox* MakeCheckBox(wxWindow* parent, int id, const wxString& label, const wxPoint& pos,
                                const wxSize& size)
{
    auto* box = new wxCheckBox(parent, id, label, pos, size, 0, wxDefaultValidator, "check");
    GrowToThemeHeight(box, pos, size);
    return box;
}

void FormMain::_createControls()
{
    m_panel =
        new wxPanel(this, wxID_ANY, wxPoint(0, 0), GetClientSize(), wxTAB_TRAVERSAL | wxNO_BORDER, "panel");
    // The pixel layout was drawn for an 8-point interface font; GTK's larger
    // default would cut the captions.
    m_panel->SetFont(wxFontInfo(8));
    m_positionSlider = MakeSlider(m_panel, ID_POSITION_SLIDER, 1000, wxPoint(0, 113), wxSize(290, 18));
    m_positionSlider->Disable();
    // It moves four times a second while a file plays.
    KeepResizesInParent(m_positionSlider);
    m_volumeSlider = MakeSlider(m_panel, ID_VOLUME_SLIDER, 100, wxPoint(228, 55), wxSize(54, 17));
    m_nameValue =
        new wxStaticText(m_panel, wxID_ANY, wxEmptyString, wxPoint(50, 78), wxSize(3, 13), 0, "staticText");
    m_lengthValue =
        new wxStaticText(m_panel, wxID_ANY, wxEmptyString, wxPoint(50, 94), wxSize(3, 13), 0, "staticText");
    m_volumeCaption =
        new wxStaticText(m_panel, wxID_ANY, "Volume", wxPoint(228, 36), wxSize(35, 13), 0, "staticText");
    m_nameCaption =
        new wxStaticText(m_panel, wxID_ANY, "Nom :", wxPoint(8, 78), wxSize(37, 13), 0, "staticText");
    m_lengthCaption =
        new wxStaticText(m_panel, wxID_ANY, "Temps :", wxPoint(8, 94), wxSize(33, 13), 0, "staticText");
    // Captions keep their place but never cut their text.
    for (wxStaticText* caption : {m_volumeCaption, m_nameCaption, m_lengthCaption})
        caption->SetSize(std::max(caption->GetSize().x, caption->GetBestSize().x), caption->GetSize().y);
    m_loopBox = MakeCheckBox(m_panel, ID_LOOP, "Boucle", wxPoint(8, 137), wxSize(97, 17));
    m_randomBox = MakeCheckBox(m_panel, ID_RANDOM, "Aleatoire", wxPoint(179, 137), wxSize(97, 17));

    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    struct Transport {
        int id;
        int x;
        const char* image;
    };
    static const Transport transport[] = {{ID_PREVIOUS, 0, "/rsc/PNGPrevious.png"},
                                          {ID_PLAY, 40, "/rsc/PNGPlay.png"},
                                          {ID_PAUSE, 80, "/rsc/PNGPause.png"},
                                          {ID_STOP, 120, "/rsc/PNGStop.png"},
                                          {ID_NEXT, 160, "/rsc/PNGNext.png"}};
    for (const Transport& t : transport) {
        m_buttons[t.id] = new ImageButton(m_panel, t.id, wxEmptyString, wxPoint(t.x, 32), wxSize(40, 40));
        _loadButtonImage(m_buttons[t.id], t.image);
    }
    m_buttons[ID_ADD_FILE] =
        new ImageButton(m_panel, ID_ADD_FILE, "Ajout fichier", wxPoint(0, 0), wxSize(90, 32));
    m_buttons[ID_ADD_FOLDER] =
        new ImageButton(m_panel, ID_ADD_FOLDER, "Ajout dossier", wxPoint(100, 0), wxSize(90, 32));
    m_buttons[ID_ENCODER] = new ImageButton(m_panel, ID_ENCODER, "Encoder", wxPoint(200, 0), wxSize(90, 32));
}

void FormMain::_loadButtonImage(ImageButton* button, const wxString& suffix)
{
    wxString path = DataPaths::DataFolder(GetExecutableFolder()) + suffix;
    if (!wxFileExists(path))
        return;
    wxLogNull quiet;
    wxImage image(path, wxBITMAP_TYPE_ANY);
    if (image.IsOk())
        button->SetImage(ButtonNormal, wxBitmap(image));
}

ImageButton* FormMain::GetButton(int id) const
{
    return id >= ID_PREVIOUS && id <= ID_ENCODER ? m_buttons[id] : nullptr;
}

void FormMain::SecondInit(const wxArrayString& args)
{
    m_playlist = new FormPlaylist(this, *this, wxPoint(0, 185));
    m_encode = new FormEncode(this);
    m_encode->Show(false);
    // The design was read with the main window, before these two existed.
    _passDesignOn();
    if (DecorationsKnown(this))
        _placePlaylist();
    // A main window already hidden into the tray takes the playlist along.
    m_playlistInTray = m_inTray;
    m_playlist->Show(!m_inTray);

    m_store.Clear(PlaylistStore::Audio);
    m_store.ClearPlayed();
    m_lastFolder.clear();
    m_store.SetCurrentFile(wxString());
    m_store.SetLoop(false);
    m_controller.Reset();

    m_video = new FormVideo(this, *this);
    m_videoCtrl = new BrelkoCtrl(m_video);

    m_desktop.reset(new DesktopLink(*this));

    if (args.GetCount() > 1) {
        for (size_t i = 1; i < args.GetCount(); ++i)
            AddFile(args[i]);
        for (PlaylistStore::Kind kind : {PlaylistStore::Audio, PlaylistStore::Video, PlaylistStore::CD}) {
            if (!m_store.GetList(kind).IsEmpty()) {
                SetFile(m_store.GetList(kind)[0], true, true);
                break;
            }
        }
    }
}

FormMain* FormMain::Start(const wxString& executablePath, const wxArrayString& args)
{
    auto* form = new FormMain(executablePath, FirstShow::BeforeControls);
    form->SetIcon(AppIcon());
    form->CallAfter([form, args] {
        // A signal may have closed the window meanwhile.
        if (!wxTheApp->IsScheduledForDestruction(form))
            form->SecondInit(args);
    });
    return form;
}

void FormMain::SetSimpleDesign(const Design* design)
{
    if (!design)
        return;
    m_selectedDesign = design;
    m_panel->SetBackgroundColour(design->generalColor);
    m_panel->SetForegroundColour(design->generalColor);
    wxWindow* texts[] = {m_nameValue,     m_lengthValue, m_nameCaption, m_lengthCaption,
                         m_volumeCaption, m_loopBox,     m_randomBox};
    for (wxWindow* text : texts)
        text->SetForegroundColour(design->generalTxtColor);
    for (int id = ID_PREVIOUS; id <= ID_ENCODER; ++id) {
        m_buttons[id]->SetBackgroundColour(design->generalColor);
        bool labelled = id == ID_ADD_FILE || id == ID_ADD_FOLDER || id == ID_ENCODER;
        m_buttons[id]->SetDesignColours(*design, labelled);
    }
    _passDesignOn();
    Refresh(true);
}

void FormMain::_passDesignOn()
{
    if (!m_selectedDesign)
        return;
    if (m_playlist)
        m_playlist->SetSimpleDesign(m_selectedDesign);
    if (m_encode)
        m_encode->SetSimpleDesign(m_selectedDesign);
}

void FormMain::SetFileChooser(FileChooser chooser)
{
    s_fileChooser = std::move(chooser);
}

void FormMain::SetFolderChooser(FolderChooser chooser)
{
    s_folderChooser = std::move(chooser);
}

void FormMain::CheckLoopClick(wxCommandEvent& event)
{
    m_store.SetLoop(event.IsChecked());
    _desktopChanged();
}

void FormMain::CheckRandomClick(wxCommandEvent& event)
{
    m_store.SetRandom(event.IsChecked());
    _desktopChanged();
}

void FormMain::BtnPreviousClick(wxCommandEvent&)
{
    Execute(Command::Previous);
}

void FormMain::BtnPlayClick(wxCommandEvent&)
{
    Execute(Command::Play);
}

void FormMain::BtnPauseClick(wxCommandEvent&)
{
    Execute(Command::Pause);
}

void FormMain::BtnStopClick(wxCommandEvent&)
{
    Execute(Command::Stop);
}

void FormMain::BtnNextClick(wxCommandEvent&)
{
    Execute(Command::Next);
}

void FormMain::BtnAddFileClick(wxCommandEvent&)
{
    wxArrayString paths;
    bool chosen = false;
    if (s_fileChooser) {
        chosen = s_fileChooser(paths);
    } else {
        wxFileDialog dialog(
            this, "Choisissez un fichier", wxEmptyString, wxEmptyString,
            "All Media Files|*.mp3;*.wma;*.wav;*.avi;*.wmv;*.mkv|"
            "Audio Files (mp3, wma, wav)|*.mp3;*.wma; *.wav|"
            "Video Files (avi, wmv, mpg, mpeg, mp4, mkv)|*.avi; *.wmv;*.mpg;*.mpeg;*.mp4;*.mkv",
            wxFD_OPEN | wxFD_MULTIPLE, wxDefaultPosition, wxDefaultSize, "filedlg");
        chosen = dialog.ShowModal() == wxID_OK;
        if (chosen)
            dialog.GetPaths(paths);
    }
    if (!chosen)
        return;
    for (const wxString& path : paths)
        AddFile(path);
}

void FormMain::BtnAddFolderClick(wxCommandEvent&)
{
    wxString folder;
    bool chosen = false;
    if (s_folderChooser) {
        chosen = s_folderChooser(m_lastFolder, folder);
    } else {
        wxDirDialog dialog(this, "Choisissez un dossier", m_lastFolder,
                           wxCAPTION | wxSYSTEM_MENU | wxRESIZE_BORDER, wxDefaultPosition, wxDefaultSize,
                           "wxDirCtrl");
        chosen = dialog.ShowModal() == wxID_OK;
        if (chosen)
            folder = dialog.GetPath();
    }
    if (!chosen)
        return;
    m_lastFolder = folder;
    AddFolder(folder);
}

void FormMain::BtnEncoderClick(wxCommandEvent&)
{
    if (m_encode)
        m_encode->Show(true);
}

// The playlist's frame stands directly below the main window's frame, once
// the window manager has reported the decorations: wxGTK's frame rectangle
// includes them from then on.
void FormMain::_placePlaylist()
{
    wxRect frame = GetRect();
    m_playlist->Move(frame.x, frame.y + frame.height);
}

void FormMain::_onMove(wxMoveEvent& event)
{
    if (m_playlist) {
        // Until then (and with no window manager at all) the offsets the
        // layout was drawn with stay.
        wxPoint pos = event.GetPosition();
        if (DecorationsKnown(this))
            _placePlaylist();
        else
            m_playlist->Move(pos.x - 3, pos.y + 163);
    }
    event.Skip();
}

void FormMain::_onSize(wxSizeEvent& event)
{
    // The decorations arrive after the frame is first shown; the frame's
    // height changes with them.
    if (m_playlist && DecorationsKnown(this))
        _placePlaylist();
    event.Skip();
}

void FormMain::OnIconize(wxIconizeEvent& event)
{
    if (event.IsIconized()) {
        _setViewHidden(true);
        HideToTray();
    } else {
        RestoreFromTray();
    }
}

void FormMain::HideToTray()
{
    // Without a tray host the icon would be invisible and the window lost:
    // stay an ordinary minimised window then.
    if (!wxTaskBarIcon::IsAvailable() || m_inTray)
        return;
    m_inTray = true;
    _setViewHidden(true);
    Show(false);
    // The playlist goes with the main window, whatever the window manager
    // does with a transient window when its owner is minimised.
    m_playlistInTray = m_playlist && m_playlist->IsShown();
    if (m_playlistInTray)
        m_playlist->Show(false);
    SetWindowStyle(wxFRAME_NO_TASKBAR);
    m_taskBarIcon->SetIcon(AppIcon(), "Brelko's Player - " + m_displayedName);
}

void FormMain::RestoreFromTray()
{
    m_inTray = false;
    if (m_playlistInTray && m_playlist) {
        m_playlist->Show(true);
        // A window the window manager had minimised maps minimised again.
        m_playlist->Restore();
    }
    m_playlistInTray = false;
    Show(true);
    SetWindowStyle(kFrameStyle);
    m_taskBarIcon->RemoveIcon();
    Restore();
    _setViewHidden(false);
}

void FormMain::_onClose(wxCloseEvent&)
{
    Stop();
    m_taskBarIcon->RemoveIcon();
    wxTheApp->ExitMainLoop();
    Destroy();
}

void FormMain::OnKey(wxKeyEvent& event)
{
    Command command = CommandForKey(KeyWindow::Main, event.GetKeyCode());
    if (command == Command::None)
        event.Skip();
    else
        Execute(command);
}

void FormMain::HandleKey(int keyCode)
{
    Execute(CommandForKey(KeyWindow::Main, keyCode));
}

void FormMain::Execute(Command command)
{
    switch (command) {
    case Command::Play: PlayCommand(); break;
    case Command::Resume: Play(); break;
    case Command::PlayPause:
        if (GetPlayState() == Playing)
            Pause();
        else if (GetPlayState() == Paused)
            Play();
        break;
    case Command::Pause: Pause(); break;
    case Command::Stop: Stop(); break;
    case Command::Next: NextFile(); break;
    case Command::Previous: PreviousFile(); break;
    case Command::SeekForward: StepPosition(+kSeekStep); break;
    case Command::SeekBack: StepPosition(-kSeekStep); break;
    case Command::VolumeUp: StepVolume(+kVolumeStep); break;
    case Command::VolumeDown: StepVolume(-kVolumeStep); break;
    case Command::RemoveEntry: RemoveCurrentEntry(); break;
    // The video window's own; nothing else to do.
    case Command::FullScreen:
    case Command::LeaveFullScreen:
    case Command::None: break;
    }
    if (command == Command::SeekForward || command == Command::SeekBack)
        _desktopSeeked();
    _desktopChanged();
}

void FormMain::_desktopChanged()
{
    if (m_desktop)
        m_desktop->Changed();
}

void FormMain::_desktopSeeked()
{
    if (m_desktop)
        m_desktop->Seeked();
}

void FormMain::ShowFromTray()
{
    if (IsInTray() || IsIconized()) {
        wxIconizeEvent restore(0, false);
        restore.SetEventObject(this);
        GetEventHandler()->ProcessEvent(restore);
    }
}

} // namespace BrelkosPlayer
