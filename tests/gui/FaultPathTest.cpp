// File names a person can have on disk: spaces, quotes, per cent signs and
// printf conversions, shell and wildcard characters, a line break, bytes that
// are not UTF-8. Each is found by AddFolder and AddFile, plays, and survives a
// playlist save and load, or is left out of the playlist with a log line when
// a line of text cannot hold it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <iterator>
#include <map>
#include <set>
#include <wx/filefn.h>
#include <wx/slider.h>

#include "gui/FaultTest.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/TrackList.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;
using namespace fault_test;

namespace {

struct OddName {
    const char* bytes; // the name on disk, as bytes
    const char* source;
    bool fitsOnALine;
};

const OddName kOddNames[] = {
    {"with  two spaces .wav", "tone.wav", true},
    {"quote \"double\" and 'single'.ogg", "tone.ogg", true},
    {"100% sure %s%s%n %d.mp3", "tone.mp3", true},
    {"shell $(touch pwned) `id` ; & | > x.wav", "tone.wav", true},
    {"wild * ? [ab] {c,d}.ac3", "tone.ac3", true},
    {"back\\slash.wma", "tone.wma", true},
    {"new\nline.ogg", "tone.ogg", false},
    {"tab\there.wav", "tone.wav", true},
    {"caf\xE9 latin-1.ogg", "tone.ogg", true},
    {"\xFF\xFE not text.wav", "tone.wav", true},
    {"\xC3\xA9t\xC3\xA9 UTF-8.mp3", "tone.mp3", true},
};

class FaultPathTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = TempFolder() + "/odd 'names' %d";
        ASSERT_TRUE(wxFileName::Mkdir(m_folder, 0755));
        const std::string folder = Native(m_folder);
        for (const OddName& odd : kOddNames) {
            std::string bytes;
            ASSERT_TRUE(ReadBytes(DataFile(odd.source), bytes));
            const std::string path = folder + "/" + odd.bytes;
            int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            ASSERT_GE(fd, 0) << odd.bytes;
            ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
            ::close(fd);
            m_original[odd.bytes] = bytes;
        }
        m_form = CreateMainWindow();
    }
    void TearDown() override { CloseMainWindow(); }

    // The name on disk that a path of the store stands for.
    std::string DiskName(const wxString& path)
    {
        std::string native = Native(path);
        return native.substr(native.find_last_of('/') + 1);
    }

    void ExpectEveryNameFiledAsAudio()
    {
        ASSERT_EQ(m_form->GetAudioList().GetCount(), std::size(kOddNames));
        EXPECT_TRUE(m_form->GetCDList().IsEmpty());
        std::set<std::string> found;
        for (const wxString& path : m_form->GetAudioList())
            found.insert(DiskName(path));
        for (const OddName& odd : kOddNames)
            EXPECT_EQ(found.count(odd.bytes), 1u) << odd.bytes;
    }

    wxString m_folder;
    std::map<std::string, std::string> m_original;
    FormMain* m_form = nullptr;
};

TEST_F(FaultPathTest, AddFolderAndAddFileFindEveryNameAndEachPlays)
{
    m_form->AddFolder(m_folder);
    ExpectEveryNameFiledAsAudio();
    EXPECT_EQ(PlaylistWindow()->GetTrackList(FormPlaylist::Audio).GetCount(),
              static_cast<int>(std::size(kOddNames)));

    const wxArrayString paths = m_form->GetAudioList();
    m_form->ClearPlaylist();
    for (const wxString& path : paths)
        m_form->AddFile(path);
    ExpectEveryNameFiledAsAudio();

    for (const wxString& path : paths) {
        SCOPED_TRACE(DiskName(path));
        m_form->SetFile(path, true, true);
        ASSERT_EQ(m_form->GetFileState(), Started);
        EXPECT_TRUE(WaitFor([this] { return m_form->GetPositionSlider()->GetValue() > 0; }));
        EXPECT_EQ(m_form->GetCurrentFile(), path);
        m_form->Stop();
    }
    // Printf conversions in a name are text, never a format.
    EXPECT_NE(ReadLog().Find("100% sure %s%s%n %d"), wxNOT_FOUND);
    for (const OddName& odd : kOddNames) {
        std::string bytes;
        EXPECT_TRUE(ReadNativeBytes(Native(m_folder) + "/" + odd.bytes, bytes)) << odd.bytes;
        EXPECT_EQ(bytes, m_original[odd.bytes]) << odd.bytes;
    }
    // Nothing in a name was run.
    EXPECT_FALSE(wxFileExists(m_folder + "/pwned"));
    EXPECT_FALSE(wxFileExists("pwned"));
}

TEST_F(FaultPathTest, PlaylistSaveAndLoadKeepEveryNameThatFitsOnALine)
{
    m_form->AddFolder(m_folder);
    ExpectEveryNameFiledAsAudio();
    const wxArrayString before = m_form->GetAudioList();
    const wxString playlist = m_folder + "/list \"%s\" 100%.kx";
    m_form->SavePlaylist(playlist);
    EXPECT_NE(ReadLog().Find("ERROR : PlaylistFile :: Format - Path that cannot stand on one line left out"),
              wxNOT_FOUND);
    m_form->LoadPlaylist(playlist);

    std::vector<std::string> expected;
    for (const wxString& path : before) {
        std::string name = DiskName(path);
        if (name.find('\n') == std::string::npos)
            expected.push_back(name);
    }
    std::vector<std::string> loaded;
    for (const wxString& path : m_form->GetAudioList())
        loaded.push_back(DiskName(path));
    EXPECT_EQ(loaded, expected);
    EXPECT_TRUE(m_form->GetCDList().IsEmpty());

    // What came back plays.
    for (const wxString& path : m_form->GetAudioList()) {
        SCOPED_TRACE(DiskName(path));
        m_form->SetFile(path, true, true);
        EXPECT_EQ(m_form->GetFileState(), Started);
        m_form->Stop();
    }
}

} // namespace
