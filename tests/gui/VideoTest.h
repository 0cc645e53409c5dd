// The video tests' fixture: the real main window (with its video window and
// control), the console captured, and the notifications the control passes on
// to the main window counted.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <wx/mediactrl.h>

#include "gui/BrelkoCtrl.h"
#include "gui/FormMain.h"
#include "gui/FormVideo.h"
#include "gui/VideoPlayer.h"
#include "support/GuiTest.h"

namespace video_test {

using namespace BrelkosPlayer;

class VideoTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_main = testing_support::CreateMainWindow();
        ASSERT_NE(m_main, nullptr);
        m_video = testing_support::VideoWindow();
        m_ctrl = testing_support::VideoControl();
        ASSERT_NE(m_video, nullptr);
        ASSERT_NE(m_ctrl, nullptr);
        // Bound after the main window's handlers, so called before them.
        m_ctrl->Bind(wxEVT_MEDIA_LOADED, [this](wxMediaEvent& event) {
            ++m_loadedNotifications;
            event.Skip();
        });
        m_ctrl->Bind(wxEVT_MEDIA_STOP, [this](wxMediaEvent& event) {
            ++m_stopNotifications;
            event.Skip();
        });
        testing::internal::CaptureStdout();
    }

    void TearDown() override
    {
        // gtest reports failures on the standard output too: give them back.
        std::string rest = testing::internal::GetCapturedStdout();
        if (HasFailure())
            std::fprintf(stderr, "%s%s", m_console.c_str(), rest.c_str());
        testing_support::CloseMainWindow();
    }

    // Everything written to the console since the test began.
    const std::string& Console()
    {
        m_console += testing::internal::GetCapturedStdout();
        testing::internal::CaptureStdout();
        return m_console;
    }

    static size_t Count(const std::string& text, const std::string& part)
    {
        size_t count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
            ++count;
        return count;
    }

    // Waits, reading the console now and then, until it holds the text.
    bool WaitForConsole(const std::string& part, size_t from = 0, int timeoutMs = 5000)
    {
        wxLongLong next = 0;
        return testing_support::WaitFor(
            [&] {
                if (wxGetLocalTimeMillis() < next)
                    return false;
                next = wxGetLocalTimeMillis() + 40;
                return Console().find(part, from) != std::string::npos;
            },
            timeoutMs);
    }

    bool IsPlaying() { return m_ctrl->GetState() == wxMEDIASTATE_PLAYING && m_video->IsShown(); }

    // The main window's current player plays in the video window.
    bool VideoMode() const { return m_video->GetPlayer() && m_main->GetPlayer() == m_video->GetPlayer(); }
    // That player's video played to its end.
    bool VideoEnded() const { return VideoMode() && m_video->GetPlayer()->HasEnded(); }

    // Starts a video the way a double-click in the playlist does and waits
    // until it plays in its window.
    bool StartVideo(const wxString& path)
    {
        if (m_main->GetPlayer())
            m_main->Stop();
        m_main->SetFile(path, true, true);
        return testing_support::WaitFor([this] { return IsPlaying(); }, 10000);
    }

    FormMain* m_main = nullptr;
    FormVideo* m_video = nullptr;
    BrelkoCtrl* m_ctrl = nullptr;
    int m_loadedNotifications = 0;
    int m_stopNotifications = 0;
    std::string m_console;
};

} // namespace video_test
