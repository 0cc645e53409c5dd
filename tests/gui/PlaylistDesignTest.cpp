#include <cstdlib>
#include <dlfcn.h>
#include <wx/image.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>

#include "PlaylistTest.h"
#include "configuration/Design.h"
#include "gui/FormSearch.h"

namespace playlist_test {
namespace {

using BrelkosPlayer::Design;
using BrelkosPlayer::FormSearch;

// What the screen shows of a window, read through GDK (looked up at run
// time, as the program itself does). A wxScreenDC blit would do, but after
// one GTK stops putting later paints on the screen of this process.
wxImage Capture(wxWindow* window)
{
    using RootFn = void* (*)();
    using FromWindowFn = void* (*)(void*, int, int, int, int);
    using PixelsFn = unsigned char* (*)(void*);
    using IntFn = int (*)(void*);
    using UnrefFn = void (*)(void*);
    static auto root = reinterpret_cast<RootFn>(dlsym(RTLD_DEFAULT, "gdk_get_default_root_window"));
    static auto fromWindow =
        reinterpret_cast<FromWindowFn>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_from_window"));
    static auto pixels = reinterpret_cast<PixelsFn>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_pixels"));
    static auto rowstride = reinterpret_cast<IntFn>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_rowstride"));
    static auto channels = reinterpret_cast<IntFn>(dlsym(RTLD_DEFAULT, "gdk_pixbuf_get_n_channels"));
    static auto unref = reinterpret_cast<UnrefFn>(dlsym(RTLD_DEFAULT, "g_object_unref"));
    wxImage image;
    if (!root || !fromWindow || !pixels || !rowstride || !channels || !unref)
        return image;
    wxRect rect = window->GetScreenRect();
    void* pixbuf = fromWindow(root(), rect.x, rect.y, rect.width, rect.height);
    if (!pixbuf)
        return image;
    image.Create(rect.width, rect.height);
    const unsigned char* data = pixels(pixbuf);
    int stride = rowstride(pixbuf), step = channels(pixbuf);
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            const unsigned char* p = data + y * stride + x * step;
            image.SetRGB(x, y, p[0], p[1], p[2]);
        }
    }
    unref(pixbuf);
    return image;
}

wxColour PixelAt(wxWindow* window, const wxPoint& point)
{
    wxImage image = Capture(window);
    if (!image.IsOk() || point.x >= image.GetWidth() || point.y >= image.GetHeight())
        return wxColour();
    return wxColour(image.GetRed(point.x, point.y), image.GetGreen(point.x, point.y),
                    image.GetBlue(point.x, point.y));
}

Design MakeDesign()
{
    Design design;
    design.name = "test";
    design.generalColor = wxColour(10, 60, 110);
    design.generalTxtColor = wxColour(240, 230, 220);
    design.listColor = wxColour(30, 140, 60);
    design.listTxtColor = wxColour(250, 250, 0);
    for (int i = 0; i < 4; ++i) {
        design.btnColors[i] = wxColour(100 + i, 50, 50);
        design.btnTxtColors[i] = wxColour(0, 0, 200 + i);
    }
    return design;
}

TEST_F(PlaylistTest, NullDesignIsRefusedByPlaylistAndSearch)
{
    const Design* before = m_playlist->GetDesign();
    m_playlist->SetSimpleDesign(nullptr);
    m_playlist->GetSearchWindow()->SetSimpleDesign(nullptr);
    EXPECT_EQ(m_playlist->GetDesign(), before);
    wxString log = testing_support::ReadLog();
    EXPECT_NE(log.Find("ERROR : FormPlaylist :: SetSimpleDesign - Design Null"), wxNOT_FOUND);
    EXPECT_NE(log.Find("ERROR : FormSearch :: SetSimpleDesign - Design Null"), wxNOT_FOUND);
}

