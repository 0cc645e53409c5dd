#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
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

// Last: Xlib defines macros (None, Status, Bool) that other headers use as names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

// Xlib is loaded with the toolkit; its calls are looked up so the tests need
// not link it.
wxImage CaptureXWindow(unsigned long window, wxRect rect)
{
    using OpenFn = Display* (*)(const char*);
    using CloseFn = int (*)(Display*);
    using GeometryFn =
        Status (*)(Display*, Drawable, Window*, int*, int*, unsigned*, unsigned*, unsigned*, unsigned*);
    using GetImageFn = XImage* (*)(Display*, Drawable, int, int, unsigned, unsigned, unsigned long, int);
    static auto open = reinterpret_cast<OpenFn>(dlsym(RTLD_DEFAULT, "XOpenDisplay"));
    static auto close = reinterpret_cast<CloseFn>(dlsym(RTLD_DEFAULT, "XCloseDisplay"));
    static auto geometry = reinterpret_cast<GeometryFn>(dlsym(RTLD_DEFAULT, "XGetGeometry"));
    static auto getImage = reinterpret_cast<GetImageFn>(dlsym(RTLD_DEFAULT, "XGetImage"));
    Display* display = open && close && geometry && getImage ? open(nullptr) : nullptr;
    if (!display)
        return wxImage(std::max(rect.width, 1), std::max(rect.height, 1));
    Drawable drawable = window ? window : DefaultRootWindow(display);
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    if (geometry(display, drawable, &root, &x, &y, &width, &height, &border, &depth)) {
        wxRect whole(0, 0, static_cast<int>(width), static_cast<int>(height));
        rect = rect.IsEmpty() ? whole : rect.Intersect(whole);
    }
    wxImage image(std::max(rect.width, 1), std::max(rect.height, 1));
    XImage* grabbed = rect.IsEmpty() ? nullptr
                                     : getImage(display, drawable, rect.x, rect.y, rect.width, rect.height,
                                                AllPlanes, ZPixmap);
    if (grabbed) {
        for (int row = 0; row < rect.height; ++row)
            for (int column = 0; column < rect.width; ++column) {
                unsigned long pixel = XGetPixel(grabbed, column, row);
                image.SetRGB(column, row, (pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff);
            }
        XDestroyImage(grabbed);
    }
    close(display);
    return image;
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
