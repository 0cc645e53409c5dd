#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dir.h>
#include <wx/evtloop.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "support/GuiTest.h"
#include "support/Watchdog.h"

namespace testing_support {

namespace {
std::vector<wxString>& TempFolders()
{
    static std::vector<wxString> folders;
    return folders;
}
} // namespace

bool WaitFor(const std::function<bool()>& predicate, int timeoutMs)
{
    wxLongLong deadline = wxGetLocalTimeMillis() + timeoutMs;
    while (!predicate()) {
        if (wxGetLocalTimeMillis() > deadline)
            return predicate();
        wxTheApp->Yield(true);
        wxTheApp->ProcessIdle();
        wxMilliSleep(2);
    }
    return true;
}

void Pump(int ms)
{
    wxLongLong deadline = wxGetLocalTimeMillis() + ms;
    do {
        wxTheApp->Yield(true);
        wxTheApp->ProcessIdle();
        wxMilliSleep(2);
    } while (wxGetLocalTimeMillis() < deadline);
}

wxString ExecutableFolder()
{
    return wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath(wxPATH_GET_VOLUME);
}

wxString DataFile(const wxString& name)
{
    return wxString(BRELKOS_TEST_DATA) + "/" + name;
}

wxString ReadLog()
{
    wxString text;
    wxFFile file(ExecutableFolder() + "/BrelkosPlayer.log", "rb");
    if (file.IsOpened())
        file.ReadAll(&text, wxConvUTF8);
    return text;
}

wxString TempFolder()
{
    wxString path = wxFileName::CreateTempFileName("brelkos-test");
    wxRemoveFile(path);
    wxFileName::Mkdir(path, 0700, wxPATH_MKDIR_FULL);
    TempFolders().push_back(path);
    return path;
}

wxImage CaptureWindow(wxWindow* window, wxRect rect)
{
    if (rect.IsEmpty())
        rect = wxRect(window->GetClientSize());
    wxBitmap bitmap(rect.GetSize(), 24);
    {
        wxClientDC shown(window);
        wxMemoryDC dc(bitmap);
        dc.Blit(0, 0, rect.width, rect.height, &shown, rect.x, rect.y);
    }
    return bitmap.ConvertToImage();
}

void SaveScreenshot(const wxImage& image, const wxString& name)
{
    if (const char* folder = std::getenv("BRELKOS_SCREENSHOTS"))
        image.SaveFile(wxString::FromUTF8(folder) + "/" + name, wxBITMAP_TYPE_PNG);
}

} // namespace testing_support

namespace {

// A test that hangs ends with every thread's stack instead of the runner's
// time-out. The soak test keeps its own, finer watchdog.
class HangWatch : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& test) override
    {
        if (std::string(test.test_suite_name()) != "SoakTest")
            m_watchdog = std::make_unique<testing_support::Watchdog>("test", kSeconds);
    }
    void OnTestEnd(const testing::TestInfo&) override { m_watchdog.reset(); }

private:
    static constexpr int kSeconds = 300;
    std::unique_ptr<testing_support::Watchdog> m_watchdog;
};

class TestApp : public wxApp {
public:
    bool OnInit() override
    {
        // A toolkit error shown as a modal message box would stop the test
        // run for good: write it to stderr instead.
        delete wxLog::SetActiveTarget(new wxLogStderr);
        return true;
    }
    int OnRun() override
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator activate(&loop);
        int result = RUN_ALL_TESTS();
        for (const wxString& folder : testing_support::TempFolders())
            wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
        return result;
    }
};

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests at build folders without a display: listing
    // starts no toolkit.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    testing::UnitTest::GetInstance()->listeners().Append(new HangWatch);
    wxApp::SetInstance(new TestApp);
    return wxEntry(argc, argv);
}
