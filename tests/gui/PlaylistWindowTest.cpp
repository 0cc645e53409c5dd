#include <ctime>
#include <wx/panel.h>

#include "PlaylistTest.h"
#include "gui/FormSearch.h"
#include "gui/FormTagEdit.h"

namespace playlist_test {
namespace {

using BrelkosPlayer::FileState;
using BrelkosPlayer::FormSearch;

TEST_F(PlaylistTest, WindowHasItsPagesListsAndButtons)
{
    EXPECT_EQ(m_playlist->GetTitle(), "Playlist");
    EXPECT_EQ(m_playlist->GetName(), "frame");
    EXPECT_EQ(m_playlist->GetSize(), wxSize(296, 622));
    EXPECT_TRUE(m_playlist->IsShown());
    wxNotebook* notebook = m_playlist->GetNotebook();
    EXPECT_EQ(notebook->GetId(), 7);
    ASSERT_EQ(notebook->GetPageCount(), 3u);
    const char* titles[] = {"Audio", "Video", "CD"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(notebook->GetPageText(i), titles[i]);
        wxListBox* box = List(FormPlaylist::ListKind(i)).GetListBox();
        EXPECT_EQ(box->GetId(), i);
        EXPECT_EQ(box->GetName(), "listBox");
        EXPECT_EQ(box->GetParent(), notebook->GetPage(i));
        EXPECT_EQ(List(FormPlaylist::ListKind(i)).GetCurrentIndex(), -1);
    }
    struct Place {
        int id;
        const char* label;
        wxRect rect;
    };
    const Place places[] = {{3, "Charger", wxRect(8, 567, 33, 29)},
                            {4, "Sauv.", wxRect(47, 567, 33, 29)},
                            {5, "Rand.", wxRect(86, 567, 33, 29)},
                            {6, "Chercher", wxRect(125, 567, 44, 29)},
                            {8, "Lire CD", wxRect(220, 567, 64, 29)}};
    for (const Place& place : places) {
        BrelkosPlayer::ImageButton* button = m_playlist->GetButton(place.id);
        ASSERT_NE(button, nullptr) << place.label;
        EXPECT_EQ(button->GetLabel(), place.label);
        EXPECT_EQ(button->GetRect(), place.rect) << place.label;
    }
    FormSearch* search = m_playlist->GetSearchWindow();
    ASSERT_NE(search, nullptr);
    EXPECT_FALSE(search->IsShown());
    EXPECT_EQ(search->GetTitle(), "Rechercher");
    BrelkosPlayer::FormTagEdit* tagEdit = m_playlist->GetTagEditWindow();
    ASSERT_NE(tagEdit, nullptr);
    EXPECT_FALSE(tagEdit->IsShown());
    EXPECT_EQ(tagEdit->GetTitle(), "Edition du Tag ID3");
    EXPECT_EQ(tagEdit->GetSize(), wxSize(430, 250));
    EXPECT_EQ(m_playlist->GetCurrentKindName(), "Audio");
}

TEST_F(PlaylistTest, EachPathGoesToTheListOfItsKindUnderItsDisplayName)
{
    struct Case {
        const char* path;
        FormPlaylist::ListKind kind;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\Songs\\a.mp3", FormPlaylist::Audio, "a.mp3"},
        {"/music/Song.Two.WAV", FormPlaylist::Audio, "Song.Two.WAV"},
        {"/films/clip.MKV", FormPlaylist::Video, "clip.MKV"},
        {"D:\\v\\x.divx", FormPlaylist::Video, "x.divx"},
        {"/music/song.flac", FormPlaylist::CD, "song.flac"},
        {"E:3", FormPlaylist::CD, "E:3"},
        {"mixed\\sep/arators\\name.ogg", FormPlaylist::Audio, "name.ogg"},
    };
    for (const Case& c : cases) {
        TrackList& list = List(c.kind);
        m_playlist->AddFileByKind(c.path);
        ASSERT_GT(list.GetCount(), 0) << c.path;
        EXPECT_EQ(list.GetNames().Last(), c.name);
        EXPECT_EQ(list.GetPaths().Last(), c.path);
        EXPECT_EQ(list.GetListBox()->GetString(list.GetCount() - 1), c.name);
        EXPECT_NE(testing_support::ReadLog().Find(wxString("_addFile : ") + c.name), wxNOT_FOUND) << c.path;
    }
    EXPECT_EQ(List(FormPlaylist::Audio).GetCount(), 3);
    EXPECT_EQ(List(FormPlaylist::Video).GetCount(), 2);
    EXPECT_EQ(List(FormPlaylist::CD).GetCount(), 2);
}

TEST_F(PlaylistTest, PathWithoutFileNameIsRefused)
{
    m_playlist->AddFileByKind("C:\\Songs\\");
    m_playlist->AddFileByKind("/music/");
    for (int kind = 0; kind < 3; ++kind)
        EXPECT_EQ(List(FormPlaylist::ListKind(kind)).GetCount(), 0);
    wxString log = testing_support::ReadLog();
    EXPECT_NE(log.Find("ERROR : FormPlaylist :: _addVideoFile - Void File name"), wxNOT_FOUND);
    EXPECT_EQ(log.Find("_addFile : "), wxNOT_FOUND);
}

TEST_F(PlaylistTest, EveryAddedEntryBecomesCurrentAndSelected)
{
    TrackList& audio = List(FormPlaylist::Audio);
    const char* paths[] = {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"};
    for (int i = 0; i < 3; ++i) {
        m_playlist->AddFileByKind(paths[i]);
        EXPECT_EQ(audio.GetCurrentIndex(), i);
        EXPECT_EQ(audio.GetCurrentPath(), paths[i]);
        EXPECT_EQ(audio.GetListBox()->GetSelection(), i);
    }
    EXPECT_EQ(Items(audio.GetListBox()), (std::vector<wxString>{"a.mp3", "b.mp3", "c.mp3"}));
}

TEST_F(PlaylistTest, SelectingAnEntryMakesItTheMainWindowsFileOnlyWhenItHasNone)
{
    m_playlist->AddFileByKind("/m/a.mp3");
    m_playlist->AddFileByKind("/m/b.mp3");
    Select(FormPlaylist::Audio, 0);
    EXPECT_EQ(List(FormPlaylist::Audio).GetCurrentIndex(), 0);
    EXPECT_EQ(List(FormPlaylist::Audio).GetCurrentPath(), "/m/a.mp3");
    EXPECT_EQ(m_main->GetCurrentFile(), "/m/a.mp3");
    EXPECT_EQ(m_main->GetFileState(), BrelkosPlayer::Initialised);

    Select(FormPlaylist::Audio, 1);
    EXPECT_EQ(List(FormPlaylist::Audio).GetCurrentPath(), "/m/b.mp3");
    EXPECT_EQ(m_main->GetCurrentFile(), "/m/a.mp3") << "a chosen file is not replaced by a selection";
}

TEST_F(PlaylistTest, DoubleClickHandsTheClickedEntryToTheMainWindow)
{
    m_main->AddFile(Data("tone.wav"));
    m_main->AddFile(Data("tone.ogg"));
    // A single click on the first entry chooses it; the double-click on the
    // second must still be what the main window takes.
    Select(FormPlaylist::Audio, 0);
    ASSERT_EQ(m_main->GetCurrentFile(), Data("tone.wav"));
    DoubleClick(FormPlaylist::Audio, 1);
    EXPECT_EQ(m_main->GetCurrentFile(), Data("tone.ogg"));
    EXPECT_NE(m_main->GetFileState(), BrelkosPlayer::NoFile);
}

TEST_F(PlaylistTest, DoubleClickOnAnEmptyListDoesNothing)
{
    wxListBox* box = List(FormPlaylist::Audio).GetListBox();
    wxCommandEvent event(wxEVT_LISTBOX_DCLICK, box->GetId());
    event.SetEventObject(box);
    box->ProcessWindowEvent(event);
    EXPECT_EQ(m_main->GetCurrentFile(), "");
    EXPECT_EQ(m_main->GetFileState(), BrelkosPlayer::NoFile);
}

TEST_F(PlaylistTest, SelectNextEntryAdvancesOnlyFromAnEntryBeforeTheLast)
{
    TrackList& audio = List(FormPlaylist::Audio);
    m_playlist->SelectNextEntry(); // empty list, no current entry
    EXPECT_EQ(audio.GetCurrentIndex(), -1);
    for (const char* path : {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"})
        m_playlist->AddFileByKind(path);
    m_playlist->SelectNextEntry(); // on the last entry
    EXPECT_EQ(audio.GetCurrentIndex(), 2);
    Select(FormPlaylist::Audio, 0);
    m_playlist->SelectNextEntry();
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    EXPECT_EQ(audio.GetCurrentPath(), "/m/b.mp3");
    EXPECT_EQ(audio.GetListBox()->GetSelection(), 1);
}

TEST_F(PlaylistTest, SelectEntryByPathFindsTheExactPathInTheCurrentList)
{
    TrackList& audio = List(FormPlaylist::Audio);
    for (const char* path : {"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"})
        m_playlist->AddFileByKind(path);
    EXPECT_TRUE(m_playlist->SelectEntryByPath("/m/b.mp3"));
    EXPECT_EQ(audio.GetCurrentIndex(), 1);
    EXPECT_EQ(audio.GetListBox()->GetSelection(), 1);
    // The main window takes the file through its own operations only.
    EXPECT_EQ(m_main->GetFileState(), BrelkosPlayer::NoFile);

    EXPECT_FALSE(m_playlist->SelectEntryByPath("/m/B.mp3"));
    EXPECT_EQ(audio.GetCurrentIndex(), -1);
}

TEST_F(PlaylistTest, PageChangesSwitchTheCurrentList)
{
    ShowPage(FormPlaylist::Video);
    EXPECT_EQ(m_playlist->GetCurrentKindName(), "Video");
    ShowPage(FormPlaylist::CD);
    EXPECT_EQ(m_playlist->GetCurrentKindName(), "CD");
    ShowPage(FormPlaylist::Audio);
    EXPECT_EQ(m_playlist->GetCurrentKindName(), "Audio");
}

TEST_F(PlaylistTest, DeleteRemovesTheSelectedEntryFromWindowAndStoreAlike)
{
    m_main->AddFile(Data("tone.mp3"));
    m_main->AddFile(Data("tone.wav"));
    m_main->AddFile(Data("tone.ogg"));
    TrackList& audio = List(FormPlaylist::Audio);
    ASSERT_EQ(audio.GetCurrentIndex(), 2);

    m_main->RemoveCurrentEntry();
    EXPECT_EQ(audio.GetCount(), 2);
    EXPECT_EQ(audio.GetCurrentIndex(), 1) << "the new last entry becomes current";
    EXPECT_EQ(audio.GetCurrentPath(), Data("tone.wav"));
    EXPECT_EQ(audio.GetListBox()->GetSelection(), 1);
    EXPECT_EQ(Strings(m_main->GetAudioList()), Strings(audio.GetPaths()));

    Select(FormPlaylist::Audio, 0);
    m_main->RemoveCurrentEntry();
    EXPECT_EQ(audio.GetCurrentPath(), Data("tone.wav"));
    EXPECT_EQ(Strings(m_main->GetAudioList()), (std::vector<wxString>{Data("tone.wav")}));

    m_main->RemoveCurrentEntry();
    EXPECT_EQ(audio.GetCount(), 0);
    EXPECT_EQ(audio.GetCurrentIndex(), -1);
    EXPECT_TRUE(m_main->GetAudioList().IsEmpty());
    EXPECT_NE(testing_support::ReadLog().Find(
                  "ERROR : FormPlaylist :: _deleteSelected - Can't delete selected file"),
              wxNOT_FOUND);
}

TEST_F(PlaylistTest, DeleteOnTheCDPageRemovesNothing)
{
    m_main->AddFile("D:3");
    m_main->AddFile("D:4");
    ShowPage(FormPlaylist::CD);
    m_main->RemoveCurrentEntry();
    EXPECT_EQ(List(FormPlaylist::CD).GetCount(), 2);
    EXPECT_EQ(m_main->GetCDList().GetCount(), 2u);
    EXPECT_NE(testing_support::ReadLog().Find(
                  "ERROR : FormPlaylist :: _deleteSelected - Can't delete selected file"),
              wxNOT_FOUND);
}

TEST_F(PlaylistTest, DeleteOnTheVideoPageRemovesTheVideoEntry)
{
    m_main->AddFile(Data("clip.avi"));
    m_main->AddFile(Data("clip.wmv"));
    m_main->AddFile("D:1");
    ShowPage(FormPlaylist::Video);
    m_main->RemoveCurrentEntry();
    EXPECT_EQ(Strings(List(FormPlaylist::Video).GetPaths()), (std::vector<wxString>{Data("clip.avi")}));
    EXPECT_EQ(Strings(m_main->GetVideoList()), (std::vector<wxString>{Data("clip.avi")}));
    EXPECT_EQ(m_main->GetCDList().GetCount(), 1u) << "the CD list is not touched";
}

TEST_F(PlaylistTest, ShuffleKeepsEveryEntryAndShowsTheStoreOrder)
{
    m_main->AddFile(Data("tone.mp3"));
    m_main->AddFile(Data("tone.wav"));
    m_main->AddFile(Data("tone.ogg"));
    m_main->AddFile(Data("tone.wma"));
    m_main->AddFile(Data("clip.avi"));
    m_main->AddFile("D:2");
    std::vector<wxString> before = Strings(m_main->GetAudioList());
    Click(BrelkosPlayer::ID_PLAYLIST_SHUFFLE);
    std::vector<wxString> after = Strings(m_main->GetAudioList());
    EXPECT_TRUE(std::is_permutation(before.begin(), before.end(), after.begin(), after.end()));
    EXPECT_EQ(after, Strings(List(FormPlaylist::Audio).GetPaths()));
    EXPECT_EQ(Strings(List(FormPlaylist::Video).GetPaths()), Strings(m_main->GetVideoList()))
        << "the video entries are shown again after a shuffle";
    EXPECT_EQ(List(FormPlaylist::CD).GetCount(), 1);
}

TEST_F(PlaylistTest, ShufflesStartedInTheSameSecondFromTheSameOrderAgree)
{
    const char* names[] = {"tone.mp3", "tone.wav", "tone.ogg", "tone.wma", "tone.ac3"};
    std::vector<wxString> first, second;
    // Retry when the clock's second changed in between.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_main->ClearPlaylist();
        for (const char* name : names)
            m_main->AddFile(Data(name));
        std::time_t start = std::time(nullptr);
        m_main->ShufflePlaylist();
        first = Strings(m_main->GetAudioList());
        m_main->ClearPlaylist();
        for (const char* name : names)
            m_main->AddFile(Data(name));
        m_main->ShufflePlaylist();
        second = Strings(m_main->GetAudioList());
        if (std::time(nullptr) == start)
            break;
    }
    EXPECT_EQ(first, second);
}

TEST_F(PlaylistTest, ShuffleOfOneEntryOrNoneKeepsTheLists)
{
    m_main->ShufflePlaylist();
    EXPECT_TRUE(m_main->GetAudioList().IsEmpty());
    m_main->AddFile(Data("tone.mp3"));
    m_main->ShufflePlaylist();
    EXPECT_EQ(Strings(m_main->GetAudioList()), (std::vector<wxString>{Data("tone.mp3")}));
    EXPECT_EQ(Strings(List(FormPlaylist::Audio).GetPaths()), (std::vector<wxString>{Data("tone.mp3")}));
}

TEST_F(PlaylistTest, SearchButtonShowsTheSearchWindowWithTheCurrentListsNames)
{
    m_main->AddFile(Data("tone.mp3"));
    m_main->AddFile(Data("clip.avi"));
    Click(BrelkosPlayer::ID_PLAYLIST_SEARCH);
    FormSearch* search = m_playlist->GetSearchWindow();
    EXPECT_TRUE(search->IsShown());
    EXPECT_EQ(Strings(search->GetAllNames()), (std::vector<wxString>{"tone.mp3"}));
    EXPECT_EQ(search->GetSourceList(), &List(FormPlaylist::Audio));

    ShowPage(FormPlaylist::CD);
    Click(BrelkosPlayer::ID_PLAYLIST_SEARCH);
    EXPECT_EQ(Strings(search->GetAllNames()), (std::vector<wxString>{"clip.avi"}));
    EXPECT_EQ(search->GetSourceList(), &List(FormPlaylist::Video));
}

TEST_F(PlaylistTest, CloseBoxHidesTheWindowInsteadOfDestroyingIt)
{
    m_playlist->Close(false);
    testing_support::Pump(20);
    EXPECT_FALSE(m_playlist->IsShown());
    EXPECT_EQ(testing_support::PlaylistWindow(), m_playlist);
    m_playlist->AddFileByKind("/m/a.mp3");
    EXPECT_EQ(List(FormPlaylist::Audio).GetCount(), 1);
}

} // namespace
} // namespace playlist_test