TEST_F(PlaylistTest, MainWindowDesignReachesPlaylistAndSearchWidgets)
{
    Design design = MakeDesign();
    m_main->SetSimpleDesign(&design);
    EXPECT_EQ(m_playlist->GetDesign(), &design);
    FormSearch* search = m_playlist->GetSearchWindow();
    EXPECT_EQ(search->GetDesign(), &design);

    EXPECT_EQ(m_playlist->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_playlist->GetNotebook()->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(m_playlist->GetNotebook()->GetForegroundColour(), design.generalTxtColor)
        << "tab labels stay readable";
    for (int kind = 0; kind < 3; ++kind) {
        wxListBox* box = List(FormPlaylist::ListKind(kind)).GetListBox();
        EXPECT_EQ(box->GetBackgroundColour(), design.listColor);
        EXPECT_EQ(box->GetForegroundColour(), design.listTxtColor);
    }
    for (int id : {3, 4, 5, 6, 8}) {
        BrelkosPlayer::ImageButton* button = m_playlist->GetButton(id);
        EXPECT_EQ(button->GetOuterColour(), design.generalColor) << id;
        for (int state = 0; state < 4; ++state) {
            EXPECT_EQ(button->GetFaceColour(state), design.btnColors[state]) << id;
            EXPECT_EQ(button->GetTextColour(state), design.btnTxtColors[state]) << id;
        }
    }
    EXPECT_EQ(search->GetBackgroundColour(), design.generalColor);
    EXPECT_EQ(search->GetResultList()->GetBackgroundColour(), design.listColor);
    EXPECT_EQ(search->GetTextField()->GetForegroundColour(), design.listTxtColor);
    EXPECT_EQ(search->GetCancelButton()->GetFaceColour(2), design.btnColors[2]);
}

TEST_F(PlaylistTest, SampleConfigurationDressesEveryWindowInOneDesign)
{
    const Design* selected = m_main->GetSelectedDesign();
    ASSERT_NE(selected, nullptr) << "the sample configuration selects a design";
    EXPECT_EQ(m_playlist->GetDesign(), selected);
    EXPECT_EQ(m_playlist->GetSearchWindow()->GetDesign(), selected);
    EXPECT_TRUE(selected->generalColor.IsOk());
    EXPECT_TRUE(selected->listColor.IsOk());
}

TEST_F(PlaylistTest, DesignColoursReachTheScreen)
{
    Design design = MakeDesign();
    m_main->SetSimpleDesign(&design);
    m_main->AddFile(Data("tone.mp3"));
    m_main->AddFile(Data("tone.wav"));
    m_main->AddFile(Data("tone.ogg"));
    FormSearch* search = m_playlist->GetSearchWindow();
    search->Move(320, 0);
    search->Show(true);
    search->SetFilesList(List(FormPlaylist::Audio).GetNames(), &List(FormPlaylist::Audio));
    m_playlist->Raise();

    // Empty space low in the audio list, and the frame's own background
    // between the buttons.
    wxListBox* box = List(FormPlaylist::Audio).GetListBox();
    wxPoint inList(box->GetSize().x / 2, box->GetSize().y - 20);
    EXPECT_TRUE(testing_support::WaitFor([&] { return PixelAt(box, inList) == design.listColor; }, 3000))
        << PixelAt(box, inList).GetAsString(wxC2S_HTML_SYNTAX);
    wxPoint betweenButtons =
        m_playlist->ClientToScreen(wxPoint(200, 580)) - m_playlist->GetScreenRect().GetPosition();
    EXPECT_TRUE(testing_support::WaitFor(
        [&] { return PixelAt(m_playlist, betweenButtons) == design.generalColor; }, 3000))
        << PixelAt(m_playlist, betweenButtons).GetAsString(wxC2S_HTML_SYNTAX);
    wxListBox* results = search->GetResultList();
    wxPoint inResults(results->GetSize().x / 2, results->GetSize().y - 20);
    EXPECT_TRUE(
        testing_support::WaitFor([&] { return PixelAt(results, inResults) == design.listColor; }, 3000));
}

} // namespace
} // namespace playlist_test
