// The player driven from the session bus the way media keys and the shell's
// media panel drive it (playerctl), in a bus of the test's own
// (dbus-run-session, test-env.sh --bus).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <gio/gio.h>
#include <string>
#include <vector>
#include <wx/checkbox.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/tokenzr.h>

#include "desktop/Desktop.h"
#include "gui/BrelkoCtrl.h"
#include "gui/FormMain.h"
#include "gui/FormVideo.h"
#include "gui/VideoPlayer.h"
#include "playback/Player.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using testing_support::Pump;
using testing_support::WaitFor;

namespace {

wxString Playerctl(const wxString& arguments)
{
    return desktop::Run("playerctl -p brelkosplayer " + arguments + " 2>&1");
}

bool OnBus()
{
    return WaitFor([] { return desktop::Run("playerctl -l 2>/dev/null").Contains("brelkosplayer"); }, 10000);
}

// The log's lines from the given length on, sorted: the player thread's lines
// may come before or after the GUI thread's.
std::vector<wxString> LogSince(size_t length)
{
    std::vector<wxString> lines;
    for (const wxString& line : wxStringTokenize(testing_support::ReadLog().Mid(length), "\n"))
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

void Click(FormMain* main, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    main->GetEventHandler()->ProcessEvent(click);
}

void Check(wxCheckBox* box)
{
    box->SetValue(!box->GetValue());
    wxCommandEvent click(wxEVT_CHECKBOX, box->GetId());
    click.SetInt(box->GetValue());
    box->GetEventHandler()->ProcessEvent(click);
}

void Slide(wxSlider* slider, int value)
{
    slider->SetValue(value);
    wxScrollEvent moved(wxEVT_SCROLL_CHANGED, slider->GetId(), value, wxHORIZONTAL);
    slider->GetEventHandler()->ProcessEvent(moved);
}

// What the slider shows for a position in milliseconds of a 2 s file.
int SliderAt(long long ms)
{
    return static_cast<int>(std::lround(ms * 1000.0 / 2000));
}

// Signals of the player's object, heard on a connection of the listener's own.
class BusListener {
public:
    BusListener()
    {
        gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        m_connection = g_dbus_connection_new_for_address_sync(
            address,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        g_free(address);
        m_id = g_dbus_connection_signal_subscribe(m_connection, nullptr, nullptr, nullptr,
                                                  "/org/mpris/MediaPlayer2", nullptr,
                                                  G_DBUS_SIGNAL_FLAGS_NONE, OnSignal, this, nullptr);
        // The bus has taken the subscription once it answers a later call.
        GVariant* id = g_dbus_connection_call_sync(
            m_connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId",
            nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
        if (id)
            g_variant_unref(id);
    }
    ~BusListener()
    {
        g_dbus_connection_signal_unsubscribe(m_connection, m_id);
        g_object_unref(m_connection);
    }

    // Each signal as "Seeked 1000000" or "PropertiesChanged Name=value ...".
    std::vector<std::string> heard;

    bool Heard(const std::string& text)
    {
        return WaitFor([&] { return std::find(heard.begin(), heard.end(), text) != heard.end(); });
    }

private:
    static void OnSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                         GVariant* parameters, gpointer data)
    {
        std::string text = name;
        if (!std::strcmp(name, "PropertiesChanged")) {
            GVariant* changed = g_variant_get_child_value(parameters, 1);
            GVariantIter iter;
            const gchar* key;
            GVariant* value;
            g_variant_iter_init(&iter, changed);
            while (g_variant_iter_next(&iter, "{&sv}", &key, &value)) {
                gchar* printed = g_variant_print(value, FALSE);
                text += std::string(" ") + key + "=" + printed;
                g_free(printed);
                g_variant_unref(value);
            }
            g_variant_unref(changed);
        } else {
            gchar* printed = g_variant_print(parameters, FALSE);
            text += std::string(" ") + printed;
            g_free(printed);
        }
        static_cast<BusListener*>(data)->heard.push_back(text);
    }

    GDBusConnection* m_connection = nullptr;
    guint m_id = 0;
};

class MprisTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
            m_paths.Add(testing_support::TempFolder() + "/" + name);
            ASSERT_TRUE(wxCopyFile(testing_support::DataFile("tone.wav"), m_paths.Last()));
        }
    }

    void TearDown() override { testing_support::CloseMainWindow(); }

