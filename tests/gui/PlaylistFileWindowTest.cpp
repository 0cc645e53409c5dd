#include <fstream>
#include <string>

#include "PlaylistTest.h"

namespace playlist_test {
namespace {

std::string ReadBytes(const wxString& path)
{
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const wxString& path, const std::string& bytes)
{
    std::ofstream out(path.fn_str(), std::ios::binary);
    out << bytes;
}

std::string U8(const wxString& text)
{
    return std::string(text.utf8_str());
}

int Occurrences(const wxString& text, const wxString& what)
{
    int count = 0;
    for (size_t pos = text.find(what); pos != wxString::npos; pos = text.find(what, pos + 1))
        ++count;
    return count;
}

class PlaylistFileWindowTest : public PlaylistTest {
protected:
    // The load and save dialogs answer with this path.
    void Answer(const wxString& path, bool* askedToSave = nullptr)
    {
        FormPlaylist::SetPlaylistChooser([path, askedToSave](bool save, wxString& chosen) {
            if (askedToSave)
                *askedToSave = save;
            chosen = path;
            return true;
        });
    }

    void FillStore()
    {
        m_main->AddFile(Data("tone.mp3"));
        m_main->AddFile("D:3");
        m_main->AddFile(Data("clip.avi"));
        m_main->AddFile(Data("tone.wav"));
    }

