// Where the program finds its data and writes its log: beside itself in a
// build or portable folder, in the data and state folders once installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include "files/DataPaths.h"
#include "gui/FaultTest.h"

using BrelkosPlayer::DataPaths;

namespace {

class DataPathsTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/datapaths-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        ASSERT_TRUE(wxFileName::Mkdir(m_root + "/usr/bin", 0755, wxPATH_MKDIR_FULL));
    }
    void TearDown() override
    {
        chmod((m_root + "/usr/bin").fn_str(), 0755);
        wxFileName::Rmdir(m_root, wxPATH_RMDIR_RECURSIVE);
    }
    wxString m_root;
};

TEST_F(DataPathsTest, ImagesBesideTheProgramWinOverTheInstalledDataFolder)
{
    const wxString bin = m_root + "/usr/bin";
    EXPECT_EQ(DataPaths::DataFolder(bin), m_root + "/usr/share/brelkosplayer");
    ASSERT_TRUE(wxFileName::Mkdir(bin + "/rsc", 0755));
    EXPECT_EQ(DataPaths::DataFolder(bin), bin);
}

TEST_F(DataPathsTest, TheLogGoesToTheStateFolderWhenTheProgramsFolderIsReadOnly)
{
    const wxString bin = m_root + "/usr/bin";
    EXPECT_EQ(DataPaths::LogFolder(bin), bin);

    ASSERT_EQ(chmod(bin.fn_str(), 0555), 0);
    ASSERT_TRUE(wxRemoveFile(bin + "/BrelkosPlayer.log"));
    fault_test::PermissionsHold hold;
    if (!hold.Holds())
        GTEST_SKIP() << "folder permissions do not hold for this process";
    struct Case {
        const char* stateHome; // null: unset
        wxString expected;
    };
    const Case cases[] = {
        {"/state", m_root + "/state/brelkosplayer"},
        {nullptr, m_root + "/home/.local/state/brelkosplayer"},
        {"relative/state", m_root + "/home/.local/state/brelkosplayer"}, // ignored, as XDG says
    };
    wxString home;
    wxGetEnv("HOME", &home);
    wxSetEnv("HOME", m_root + "/home");
    for (const Case& c : cases) {
        if (c.stateHome)
            wxSetEnv("XDG_STATE_HOME", c.stateHome[0] == '/' ? m_root + c.stateHome : wxString(c.stateHome));
        else
            wxUnsetEnv("XDG_STATE_HOME");
        EXPECT_EQ(DataPaths::LogFolder(bin), c.expected) << (c.stateHome ? c.stateHome : "unset");
        EXPECT_TRUE(wxDirExists(c.expected));
    }
    wxSetEnv("HOME", home);
    wxUnsetEnv("XDG_STATE_HOME");
    EXPECT_FALSE(wxFileExists(bin + "/BrelkosPlayer.log"));
}

} // namespace