    // A fresh player on the bus with the three files, the first one paused a
    // little way in and the volume at 50.
    FormMain* StartPaused()
    {
        FormMain* main = testing_support::CreateMainWindow(m_paths);
        EXPECT_TRUE(OnBus());
        EXPECT_TRUE(WaitFor([main] { return main->GetPositionSlider()->GetValue() > 100; }));
        main->Execute(Command::Pause);
        // The player's last report may still be on its way.
        Pump(100);
        Slide(main->GetVolumeSlider(), 50);
        return main;
    }

    // What the main window shows and holds, but the position slider.
    static std::string State(FormMain* main)
    {
        wxString played;
        for (const wxString& path : main->GetPlayedList())
            played += wxFileNameFromPath(path) + " ";
        return wxString::Format(
                   "title \"%s\", name %s, time %s, file %s, played %s, state %d, volume %d, "
                   "loop %d/%d, random %d/%d",
                   main->GetTitle(), main->GetNameLabel()->GetLabel(), main->GetLengthLabel()->GetLabel(),
                   wxFileNameFromPath(main->GetCurrentFile()), played, static_cast<int>(main->GetPlayState()),
                   main->GetVolumeSlider()->GetValue(), main->GetLoopBox()->GetValue(), main->IsLoop(),
                   main->GetRandomBox()->GetValue(), main->IsRandom())
            .ToStdString();
    }

    wxArrayString m_paths;
};

TEST_F(MprisTest, EveryRequestActsAsTheMatchingClick)
{
    struct Case {
        const char* playerctl;
        // The same through the main window's own controls.
        std::function<void(FormMain*)> click;
        // Where the position slider must stand after it, from where the medium
        // was; null when it is not about the position.
        std::function<int(long long ms)> position;
        bool afterNext;
    };
    const Case cases[] = {
        {"play-pause", [](FormMain* m) { Click(m, ID_PLAY); }, nullptr, false},
        {"play-pause", [](FormMain* m) { Click(m, ID_PAUSE); }, nullptr, true},
        {"next", [](FormMain* m) { Click(m, ID_NEXT); }, nullptr, false},
        {"previous", [](FormMain* m) { Click(m, ID_PREVIOUS); }, nullptr, true},
        {"stop", [](FormMain* m) { Click(m, ID_STOP); }, nullptr, false},
        {"volume 0.3", [](FormMain* m) { Slide(m->GetVolumeSlider(), 30); }, nullptr, false},
        {"loop Playlist", [](FormMain* m) { Check(m->GetLoopBox()); }, nullptr, false},
        {"shuffle On", [](FormMain* m) { Check(m->GetRandomBox()); }, nullptr, false},
        {"position 1.5", [](FormMain* m) { Slide(m->GetPositionSlider(), 750); },
         [](long long) { return 750; }, false},
        {"position 0.25+",
         [](FormMain* m) { Slide(m->GetPositionSlider(), SliderAt(m->GetPlayer()->GetPositionMs() + 250)); },
         [](long long ms) { return SliderAt(ms + 250); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.playerctl) + (c.afterNext ? " after a next" : ""));
        std::string states[2];
        std::vector<wxString> logs[2];
        for (int byBus = 0; byBus < 2; ++byBus) {
            FormMain* main = StartPaused();
            ASSERT_NE(main->GetPlayer(), nullptr);
            if (c.afterNext) {
                main->Execute(Command::Next);
                ASSERT_TRUE(WaitFor([main] { return main->GetPositionSlider()->GetValue() > 100; }));
            }
            const std::string before = State(main);
            const long long positionMs = main->GetPlayer()->GetPositionMs();
            const size_t logLength = testing_support::ReadLog().length();
            if (byBus)
                EXPECT_EQ(Playerctl(c.playerctl), "");
            else
                c.click(main);
            // The player thread's lines after a start or a stop.
            Pump(300);
            states[byBus] = State(main);
            logs[byBus] = LogSince(logLength);
            if (c.position)
                EXPECT_EQ(main->GetPositionSlider()->GetValue(), c.position(positionMs))
                    << (byBus ? "by the bus" : "by a click");
            else
                EXPECT_NE(states[byBus], before) << "the request changes something";
            testing_support::CloseMainWindow();
        }
        EXPECT_EQ(states[1], states[0]);
        EXPECT_EQ(logs[1], logs[0]);
    }
}

