#include <wx/listbox.h>
#include <wx/textctrl.h>

#include "PlaylistTest.h"
#include "gui/FormSearch.h"

namespace playlist_test {
namespace {

using BrelkosPlayer::FormSearch;

wxArrayString Array(std::initializer_list<const char*> items)
{
    wxArrayString out;
    for (const char* item : items)
        out.Add(wxString::FromUTF8(item));
    return out;
}

std::vector<wxString> Vec(std::initializer_list<const char*> items)
{
    std::vector<wxString> out;
    for (const char* item : items)
        out.push_back(wxString::FromUTF8(item));
    return out;
}

std::vector<wxString> FilterNames(const wxArrayString& names, const char* text)
{
    wxArrayString lowered;
    for (const wxString& name : names)
        lowered.Add(FormSearch::LowerText(name).Strip(wxString::trailing));
    wxArrayString results = FormSearch::Filter(names, lowered, wxString::FromUTF8(text));
    return std::vector<wxString>(results.begin(), results.end());
}

TEST(SearchTextTest, LowerCaseWorksBeyondAscii)
{
    struct Case {
        const char* text;
        const char* lowered;
    };
    const Case cases[] = {
        {"Beat.MP3", "beat.mp3"},
        {"\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"}, // ÉTÉ
        {"\xC3\x84rger", "\xC3\xA4rger"},           // Ärger
        {"Stra\xC3\x9F"
         "e",
         "stra\xC3\x9F"
         "e"}, // ß stays
        {"STRA\xE1\xBA\x9E"
         "E",
         "stra\xC3\x9F"
         "e"}, // capital sharp s
        {"\xCE\xA3\xCE\x99\xCE\x93\xCE\x9C\xCE\x91", "\xCF\x83\xCE\xB9\xCE\xB3\xCE\xBC\xCE\xB1"}, // Greek
        {"\xD0\x9C\xD0\xA3\xD0\x97\xD0\xAB\xD0\x9A\xD0\x90",
         "\xD0\xBC\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0"},
        {"\xF0\x9F\x8E\xB5 A", "\xF0\x9F\x8E\xB5 a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormSearch::LowerText(wxString::FromUTF8(c.text)), wxString::FromUTF8(c.lowered)) << c.text;
}

TEST(SearchTextTest, SplitKeepsEmptyWords)
{
    struct Case {
        const char* text;
        std::vector<wxString> words;
    };
    const Case cases[] = {
        {"a", Vec({"a"})},      {"a mp3", Vec({"a", "mp3"})}, {"a  mp3", Vec({"a", "", "mp3"})},
        {" a", Vec({"", "a"})}, {"a ", Vec({"a", ""})},
    };
    for (const Case& c : cases) {
        wxArrayString words = FormSearch::Split(c.text);
        EXPECT_EQ(std::vector<wxString>(words.begin(), words.end()), c.words) << c.text;
    }
}

TEST(SearchTextTest, NamesAreFilteredByEveryWord)
{
    const wxArrayString names = Array({"a.mp3", "Beat.MP3", "c.wav"});
    struct Case {
        const char* text;
        std::vector<wxString> results;
    };
    const Case cases[] = {
        {"be", Vec({"Beat.MP3"})},
        {"BE", Vec({"Beat.MP3"})},
        {"a mp3", Vec({"a.mp3", "Beat.MP3"})},
        {"be ", Vec({"Beat.MP3"})},
        {"a  mp3", Vec({"a.mp3", "Beat.MP3"})},
        {"wav b", Vec({})},
        {"xyz", Vec({})},
        {"", Vec({"a.mp3", "Beat.MP3", "c.wav"})},
        {"   ", Vec({"a.mp3", "Beat.MP3", "c.wav"})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterNames(names, c.text), c.results) << "'" << c.text << "'";
}

TEST(SearchTextTest, NonAsciiWordsMatchWhateverTheirCase)
{
    const wxArrayString names = Array({"\xC3\x89t\xC3\xA9 indien.mp3", "\xC3\x84rger.ogg",
                                       "Stra\xC3\x9F"
                                       "e.wav",
                                       "\xCE\xA3\xCE\xB9\xCE\xB3\xCE\xBC\xCE\xB1.mp3", "plain.mp3"});
    struct Case {
        const char* text;
        std::vector<wxString> results;
    };
    const Case cases[] = {
        {"\xC3\xA9t\xC3\xA9", Vec({"\xC3\x89t\xC3\xA9 indien.mp3"})},
        {"\xC3\x89T\xC3\x89", Vec({"\xC3\x89t\xC3\xA9 indien.mp3"})},
        {"\xC3\xA4rg", Vec({"\xC3\x84rger.ogg"})},
        {"STRA\xE1\xBA\x9E", Vec({"Stra\xC3\x9F"
                                  "e.wav"})},
        {"\xC3\x9F", Vec({"Stra\xC3\x9F"
                          "e.wav"})},
        {"\xCF\x83\xCE\xB9", Vec({"\xCE\xA3\xCE\xB9\xCE\xB3\xCE\xBC\xCE\xB1.mp3"})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterNames(names, c.text), c.results) << c.text;
}

TEST(SearchTextTest, NamesThatAreBlankAlwaysStay)
{
    EXPECT_EQ(FilterNames(Array({"  ", "a.mp3"}), "zzz"), Vec({"  "}));
}

class SearchWindowTest : public PlaylistTest {
protected:
    void SetUp() override
    {
        PlaylistTest::SetUp();
        m_search = m_playlist->GetSearchWindow();
    }

    void Type(const char* text) { m_search->GetTextField()->SetValue(wxString::FromUTF8(text)); }

    void Pick(int index)
    {
        wxListBox* box = m_search->GetResultList();
        box->SetSelection(index);
        wxCommandEvent event(wxEVT_LISTBOX, box->GetId());
        event.SetEventObject(box);
        event.SetInt(index);
        box->ProcessWindowEvent(event);
    }

    void DoubleClickHit()
    {
        wxListBox* box = m_search->GetResultList();
        wxCommandEvent event(wxEVT_LISTBOX_DCLICK, box->GetId());
        event.SetEventObject(box);
        event.SetInt(box->GetSelection());
        box->ProcessWindowEvent(event);
    }

    FormSearch* m_search = nullptr;
};

TEST_F(SearchWindowTest, WindowHasItsFieldListAndButton)
{
    EXPECT_EQ(m_search->GetTitle(), "Rechercher");
    EXPECT_EQ(m_search->GetName(), "frame");
    EXPECT_EQ(m_search->GetSize(), wxSize(285, 341));
    EXPECT_EQ(m_search->GetTextField()->GetId(), 0);
    EXPECT_EQ(m_search->GetTextField()->GetName(), "text");
    EXPECT_EQ(m_search->GetResultList()->GetId(), 1);
    EXPECT_EQ(m_search->GetResultList()->GetName(), "listBox");
    EXPECT_EQ(m_search->GetResultList()->GetPosition(), wxPoint(0, 27));
    EXPECT_EQ(m_search->GetCancelButton()->GetId(), 2);
    EXPECT_EQ(m_search->GetCancelButton()->GetLabel(), "Annuler");
    EXPECT_EQ(m_search->GetCancelButton()->GetRect(), wxRect(104, 287, 65, 25));
}

TEST_F(SearchWindowTest, TypingFiltersTheShownNames)
{
    m_main->AddFile(Data("tone.mp3"));
    m_main->AddFile(Data("tone.wav"));
    m_main->AddFile(Data("tone.ogg"));
    Click(BrelkosPlayer::ID_PLAYLIST_SEARCH);
    EXPECT_EQ(Items(m_search->GetResultList()), Vec({"tone.mp3", "tone.wav", "tone.ogg"}));
    Type("WAV");
    EXPECT_EQ(Items(m_search->GetResultList()), Vec({"tone.wav"}));
    Type("tone og");
    EXPECT_EQ(Items(m_search->GetResultList()), Vec({"tone.ogg"}));
    Type("");
    EXPECT_EQ(Items(m_search->GetResultList()), Vec({"tone.mp3", "tone.wav", "tone.ogg"}));
    EXPECT_NE(testing_support::ReadLog().Find("ERROR : FormSearch :: Split - Void text"), wxNOT_FOUND);
}

TEST_F(SearchWindowTest, EmptyNamesListIsRefusedAndThePreviousNamesStay)
{
    m_search->SetFilesList(Array({"x.mp3"}), &List(FormPlaylist::Audio));
    m_search->SetFilesList(wxArrayString(), &List(FormPlaylist::Video));
    EXPECT_EQ(Items(m_search->GetResultList()), Vec({"x.mp3"}));
    EXPECT_EQ(m_search->GetSourceList(), &List(FormPlaylist::Audio));
    EXPECT_NE(testing_support::ReadLog().Find("ERROR : FormSearch :: SetFilesList - Null List"), wxNOT_FOUND);
}

TEST_F(SearchWindowTest, SelectingAHitRemembersItsName)
{
    m_search->SetFilesList(Array({"a.mp3", "b.mp3"}), &List(FormPlaylist::Audio));
    Pick(1);
    EXPECT_EQ(m_search->GetSelectedIndex(), 1);
    EXPECT_EQ(m_search->GetSelectedName(), "b.mp3");
    EXPECT_NE(testing_support::ReadLog().Find("FormSearch :: LBSearchMouseUp - b.mp3"), wxNOT_FOUND);
}

TEST_F(SearchWindowTest, DoubleClickPlaysTheFirstEntryOfThatName)
{
    // Two files of the same name in different folders, and another before them.
    wxString first = testing_support::TempFolder() + "/same.wav";
    wxString second = testing_support::TempFolder() + "/same.wav";
    ASSERT_TRUE(wxCopyFile(Data("tone.wav"), first));
    ASSERT_TRUE(wxCopyFile(Data("tone.wav"), second));
    m_main->AddFile(Data("tone.ogg"));
    m_main->AddFile(first);
    m_main->AddFile(second);
    Click(BrelkosPlayer::ID_PLAYLIST_SEARCH);
    Type("same");
    ASSERT_EQ(Items(m_search->GetResultList()), Vec({"same.wav", "same.wav"}));
    Pick(1);
    DoubleClickHit();
    EXPECT_EQ(m_main->GetCurrentFile(), first);
    EXPECT_EQ(List(FormPlaylist::Audio).GetListBox()->GetSelection(), 1);
    EXPECT_EQ(List(FormPlaylist::Audio).GetCurrentIndex(), 2) << "the playlist's own current entry stays";
    wxString log = testing_support::ReadLog();
    EXPECT_NE(log.Find("FormSearch :: LBSearchDblClick - 1"), wxNOT_FOUND);
    EXPECT_NE(log.Find("FormSearch :: LBSearchDblClick - " + first), wxNOT_FOUND);
}

TEST_F(SearchWindowTest, DoubleClickWithoutSelectionDoesNothing)
{
    m_main->AddFile(Data("tone.ogg"));
    Click(BrelkosPlayer::ID_PLAYLIST_SEARCH);
    DoubleClickHit();
    EXPECT_EQ(m_main->GetCurrentFile(), "");
    EXPECT_EQ(testing_support::ReadLog().Find("FormSearch :: LBSearchDblClick"), wxNOT_FOUND);
}

TEST_F(SearchWindowTest, CancelHidesTheWindowAndKeepsItsLists)
{
    m_search->SetFilesList(Array({"a.mp3", "b.wav"}), &List(FormPlaylist::Audio));
    m_search->Show(true);
    Type("wav");
    wxCommandEvent event(wxEVT_BUTTON, 2);
    event.SetEventObject(m_search->GetCancelButton());
    m_search->GetCancelButton()->ProcessWindowEvent(event);
    EXPECT_FALSE(m_search->IsShown());
    EXPECT_EQ(Items(m_search->GetResultList()), Vec({"b.wav"}));
    EXPECT_EQ(m_search->GetAllNames().GetCount(), 2u);
}

} // namespace
} // namespace playlist_test
