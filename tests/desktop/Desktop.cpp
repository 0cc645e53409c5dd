#include "desktop/Desktop.h"

#include <cstdio>
#include <future>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/toplevel.h>

#include "support/GuiTest.h"

namespace desktop {

wxString Run(const wxString& command, int* exitCode)
{
    // popen on a worker: the GUI must keep answering the window manager
    // while the command waits on it.
    auto result = std::async(std::launch::async, [cmd = std::string(command.utf8_str())] {
        std::string out;
        int status = -1;
        if (FILE* pipe = popen(cmd.c_str(), "r")) {
            char buffer[4096];
            size_t n;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
                out.append(buffer, n);
            status = pclose(pipe);
        }
        return std::make_pair(out, status);
    });
    testing_support::WaitFor(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 30000);
    auto [out, status] = result.get();
    if (exitCode)
        *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    wxString text = wxString::FromUTF8(out);
    if (text.EndsWith("\n"))
        text.RemoveLast();
    return text;
}

unsigned long XWindow(wxTopLevelWindow* window)
{
    GdkWindow* gdk = gtk_widget_get_window(window->GetHandle());
    return gdk ? GDK_WINDOW_XID(gdk) : 0;
}

wxRect FrameRect(wxTopLevelWindow* window)
{
    unsigned long id = XWindow(window);
    if (!id || !window->IsShown())
        return wxRect();
    wxString geometry = Run(wxString::Format("xwininfo -id %lu | awk '/Absolute upper-left X/{x=$4} "
                                             "/Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} "
                                             "/Map State:/{m=$3} END{print x, y, w, h, m}'",
                                             id));
    wxString extents = Run(wxString::Format("xprop -id %lu _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'", id));
    long x = 0, y = 0, w = 0, h = 0, left = 0, right = 0, top = 0, bottom = 0;
    char state[32] = "";
    if (std::sscanf(geometry.utf8_str(), "%ld %ld %ld %ld %31s", &x, &y, &w, &h, state) != 5 ||
        wxString(state) != "IsViewable")
        return wxRect();
    std::sscanf(extents.utf8_str(), "%ld %ld %ld %ld", &left, &right, &top, &bottom);
    return wxRect(x - left, y - top, w + left + right, h + top + bottom);
}

bool Activate(wxTopLevelWindow* window)
{
    Run(wxString::Format("xdotool windowactivate %lu", XWindow(window)));
    return testing_support::WaitFor([window] { return window->IsActive(); }, 5000);
}

void PressKeys(const wxString& keys)
{
    Run("xdotool key --delay 30 " + keys);
    testing_support::Pump(100);
}

} // namespace desktop
