// Files and a folder dropped on the main window or the playlist window, through
// the windows' own drop targets.
#include <gtest/gtest.h>

#include <initializer_list>
#include <wx/dnd.h>
#include <wx/filefn.h>
#include <wx/filename.h>

#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

wxArrayString Sorted(wxArrayString paths)
{
    paths.Sort();
    return paths;
}

wxArrayString Paths(std::initializer_list<wxString> paths)
{
    wxArrayString list;
    for (const wxString& path : paths)
        list.Add(path);
    return list;
}

TEST(DropTest, TwoFilesAndAFolderAreFiledInTheirListsAndNothingStarts)
{
    const wxString folder = TempFolder() + "/dropped";
    ASSERT_TRUE(wxFileName::Mkdir(folder, 0755));
    ASSERT_TRUE(wxCopyFile(DataFile("tone.ogg"), folder + "/tone.ogg"));
    ASSERT_TRUE(wxCopyFile(DataFile("clip.mkv"), folder + "/clip.mkv"));
    ASSERT_TRUE(wxCopyFile(DataFile("README.md"), folder + "/README.md"));

    FormMain* form = CreateMainWindow();
    for (wxFrame* window : {static_cast<wxFrame*>(form), static_cast<wxFrame*>(form->GetPlaylistWindow())}) {
        form->ClearPlaylist();
        auto* target = dynamic_cast<wxFileDropTarget*>(window->GetDropTarget());
        ASSERT_NE(target, nullptr) << window->GetTitle();
        EXPECT_TRUE(target->OnDropFiles(10, 10, Paths({DataFile("tone.wav"), DataFile("clip.avi"), folder})));

        EXPECT_EQ(Sorted(form->GetAudioList()), Sorted(Paths({DataFile("tone.wav"), folder + "/tone.ogg"})))
            << window->GetTitle();
        EXPECT_EQ(Sorted(form->GetVideoList()), Sorted(Paths({DataFile("clip.avi"), folder + "/clip.mkv"})))
            << window->GetTitle();
        EXPECT_EQ(form->GetPlayer(), nullptr);
        EXPECT_EQ(form->GetFileState(), NoFile);
    }
    CloseMainWindow();
}

} // namespace