    wxString m_folder = testing_support::TempFolder();
};

TEST_F(PlaylistFileWindowTest, SaveWritesAudioThenVideoThenCDInUtf8WithCrLf)
{
    FillStore();
    bool save = false;
    Answer(m_folder + "/list.kx", &save);
    Click(BrelkosPlayer::ID_PLAYLIST_SAVE);
    EXPECT_TRUE(save);
    EXPECT_EQ(ReadBytes(m_folder + "/list.kx"), U8(Data("tone.mp3")) + "\r\n" + U8(Data("tone.wav")) +
                                                    "\r\n" + U8(Data("clip.avi")) + "\r\nD:3\r\n");
}

TEST_F(PlaylistFileWindowTest, SaveOfEmptyListsWritesAnEmptyFile)
{
    WriteBytes(m_folder + "/list.kx", "previous\r\n");
    m_main->SavePlaylist(m_folder + "/list.kx");
    EXPECT_EQ(ReadBytes(m_folder + "/list.kx"), "");
}

TEST_F(PlaylistFileWindowTest, NameTypedWithoutExtensionGetsKx)
{
    FillStore();
    Answer(m_folder + "/mix");
    Click(BrelkosPlayer::ID_PLAYLIST_SAVE);
    EXPECT_TRUE(wxFileExists(m_folder + "/mix.kx"));
    EXPECT_FALSE(wxFileExists(m_folder + "/mix"));
}

TEST_F(PlaylistFileWindowTest, CancelledDialogsDoNothing)
{
    FillStore();
    WriteBytes(m_folder + "/list.kx", U8(Data("tone.ogg")) + "\r\n");
    FormPlaylist::SetPlaylistChooser([this](bool, wxString& chosen) {
        chosen = m_folder + "/list.kx";
        return false;
    });
    Click(BrelkosPlayer::ID_PLAYLIST_SAVE);
    Click(BrelkosPlayer::ID_PLAYLIST_LOAD);
    EXPECT_EQ(ReadBytes(m_folder + "/list.kx"), U8(Data("tone.ogg")) + "\r\n");
    EXPECT_EQ(m_main->GetAudioList().GetCount(), 2u);
}

TEST_F(PlaylistFileWindowTest, LoadingASavedFileRestoresListsAndWindow)
{
    FillStore();
    m_main->SavePlaylist(m_folder + "/list.kx");
    std::vector<wxString> audio = Strings(m_main->GetAudioList());
    std::vector<wxString> video = Strings(m_main->GetVideoList());
    std::vector<wxString> cd = Strings(m_main->GetCDList());
    m_main->AddFile(Data("tone.ogg"));
    m_main->AddFile("E:1");

    bool save = true;
    Answer(m_folder + "/list.kx", &save);
    Click(BrelkosPlayer::ID_PLAYLIST_LOAD);
    EXPECT_FALSE(save);
    EXPECT_EQ(Strings(m_main->GetAudioList()), audio);
    EXPECT_EQ(Strings(m_main->GetVideoList()), video);
    EXPECT_EQ(Strings(m_main->GetCDList()), cd);
    EXPECT_EQ(Strings(List(FormPlaylist::Audio).GetPaths()), audio);
    EXPECT_EQ(Strings(List(FormPlaylist::Video).GetPaths()), video);
    EXPECT_EQ(Strings(List(FormPlaylist::CD).GetPaths()), cd);
    EXPECT_EQ(m_main->GetFileState(), BrelkosPlayer::NoFile) << "nothing is loaded";
}

TEST_F(PlaylistFileWindowTest, LoadFilesEachLineByTheAddFileRules)
{
    // Duplicates once, trailing blanks trimmed, a missing media file and a
    // line of spaces, and the empty line that ends the reading.
    std::string text = "\r\n" + U8(Data("tone.mp3")) + " \t\r\n" + U8(Data("tone.mp3")) + "\r\n" +
                       "/no/such/file.mp3\r\n" + "   \r\n" + U8(Data("clip.wmv")) + "\r\n\r\n" +
                       U8(Data("tone.wav")) + "\r\n";
    WriteBytes(m_folder + "/list.kx", text);
    m_main->LoadPlaylist(m_folder + "/list.kx");
    EXPECT_EQ(Strings(m_main->GetAudioList()), (std::vector<wxString>{Data("tone.mp3")}));
    EXPECT_EQ(Strings(m_main->GetVideoList()), (std::vector<wxString>{Data("clip.wmv")}));
    EXPECT_EQ(Strings(m_main->GetCDList()), (std::vector<wxString>{"/no/such/file.mp3"}));
    EXPECT_EQ(Occurrences(testing_support::ReadLog(), "ERROR : FormMain :: AddFile - Void file name"), 2);
}

TEST_F(PlaylistFileWindowTest, LoadingAnEmptyFileEmptiesTheLists)
{
    FillStore();
    WriteBytes(m_folder + "/empty.kx", "");
    m_main->LoadPlaylist(m_folder + "/empty.kx");
    EXPECT_TRUE(m_main->GetAudioList().IsEmpty());
    EXPECT_TRUE(m_main->GetVideoList().IsEmpty());
    EXPECT_TRUE(m_main->GetCDList().IsEmpty());
    for (int kind = 0; kind < 3; ++kind)
        EXPECT_EQ(List(FormPlaylist::ListKind(kind)).GetListBox()->GetCount(), 0u);
    EXPECT_EQ(Occurrences(testing_support::ReadLog(), "ERROR : FormMain :: AddFile - Void file name"), 1);
}

TEST_F(PlaylistFileWindowTest, MissingOrUnnamedFileLeavesTheListsAlone)
{
    FillStore();
    m_main->LoadPlaylist(m_folder + "/missing.kx");
    m_main->LoadPlaylist(wxString());
    EXPECT_EQ(m_main->GetAudioList().GetCount(), 2u);
    EXPECT_EQ(List(FormPlaylist::Audio).GetCount(), 2);
    wxString log = testing_support::ReadLog();
    EXPECT_NE(log.Find("ERROR : FormMain :: NextFile - End - Can't read playlist file"), wxNOT_FOUND);
    EXPECT_NE(log.Find("ERROR : FormMain :: NextFile - End - Void playlist file name"), wxNOT_FOUND);
}

TEST_F(PlaylistFileWindowTest, Utf16FileWithNonAsciiNamesLoads)
{
    wxString dir = m_folder + wxString::FromUTF8("/Musique \xC3\xA9t\xC3\xA9");
    wxFileName::Mkdir(dir);
    wxString song = dir + wxString::FromUTF8("/\xC3\x84rger.wav");
    ASSERT_TRUE(wxCopyFile(Data("tone.wav"), song));
    std::u16string text;
    for (wxUniChar c : song + "\r\nD:7\r\n")
        text += static_cast<char16_t>(c.GetValue());
    std::string bytes("\xFF\xFE", 2);
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    WriteBytes(m_folder + "/utf16.kx", bytes);
    m_main->LoadPlaylist(m_folder + "/utf16.kx");
    EXPECT_EQ(Strings(m_main->GetAudioList()), (std::vector<wxString>{song}));
    EXPECT_EQ(Strings(List(FormPlaylist::Audio).GetNames()),
              (std::vector<wxString>{wxString::FromUTF8("\xC3\x84rger.wav")}));
    EXPECT_EQ(Strings(m_main->GetCDList()), (std::vector<wxString>{"D:7"}));
}

TEST_F(PlaylistFileWindowTest, FailedSaveIsLoggedAndKeepsThePreviousFile)
{
    FillStore();
    wxString target = m_folder + "/no-such-folder/list.kx";
    m_main->SavePlaylist(target);
    EXPECT_NE(testing_support::ReadLog().Find(
                  "ERROR : FormMain :: SavePlaylist - Can't write playlist file " + target),
              wxNOT_FOUND);

    // A folder where the file should be cannot be replaced either.
    wxString folder = m_folder + "/taken.kx";
    wxFileName::Mkdir(folder);
    WriteBytes(folder + "/inside", "kept");
    m_main->SavePlaylist(folder);
    EXPECT_EQ(ReadBytes(folder + "/inside"), "kept");
    EXPECT_NE(testing_support::ReadLog().Find(
                  "ERROR : FormMain :: SavePlaylist - Can't write playlist file " + folder),
              wxNOT_FOUND);
}

} // namespace
} // namespace playlist_test
