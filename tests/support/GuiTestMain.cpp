#include <gtest/gtest.h>

#include <cstdlib>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/window.h>
#include <wx/dir.h>
#include <wx/evtloop.h>
#include <wx/ffile.h>
#include <wx/log.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>
#include <vector>

#include "support/GuiTest.h"

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
    wxApp::SetInstance(new TestApp);
    return wxEntry(argc, argv);
}
