// What the toolkit says while the main window comes up: nothing.
#include <gtest/gtest.h>

#include <glib.h>
#include <wx/arrstr.h>

#include "desktop/Desktop.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

// GTK logs through GLib's structured writer; the writer can be set only once
// in a process, so it stays and collects only while a list is given.
wxArrayString* s_collected = nullptr;

GLogWriterOutput Collect(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data)
{
    if (s_collected && (level & (G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL))) {
        wxString domain, message;
        for (gsize i = 0; i < count; ++i) {
            // Text fields are null-terminated (length -1).
            wxString key = fields[i].key;
            wxString value = fields[i].length < 0 ? static_cast<const char*>(fields[i].value) : "";
            if (key == "GLIB_DOMAIN")
                domain = value;
            else if (key == "MESSAGE")
                message = value;
        }
        if (domain == "Gtk" || domain == "Gdk")
            s_collected->Add(domain + ": " + message);
    }
    return g_log_writer_default(level, fields, count, data);
}

TEST(ToolkitWarningTest, StartingTheMainWindowPrintsNoToolkitWarning)
{
    static bool installed = false;
    if (!installed)
        g_log_set_writer_func(Collect, nullptr, nullptr);
    installed = true;
    wxArrayString messages;
    s_collected = &messages;

    FormMain* form = CreateMainWindow();
    EXPECT_TRUE(WaitFor([&] {
        return !desktop::FrameRect(form).IsEmpty() && !desktop::FrameRect(PlaylistWindow()).IsEmpty();
    }));
    CloseMainWindow();

    s_collected = nullptr;
    EXPECT_TRUE(messages.IsEmpty()) << messages.GetCount() << " messages, the first: " << messages[0];
}

} // namespace
