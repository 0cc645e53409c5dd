// The installed program: this build installed by `cmake --install` into a
// staging folder (DESTDIR), then started from there as a user starts it, with
// its images and configuration in the data folder only (README, "Install").
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <grp.h>
#include <map>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wx/colour.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/time.h>
#include <wx/utils.h>

#include "support/GuiTest.h"

using namespace testing_support;

namespace {

// A design unlike the shipped ones, selected in the installed configuration:
// a window of its general colour has read it.
const char kProbeDesign[] = "name install-probe\n"
                            "GeneralColor #12AB34\n"
                            "GeneralTxtColor white\n"
                            "ListColor #12AB34\n"
                            "ListTxtColor white\n"
                            "BtnEnabledColor #C01070\n"
                            "BtnMouseOverColor #C01070\n"
                            "BtnDownColor #C01070\n"
                            "BtnDisabledColor #C01070\n"
                            "BtnEnabledColorTxt white\n"
                            "BtnMouseOverColorTxt white\n"
                            "BtnDownColorTxt white\n"
                            "BtnDisabledColorTxt white\n"
                            "\n"
                            "selected install-probe";

// Where FormMain puts the transport buttons (40 x 40 from y 32).
const int kTransportX[] = {0, 40, 80, 120, 160};

int CountColour(const wxImage& image, const wxRect& rect, const wxColour& colour)
{
    int count = 0;
    for (int y = rect.y; y < rect.GetBottom() + 1; ++y)
        for (int x = rect.x; x < rect.GetRight() + 1; ++x)
            count += wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)) == colour;
    return count;
}

wxColour MostCommonColour(const wxImage& image, const wxRect& rect)
{
    std::map<unsigned long, int> counts;
    for (int y = rect.y; y < rect.GetBottom() + 1; ++y)
        for (int x = rect.x; x < rect.GetRight() + 1; ++x)
            ++counts[(image.GetRed(x, y) << 16) | (image.GetGreen(x, y) << 8) | image.GetBlue(x, y)];
    auto most = counts.begin();
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it->second > most->second)
            most = it;
    return wxColour((most->first >> 16) & 0xff, (most->first >> 8) & 0xff, most->first & 0xff);
}

// Pixels in the middle of a transport button that are not its face: a button
// without its image is its face alone there.
int ProbeColourPixels(const wxImage& image)
{
    return CountColour(image, wxRect(image.GetSize()), wxColour(0x12, 0xAB, 0x34));
}

int ImagePixels(const wxImage& image, int buttonX)
{
    const wxColour face = MostCommonColour(image, wxRect(buttonX, 32, 40, 40));
    const wxRect middle(buttonX + 8, 40, 24, 24);
    return middle.width * middle.height - CountColour(image, middle, face);
}

bool WaitForExit(pid_t pid, int timeoutMs)
{
    wxLongLong deadline = wxGetLocalTimeMillis() + timeoutMs;
    int status = 0;
    while (wxGetLocalTimeMillis() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return true;
        wxMilliSleep(10);
    }
    return false;
}

wxString ReadFile(const wxString& path)
{
    wxString text;
    wxFFile file(path, "rb");
    if (file.IsOpened())
        file.ReadAll(&text, wxConvUTF8);
    return text;
}

bool CopyOwned(const wxString& from, const wxString& to, const passwd* owner)
{
    return wxCopyFile(from, to) && chmod(to.fn_str(), 0600) == 0 &&
           chown(to.fn_str(), owner->pw_uid, owner->pw_gid) == 0;
}

class InstallTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_stage = TempFolder();
        m_home = TempFolder();
        wxExecuteEnv env;
        wxGetEnvMap(&env.env);
        env.env["DESTDIR"] = m_stage;
        wxArrayString output;
        wxArrayString errors;
        long code = wxExecute(
            wxString::Format("\"%s\" --install \"%s\" --prefix /usr/local", BRELKOS_CMAKE, BRELKOS_BUILD_DIR),
            output, errors, wxEXEC_SYNC, &env);
        ASSERT_EQ(code, 0) << wxJoin(errors, '\n');
        ASSERT_TRUE(wxFileExists(Bin() + "/BrelkosPlayer"));
        ASSERT_FALSE(wxDirExists(Bin() + "/rsc")) << "the images must come from the data folder";

        wxString config = Data() + "/BrelkosPlayer.cfg";
        wxString text = ReadFile(config);
        int selected = text.Find("\nselected ");
        ASSERT_NE(selected, wxNOT_FOUND) << config;
        size_t end = text.find('\n', selected + 1);
        text = text.Left(selected + 1) + kProbeDesign + (end == wxString::npos ? "" : text.Mid(end));
        wxFFile file(config, "wb");
        ASSERT_TRUE(file.IsOpened() && file.Write(text, wxConvUTF8));
    }

    void TearDown() override
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            WaitForExit(m_pid, 5000);
        }
        // The staged folders must be removable again.
        chmod(Bin().fn_str(), 0755);
    }

    wxString Bin() const { return m_stage + "/usr/local/bin"; }
    wxString Data() const { return m_stage + "/usr/local/share/brelkosplayer"; }
    wxString StateLog() const { return m_home + "/.local/state/brelkosplayer/BrelkosPlayer.log"; }

    // Makes the staged install and the home reachable by that user, and gives
    // the user what the X server and GStreamer ask of it.
    bool PrepareFor(const passwd* user)
    {
        m_runtime = m_home + "/runtime";
        if (!wxFileName::Mkdir(m_runtime, 0700))
            return false;
        for (const wxString& folder : {m_stage, m_home})
            if (chmod(folder.fn_str(), 0755) != 0)
                return false;
        if (!user)
            return true;
        for (const wxString& folder : {m_home, m_runtime})
            if (chown(folder.fn_str(), user->pw_uid, user->pw_gid) != 0)
                return false;
        wxString path;
        if (wxGetEnv("XAUTHORITY", &path) && wxFileExists(path)) {
            m_xauthority = m_home + "/.Xauthority";
            if (!CopyOwned(path, m_xauthority, user))
                return false;
        }
        if (wxGetEnv("GST_REGISTRY", &path) && wxFileExists(path)) {
            m_registry = m_home + "/registry.bin";
            if (!CopyOwned(path, m_registry, user))
                return false;
        }
        return true;
    }

    // Starts the installed program from another folder, as the given user
    // (null: this test's own).
    void Start(const passwd* user)
    {
        ASSERT_TRUE(PrepareFor(user));
        std::string program((Bin() + "/BrelkosPlayer").fn_str());
        std::string home(m_home.fn_str());
        std::string runtime(m_runtime.fn_str());
        std::string xauthority(m_xauthority.fn_str());
        std::string registry(m_registry.fn_str());
        m_pid = fork();
        if (m_pid == 0) {
            setenv("HOME", home.c_str(), 1);
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
            unsetenv("XDG_STATE_HOME");
            if (!xauthority.empty())
                setenv("XAUTHORITY", xauthority.c_str(), 1);
            if (!registry.empty())
                setenv("GST_REGISTRY", registry.c_str(), 1);
            if (user &&
                (setgroups(0, nullptr) != 0 || setgid(user->pw_gid) != 0 || setuid(user->pw_uid) != 0))
                _exit(125);
            if (chdir(home.c_str()) != 0)
                _exit(126);
            execl(program.c_str(), "BrelkosPlayer", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(m_pid, 0);
    }

    // The main window shows the probe design and every transport image.
    void ExpectConfigurationAndImages()
    {
        wxArrayString output;
        wxExecute("timeout 10 xdotool search --sync --onlyvisible --name \"^Brelko's Player$\"", output,
                  wxEXEC_SYNC);
        unsigned long window = 0;
        ASSERT_FALSE(output.IsEmpty()) << "no main window";
        ASSERT_TRUE(output[0].ToULong(&window));
        wxImage shot;
        auto shown = [&] {
            shot = CaptureXWindow(window);
            if (shot.GetWidth() < 200 || shot.GetHeight() < 72)
                return false;
            for (int x : kTransportX)
                if (ImagePixels(shot, x) < 40)
                    return false;
            return ProbeColourPixels(shot) * 4 > shot.GetWidth() * shot.GetHeight();
        };
        bool ok = WaitFor(shown, 10000);
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler);
        SaveScreenshot(shot, "installed-main-window.png");
        ASSERT_TRUE(ok) << "design colour pixels " << ProbeColourPixels(shot) << " of "
                        << shot.GetWidth() * shot.GetHeight() << ", play image pixels "
                        << (shot.GetWidth() >= 80 ? ImagePixels(shot, 40) : 0);
    }

    // Ends the program as a session's end does, so it logs its way out.
    void Stop()
    {
        ASSERT_EQ(kill(m_pid, SIGTERM), 0);
        ASSERT_TRUE(WaitForExit(m_pid, 10000)) << "still running";
        m_pid = 0;
    }

    wxString m_stage;
    wxString m_home;
    wxString m_runtime;
    wxString m_xauthority;
    wxString m_registry;
    pid_t m_pid = 0;
};

const char kExitLine[] = "ERROR : FormMain :: Stop - Player thread null";

TEST_F(InstallTest, RunsFromTheStagedInstallAndLogsBesideItself)
{
    Start(nullptr);
    ExpectConfigurationAndImages();
    Stop();
    EXPECT_NE(ReadFile(Bin() + "/BrelkosPlayer.log").Find(kExitLine), wxNOT_FOUND);
    EXPECT_FALSE(wxFileExists(StateLog()));
}

TEST_F(InstallTest, LogsInTheStateFolderWhenItsOwnFolderIsNotWritable)
{
    // Root writes anywhere: the program runs as an ordinary user instead.
    const passwd* user = nullptr;
    if (geteuid() == 0) {
        user = getpwnam("nobody");
        if (!user)
            GTEST_SKIP() << "running as root and there is no user \"nobody\" to run the program as";
    } else {
        ASSERT_EQ(chmod(Bin().fn_str(), 0555), 0);
    }
    Start(user);
    ExpectConfigurationAndImages();
    Stop();
    EXPECT_NE(ReadFile(StateLog()).Find(kExitLine), wxNOT_FOUND);
    EXPECT_FALSE(wxFileExists(Bin() + "/BrelkosPlayer.log"));
}

} // namespace