TEST_F(MprisTest, TheControlsShowThePlayingFile)
{
    FormMain* main = testing_support::CreateMainWindow(m_paths);
    ASSERT_TRUE(OnBus());
    ASSERT_TRUE(WaitFor([main] { return main->GetPlayState() == Playing; }));
    EXPECT_EQ(Playerctl("metadata --format '{{xesam:title}}|{{mpris:length}}|{{xesam:url}}|{{status}}'"),
              "a|2000000|file://" + m_paths[0] + "|Playing");
    EXPECT_EQ(Playerctl("loop") + " " + Playerctl("shuffle") + " " + Playerctl("volume"),
              "None Off 0.000000");
    main->Pause();
    EXPECT_EQ(Playerctl("status"), "Paused");

    // A video plays through the same requests.
    const wxString video = testing_support::DataFile("clip.mkv");
    EXPECT_EQ(Playerctl("open file://" + video), "");
    ASSERT_TRUE(WaitFor([main] { return main->GetPlayState() == Playing; }, 10000));
    ASSERT_NE(dynamic_cast<VideoPlayer*>(main->GetPlayer()), nullptr);
    EXPECT_EQ(Playerctl("metadata --format '{{xesam:title}}|{{xesam:url}}|{{status}}'"),
              "clip|file://" + video + "|Playing");
    EXPECT_EQ(Playerctl("play-pause"), "");
    EXPECT_EQ(main->GetPlayState(), Paused);
    EXPECT_TRUE(WaitFor([main] { return main->GetVideoCtrl()->GetState() == wxMEDIASTATE_PAUSED; }));
}

TEST_F(MprisTest, ChangesMadeInTheWindowsReachTheBus)
{
    FormMain* main = StartPaused();
    ASSERT_TRUE(OnBus());
    BusListener listener;
    // A media panel's view of it: playerctl following the loop status.
    const wxString followed = wxFileName::CreateTempFileName("follow");
    const wxString follower =
        desktop::Run("playerctl -p brelkosplayer --follow loop >" + followed + " 2>&1 & echo $!").Trim();
    auto heardByPlayerctl = [&followed](const wxString& text) {
        return WaitFor([&] {
            wxString all;
            wxFFile file(followed);
            return file.IsOpened() && file.ReadAll(&all) && all.Contains(text);
        });
    };
    ASSERT_TRUE(heardByPlayerctl("None"));

    Check(main->GetLoopBox());
    EXPECT_TRUE(listener.Heard("PropertiesChanged LoopStatus='Playlist'"))
        << testing::PrintToString(listener.heard);
    EXPECT_TRUE(heardByPlayerctl("Playlist"));
    desktop::Run("kill " + follower);
    wxRemoveFile(followed);

    Slide(main->GetPositionSlider(), 500);
    EXPECT_TRUE(listener.Heard("Seeked (1000000,)")) << testing::PrintToString(listener.heard);

    // A change asked on the bus is heard there too, once the slider's handler took it.
    EXPECT_EQ(Playerctl("volume 0.25"), "");
    EXPECT_TRUE(listener.Heard("PropertiesChanged Volume=0.25")) << testing::PrintToString(listener.heard);

    // A file picked in the playlist: its title, its address and the new play state.
    listener.heard.clear();
    main->PrepareToPlay(m_paths[1]);
    main->PlayFile(m_paths[1]);
    EXPECT_TRUE(WaitFor([&] {
        for (const std::string& text : listener.heard)
            if (text.find("PlaybackStatus='Playing'") != std::string::npos &&
                text.find("'xesam:title': <'b'>") != std::string::npos &&
                text.find(std::string(m_paths[1].utf8_str())) != std::string::npos)
                return true;
        return false;
    })) << testing::PrintToString(listener.heard);
}

TEST_F(MprisTest, WithoutASessionBusThePlayerPlaysAndSaysSo)
{
    const std::string bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    FormMain* main = testing_support::CreateMainWindow(m_paths);
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
    EXPECT_TRUE(WaitFor([main] { return main->GetPositionSlider()->GetValue() > 100; }));
    int lines = 0;
    for (const wxString& line : wxStringTokenize(testing_support::ReadLog(), "\n"))
        lines += line.Contains("MprisService :: Start - No session bus");
    EXPECT_EQ(lines, 1);
}

} // namespace
