// A file the player refuses: after the failure line of the sound library, the
// decoder's own reason, so a user can tell a broken file from a missing package.
#include <gtest/gtest.h>

#include <wx/tokenzr.h>

#include "gui/FormMain.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;

namespace {

// The log's lines written from `start` on.
wxArrayString LinesSince(size_t start)
{
    return wxStringTokenize(ReadLog().Mid(start), "\n", wxTOKEN_STRTOK);
}

TEST(RefusalReason, FollowsTheLoadFailureOfABrokenFileAndOfAFormatNothingDecodes)
{
    struct Case {
        const char* file;
        const char* reason; // null: any words (the demuxer's, or a stall's)
    };
    const Case cases[] = {{"notmedia.wav", "Could not determine type of stream."},
                          {"truncated.ogg", nullptr}};
    FormMain* form = CreateMainWindow();
    for (const Case& c : cases) {
        const size_t start = ReadLog().size();
        form->SetFile(DataFile(c.file), true, true);
        const wxArrayString lines = LinesSince(start);
        const wxString prefix = "ERROR : AudioPlayerThread :: Load - Reason: ";
        size_t at = 0;
        while (at < lines.GetCount() && !lines[at].StartsWith(prefix))
            ++at;
        ASSERT_LT(at, lines.GetCount()) << c.file << "\n" << ReadLog().Mid(start);
        // Right after the library's failure line of the load.
        ASSERT_GT(at, 0u);
        EXPECT_TRUE(lines[at - 1].StartsWith("FMOD error (") &&
                    lines[at - 1].Contains("AudioPlayerThread\"@"))
            << lines[at - 1];
        if (c.reason)
            EXPECT_EQ(lines[at], prefix + c.reason);
        else
            EXPECT_GT(lines[at].length(), prefix.length()) << lines[at];
        EXPECT_NE(ReadLog().Find("FormMain :: LoadFile - Can't load " + DataFile(c.file)), wxNOT_FOUND);
    }
    CloseMainWindow();
}

} // namespace
