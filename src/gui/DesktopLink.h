// The main window as the desktop's media controls see it, and the MPRIS
// service that publishes it on the session bus. Requests take the way of the
// matching button, box or slider of the main window (or of the video window,
// for a video's position). Made by the main window, on the GUI thread.
#pragma once

#include <memory>

#include "desktop/DesktopPlayer.h"

class wxWindow;

namespace BrelkosPlayer {

class FormMain;
class MprisService;

class DesktopLink : public DesktopPlayer {
public:
    explicit DesktopLink(FormMain& main);
    ~DesktopLink();

    // Something the media controls show may have changed.
    void Changed();
    // The main window's position slider moved the medium.
    void Seeked();

    DesktopStatus GetStatus() const override;
    int64_t GetPositionUs() const override;
    void Execute(Command command) override;
    void SetLoop(bool loop) override;
    void SetRandom(bool random) override;
    void SetVolume(int volume) override;
    void SetPositionUs(int64_t position) override;
    void OpenFile(const wxString& path) override;
    void Raise() override;
    void Quit() override;

private:
    FormMain& m_main;
    std::unique_ptr<MprisService> m_service;
};

} // namespace BrelkosPlayer
