// Real videos (tests/data/clip.*, 2 s, 160x120) played by the main window
// through the video control, under Xvfb with the X image sink.
#include <cstdlib>
#include <wx/ffile.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/slider.h>

#include "VideoTest.h"

namespace video_test {
namespace {

using testing_support::DataFile;
using testing_support::Pump;
using testing_support::ReadLog;
using testing_support::WaitFor;

class VideoPlaybackTest : public VideoTest {
protected:
    // The control stays where it is: stopped, at the end, for a while.
    bool StaysAtTheEnd()
    {
        wxFileOffset end = m_ctrl->Tell();
        return !WaitFor(
            [&] { return m_ctrl->GetState() != wxMEDIASTATE_STOPPED || m_ctrl->Tell() < end - 100; }, 400);
    }

    void Scroll(wxSlider* slider, int value, wxEventType type = wxEVT_SCROLL_THUMBRELEASE)
    {
        slider->SetValue(value);
        wxScrollEvent event(type, slider->GetId(), value, wxHORIZONTAL);
        event.SetEventObject(slider);
        slider->GetEventHandler()->ProcessEvent(event);
    }
};

TEST_F(VideoPlaybackTest, EveryVideoKindLoadsSizesItsWindowAndPlaysToItsEnd)
{
    for (const char* ext : {"wmv", "avi", "mpg", "mpeg", "mp4", "divx", "mkv"}) {
        SCOPED_TRACE(ext);
        wxString path = DataFile(wxString("clip.") + ext);
        size_t from = Console().size();
        int loaded = m_loadedNotifications;
        int stops = m_stopNotifications;

        ASSERT_TRUE(StartVideo(path));
        EXPECT_TRUE(VideoMode());
        EXPECT_EQ(m_main->GetFileState(), FileLoaded);
        EXPECT_EQ(m_main->GetPlayState(), Playing);
        EXPECT_EQ(m_main->GetTitle(), "Brelko's Player - clip");
        EXPECT_EQ(m_loadedNotifications, loaded + 1);
        EXPECT_GT(m_ctrl->Length(), 1500);
        EXPECT_GT(m_video->GetVideoWidth(), 0);
        EXPECT_EQ(wxSize(m_video->GetVideoWidth(), m_video->GetVideoHeight()), m_video->GetClientSize());

        ASSERT_TRUE(WaitFor([this] { return VideoEnded(); }, 10000));
        EXPECT_GE(m_ctrl->Tell(), m_ctrl->Length() - 100);
        EXPECT_TRUE(StaysAtTheEnd());
        EXPECT_TRUE(m_video->IsShown()) << "an ended video stays on its last frame";
        EXPECT_EQ(m_stopNotifications, stops + 1);

        std::string console = Console().substr(from);
        EXPECT_EQ(Count(console, "FormMain :: LoadFile - Video\n"), 1u);
        EXPECT_EQ(Count(console, "FormMain :: SetFile - Loaded\n"), 1u);
        EXPECT_EQ(Count(console, "FormMain :: _onMediaLoaded\n"), 1u);
        EXPECT_EQ(Count(console, "coin !\n"), 3u);
        EXPECT_EQ(Count(console, "FormMain :: _onMediaStop\n"), 1u);
        EXPECT_EQ(Count(console, "Can't load"), 0u);
    }
}

TEST_F(VideoPlaybackTest, PauseResumeAndStopFromTheVideoWindow)
{
    ASSERT_TRUE(StartVideo(DataFile("clip.mkv")));
    wxKeyEvent space(wxEVT_CHAR_HOOK);
    space.m_keyCode = WXK_SPACE;
    m_video->GetEventHandler()->ProcessEvent(space);
    EXPECT_EQ(m_main->GetPlayState(), Paused);
    ASSERT_TRUE(WaitFor([this] { return m_ctrl->GetState() == wxMEDIASTATE_PAUSED; }));
    wxFileOffset paused = m_ctrl->Tell();
    EXPECT_FALSE(WaitFor([&] { return m_ctrl->Tell() > paused + 100; }, 400))
        << "a paused video does not advance";

    wxCommandEvent play(wxEVT_BUTTON, ID_VIDEO_PLAY);
    m_video->GetEventHandler()->ProcessEvent(play);
    EXPECT_EQ(m_main->GetPlayState(), Playing);
    EXPECT_TRUE(WaitFor([&] { return m_ctrl->Tell() > paused + 200; }));

    wxCommandEvent stop(wxEVT_BUTTON, ID_VIDEO_STOP);
    m_video->GetEventHandler()->ProcessEvent(stop);
    EXPECT_EQ(m_main->GetPlayState(), Stopped);
    EXPECT_EQ(m_main->GetFileState(), NoFile);
    EXPECT_FALSE(m_video->IsShown());
    EXPECT_TRUE(WaitFor([this] { return m_ctrl->GetState() == wxMEDIASTATE_STOPPED; }));
    // Our own stop is neither an end nor a failure.
    EXPECT_FALSE(WaitFor([this] { return m_stopNotifications > 0; }, 400));
    EXPECT_FALSE(VideoEnded());
}

TEST_F(VideoPlaybackTest, UnplayableVideosAreTracedAndTheNextOnePlays)
{
    wxString empty = testing_support::TempFolder() + "/empty.mp4";
    wxFFile(empty, "wb").Close();
    struct Case {
        const char* what;
        wxString path;
        bool afterVideo; // something played before
    };
    const Case cases[] = {
        {"missing", DataFile("missing.avi"), false},
        {"broken", DataFile("broken.avi"), false},
        {"empty", empty, false},
        {"broken after a video", DataFile("broken.avi"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.afterVideo) {
            ASSERT_TRUE(StartVideo(DataFile("clip.avi")));
        }
        size_t from = Console().size();
        if (VideoMode())
            m_main->Stop();
        m_main->SetFile(c.path, true, true);
        // Usually reported at once; sometimes only found out by the control's deadline.
        ASSERT_TRUE(WaitForConsole("Can't load " + std::string(c.path.utf8_str()) + "\n", from,
                                   BrelkoCtrl::kLoadTimeoutMs + 5000));
        EXPECT_FALSE(VideoMode());
        EXPECT_FALSE(m_video->IsShown());
        EXPECT_NE(m_main->GetPlayState(), Playing);
        EXPECT_NE(m_main->GetFileState(), FileLoaded);

        ASSERT_TRUE(StartVideo(DataFile("clip.mp4")));
        EXPECT_TRUE(VideoMode());
        EXPECT_EQ(Count(Console().substr(from), "Can't load"), 1u);
        m_main->Stop();
    }
}

TEST_F(VideoPlaybackTest, AnUnplayableVideoIsFollowedByTheDecodersReason)
{
    struct Case {
        wxString path;
        const char* reason; // null: the demuxer's words, whatever they are
    };
    wxString empty = testing_support::TempFolder() + "/empty.mkv";
    wxFFile(empty, "wb").Close();
    const Case cases[] = {{DataFile("broken.avi"), nullptr}, {empty, "The file is empty."}};
    const std::string prefix = "ERROR : VideoPlayer :: Load - Reason: ";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        size_t from = Console().size();
        const std::string failure = "Can't load " + std::string(c.path.utf8_str()) + "\n";
        m_main->SetFile(c.path, true, true);
        ASSERT_TRUE(WaitForConsole(failure, from, BrelkoCtrl::kLoadTimeoutMs + 5000));
        // The reason is the very next line, in the log as well.
        size_t next = Console().find(failure, from) + failure.size();
        std::string line = Console().substr(next, Console().find('\n', next) - next);
        ASSERT_EQ(line.compare(0, prefix.size(), prefix), 0) << line;
        if (c.reason)
            EXPECT_EQ(line, prefix + c.reason);
        else
            EXPECT_GT(line.size(), prefix.size());
        EXPECT_NE(ReadLog().Find(wxString::FromUTF8(line)), wxNOT_FOUND);
        m_main->Stop();
    }
}

TEST_F(VideoPlaybackTest, SwitchingVideosReportsNothingOfThePreviousOne)
{
    ASSERT_TRUE(StartVideo(DataFile("clip.avi")));
    // Stop and start the next at once, as the next button does.
    ASSERT_TRUE(StartVideo(DataFile("clip.mp4")));
    // And the next again before that one has even loaded.
    m_main->Stop();
    m_main->SetFile(DataFile("clip.wmv"), true, true);
    ASSERT_TRUE(StartVideo(DataFile("clip.mkv")));
    EXPECT_FALSE(WaitFor([this] { return m_stopNotifications > 0; }, 300));
    EXPECT_EQ(Count(Console(), "Can't load"), 0u);
    EXPECT_EQ(m_ctrl->GetPath(), DataFile("clip.mkv"));
}

TEST_F(VideoPlaybackTest, NewsFromAVideoPlayerAlreadyLetGoIsDropped)
{
    ASSERT_TRUE(StartVideo(DataFile("clip.avi")));
    unsigned long old = m_main->GetPlayer()->GetSerial();
    ASSERT_TRUE(StartVideo(DataFile("clip.mp4")));
    m_main->Pause();
    // The first video's failure and readiness, arriving after the next one took over.
    m_main->EndOfMedia(old);
    m_main->MediaReady(old);
    Pump(50);
    EXPECT_TRUE(VideoMode());
    EXPECT_TRUE(m_video->IsShown());
    EXPECT_EQ(m_main->GetPlayState(), Paused);
    EXPECT_EQ(m_main->GetFileState(), FileLoaded);
}

TEST_F(VideoPlaybackTest, BackToBackLoadsReportOnlyTheLastMedium)
{
    // The back end answers each load once; a second one asked for before that
    // answer must still be answered, and the first one's fate not reported.
    ASSERT_TRUE(m_ctrl->Load(DataFile("broken.avi")));
    ASSERT_TRUE(m_ctrl->Load(DataFile("clip.avi")));
    EXPECT_TRUE(WaitFor([this] { return m_ctrl->IsReady(); }));
    EXPECT_EQ(m_stopNotifications, 0);
    EXPECT_EQ(m_loadedNotifications, 1);

    ASSERT_TRUE(m_ctrl->Load(DataFile("clip.avi")));
    ASSERT_TRUE(m_ctrl->Load(DataFile("broken.avi")));
    EXPECT_TRUE(WaitFor([this] { return m_ctrl->HasFailed(); }, BrelkoCtrl::kLoadTimeoutMs + 5000));
    EXPECT_EQ(m_stopNotifications, 1);
    EXPECT_EQ(m_loadedNotifications, 1);
}

TEST_F(VideoPlaybackTest, TheSliderFollowsTheVideoAndSeeksIt)
{
    wxSlider* slider = m_video->GetPositionSlider();
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(StartVideo(DataFile("clip.avi")));
    EXPECT_TRUE(WaitFor([slider] { return slider->GetValue() >= 250; }));

    m_main->Pause();
    ASSERT_TRUE(WaitFor([this] { return m_ctrl->GetState() == wxMEDIASTATE_PAUSED; }));
    Scroll(slider, 750);
    wxFileOffset target = m_ctrl->Length() * 3 / 4;
    EXPECT_TRUE(WaitFor([&] { return std::abs(long(m_ctrl->Tell() - target)) < 80; }));
    EXPECT_TRUE(WaitFor([slider] { return std::abs(slider->GetValue() - 750) <= 40; }));
}

TEST_F(VideoPlaybackTest, SeekingBackFromTheEndPlaysAgainAndStopStopsIt)
{
    ASSERT_TRUE(StartVideo(DataFile("clip.avi")));
    ASSERT_TRUE(WaitFor([this] { return VideoEnded(); }, 10000));
    EXPECT_TRUE(WaitFor([this] { return m_video->GetPositionSlider()->GetValue() >= 950; }));
    Scroll(m_video->GetPositionSlider(), 100);
    EXPECT_FALSE(VideoEnded());
    EXPECT_TRUE(WaitFor([this] { return m_ctrl->GetState() == wxMEDIASTATE_PLAYING; }));
    m_main->Stop();
    EXPECT_FALSE(m_video->IsShown());
    EXPECT_TRUE(WaitFor([this] { return m_ctrl->GetState() == wxMEDIASTATE_STOPPED; }));
    // And when it ends again, that end is reported too.
    ASSERT_TRUE(StartVideo(DataFile("clip.avi")));
    EXPECT_TRUE(WaitFor([this] { return VideoEnded(); }, 10000));
}

TEST_F(VideoPlaybackTest, ClosingTheWindowStopsTheVideoAndKeepsTheWindow)
{
    ASSERT_TRUE(StartVideo(DataFile("clip.divx")));
    m_video->SetFullScreenMode(true);
    EXPECT_FALSE(m_video->Close()) << "the close is refused: the window stays";
    EXPECT_FALSE(m_video->IsShown());
    EXPECT_FALSE(m_video->IsFullScreenMode());
    EXPECT_EQ(testing_support::VideoWindow(), m_video);
    EXPECT_EQ(m_main->GetPlayState(), Stopped);
    EXPECT_TRUE(WaitFor([this] { return m_ctrl->GetState() == wxMEDIASTATE_STOPPED; }));
    ASSERT_TRUE(StartVideo(DataFile("clip.mpg")));
    EXPECT_EQ(testing_support::VideoWindow(), m_video);
}

TEST_F(VideoPlaybackTest, APlayWithoutAnswerIsIssuedAgain)
{
    // Nothing loaded: the back end cannot answer, as when the sink loses a Play.
    m_ctrl->Play();
    EXPECT_TRUE(WaitFor([this] { return m_ctrl->GetPlayRetries() >= 1; }, BrelkoCtrl::kRetryMs * 3));
    EXPECT_NE(ReadLog().Find("BrelkoCtrl :: Play - Retry"), wxNOT_FOUND);
    m_ctrl->Stop();
}

wxImage CaptureScreen(const wxRect& rect)
{
    return testing_support::CaptureXWindow(0, rect);
}

// Counts the pixels of the picture that are lit (the test clip is a white
// ball on black).
int LitPixels(const wxImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.GetHeight(); y += 2)
        for (int x = 0; x < image.GetWidth(); x += 2)
            lit += image.GetRed(x, y) > 128 && image.GetGreen(x, y) > 128;
    return lit;
}

TEST_F(VideoPlaybackTest, ThePictureAndTheFullScreenControlsReachTheScreen)
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    ASSERT_TRUE(StartVideo(DataFile("clip.mp4")));
    m_video->Raise();
    wxImage windowed;
    EXPECT_TRUE(WaitFor([&] {
        windowed = CaptureScreen(m_video->GetScreenRect());
        return LitPixels(windowed) > 50;
    }));

    m_video->SetFullScreenMode(true);
    wxPanel* panel = m_video->GetControlsPanel();
    ASSERT_TRUE(panel->IsShown());
    // The panel's top rows lie on the picture (4:3 on the 5:4 display): frames
    // must not paint over them.
    wxRect panelTop = panel->GetScreenRect();
    panelTop.height = 5;
    wxImage full;
    // The picture fills the display and the panel stays drawn over it while
    // frames keep coming (looked at a while after the motion that showed it).
    wxLongLong moved = 0;
    EXPECT_TRUE(WaitFor([&] {
        if (!panel->IsShown() || moved == 0) {
            wxMouseEvent motion(wxEVT_MOTION);
            m_ctrl->GetEventHandler()->ProcessEvent(motion);
            moved = wxGetLocalTimeMillis();
        }
        if (wxGetLocalTimeMillis() - moved < FormVideo::kHideMs / 3)
            return false;
        full = CaptureScreen(m_video->GetScreenRect());
        return LitPixels(full) > 5000 && LitPixels(CaptureScreen(panelTop)) > 300;
    }));

    testing_support::SaveScreenshot(windowed, "video-window.png");
    testing_support::SaveScreenshot(full, "video-fullscreen.png");
}

} // namespace
} // namespace video_test
