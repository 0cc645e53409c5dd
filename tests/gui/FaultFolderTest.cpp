// AddFolder on folders that fight back: parts that cannot be read, and links
// that lead back into the folder itself.
#include <gtest/gtest.h>

#include <csignal>
#include <wx/filefn.h>

#include "gui/FaultTest.h"
#include "gui/FormMain.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;
using namespace fault_test;

namespace {

std::vector<wxString> Sorted(const wxArrayString& list)
{
    std::vector<wxString> sorted(list.begin(), list.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

// A walk that never returns would leave the whole test program waiting for
// its time-out; the alarm ends it at once, by name.
class Deadline {
public:
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
};

class FaultFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_root = TempFolder() + "/music";
        ASSERT_TRUE(wxFileName::Mkdir(m_root, 0755));
        m_form = CreateMainWindow();
    }
    void TearDown() override
    {
        // Readable again, so the temporary folders can go.
        for (const wxString& folder : m_locked)
            ::chmod(Native(folder).c_str(), 0755);
        CloseMainWindow();
    }

    wxString Put(const wxString& relative, const char* source = "tone.wav")
    {
        wxString path = m_root + "/" + relative;
        wxFileName::Mkdir(wxFileName(path).GetPath(), 0755, wxPATH_MKDIR_FULL);
        EXPECT_TRUE(wxCopyFile(DataFile(source), path)) << relative;
        return path;
    }

    void Lock(const wxString& relative, mode_t mode)
    {
        wxString folder = m_root + "/" + relative;
        ASSERT_EQ(::chmod(Native(folder).c_str(), mode), 0);
        m_locked.push_back(folder);
    }

    wxString m_root;
    std::vector<wxString> m_locked;
    FormMain* m_form = nullptr;
};

TEST_F(FaultFolderTest, UnreadableFoldersAreSkippedAndEverythingElseIsAdded)
{
    const wxString top = Put("top.wav");
    const wxString deep = Put("open/deep deeper/deep.ogg", "tone.ogg");
    Put("locked/hidden.mp3", "tone.mp3");
    Put("no entry/inside.wav");
    Put("unlisted/listed.wav");
    Lock("locked", 0);
    Lock("no entry", 0644); // can be listed, not entered
    Lock("unlisted", 0111); // can be entered, not listed

    PermissionsHold hold;
    if (!hold.Holds())
        GTEST_SKIP() << "file permissions are not enforced for this user here";
    {
        Deadline deadline(60);
        m_form->AddFolder(m_root);
        m_form->AddFolder(m_root + "/locked");
    }
    EXPECT_EQ(Sorted(m_form->GetAudioList()), (std::vector<wxString>{deep, top}));
    // Listed but out of reach: like a missing file, it is filed as a CD track.
    EXPECT_EQ(Sorted(m_form->GetCDList()), (std::vector<wxString>{m_root + "/no entry/inside.wav"}));

    // Still working: what was added plays.
    m_form->SetFile(top, true, true);
    EXPECT_EQ(m_form->GetFileState(), Started);
    m_form->Stop();
}

// Links back up the tree make the walk endless (and every file found under
// endless names): each folder is walked once, whatever names lead to it.
TEST_F(FaultFolderTest, LinksBackIntoTheFolderAddEachFileOnce)
{
    const wxString song = Put("song.wav");
    const wxString other = Put("sub/other.ogg", "tone.ogg");
    ASSERT_EQ(::symlink(".", Native(m_root + "/again").c_str()), 0);
    ASSERT_EQ(::symlink("..", Native(m_root + "/sub/up").c_str()), 0);
    ASSERT_EQ(::symlink(Native(m_root).c_str(), Native(m_root + "/sub/home").c_str()), 0);
    // A link to a file and a dangling link are ordinary entries.
    ASSERT_EQ(::symlink(Native(song).c_str(), Native(m_root + "/linked.wav").c_str()), 0);
    ASSERT_EQ(::symlink("missing.mp3", Native(m_root + "/dangling.mp3").c_str()), 0);
    {
        Deadline deadline(60);
        m_form->AddFolder(m_root);
    }
    EXPECT_EQ(Sorted(m_form->GetAudioList()), (std::vector<wxString>{m_root + "/linked.wav", song, other}));
    // A dangling link is no file: like a missing one, it is filed as a CD track.
    EXPECT_EQ(Sorted(m_form->GetCDList()), (std::vector<wxString>{m_root + "/dangling.mp3"}));
}

} // namespace
