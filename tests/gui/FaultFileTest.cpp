// Playlist and configuration files that are huge, binary or one endless line;
// a playlist saved where it cannot be written; a disk that fills up during a
// save or a conversion. Each ends with the program working and the files that
// were there before left as they were.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <wx/filefn.h>
#include <wx/slider.h>

#include "encoding/EncodeObserver.h"
#include "encoding/EncoderThread.h"
#include "gui/FaultTest.h"
#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/TrackList.h"
#include "lame/TestMp3.h"
#include "lame/TestWav.h"
#include "support/GuiTest.h"

using namespace BrelkosPlayer;
using namespace testing_support;
using namespace fault_test;

namespace {

std::string Binary(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// Many lines that name files that are not there: every one lands in the CD list.
std::string ManyLines(size_t count)
{
    std::string bytes;
    for (size_t i = 0; i < count; ++i)
        bytes += "/nowhere/album " + std::to_string(i / 12) + "/track " + std::to_string(i) + ".mp3\r\n";
    return bytes;
}

struct BadFile {
    const char* name;
    std::string bytes;
};

std::vector<BadFile> BadFiles()
{
    return {
        {"binary", Binary(4 << 20, 1)},
        {"binary with a mark", "\xFF\xFE" + Binary(1 << 20, 2)},
        // 10 MB (less under a sanitizer, where GTK's layout of it alone takes minutes).
        {"one long line", std::string((10u << 20) / kHugeDivisor, 'a')},
        {"one long line of multi-byte characters",
         [] {
             std::string line;
             while (line.size() < (10u << 20) / kHugeDivisor)
                 line += "\xC3\xA9t\xC3\xA9 ";
             return line + "\r\n/after/it.mp3\r\n";
         }()},
        {"huge", ManyLines(200000 / kHugeDivisor)},
    };
}

bool ProgramWorks(FormMain* form)
{
    form->AddFile(DataFile("tone.ogg"));
    if (form->GetPlayer())
        form->Stop();
    form->SetFile(DataFile("tone.ogg"), true, true);
    bool playing = form->GetFileState() == Started &&
                   WaitFor([form] { return form->GetPositionSlider()->GetValue() > 0; }, 5000);
    if (form->GetPlayer())
        form->Stop();
    return playing;
}

long long Milliseconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
        .count();
}

class FaultFileTest : public testing::Test {
protected:
    void SetUp() override { m_folder = TempFolder(); }
    void TearDown() override { CloseMainWindow(); }
    wxString m_folder;
};

TEST_F(FaultFileTest, BadPlaylistFilesLoadWhatTheyCanAndStayAsTheyWere)
{
    FormMain* form = CreateMainWindow();
    for (const BadFile& bad : BadFiles()) {
        SCOPED_TRACE(bad.name);
        const wxString path = m_folder + "/" + bad.name + ".kx";
        ASSERT_TRUE(WriteBytes(path, bad.bytes));
        const auto start = std::chrono::steady_clock::now();
        form->LoadPlaylist(path);
        // The window must be able to show what was loaded.
        Pump(50);
        const long long ms = Milliseconds(start);
        std::printf("[ fault    ] playlist %s (%zu bytes): %zu entries in %lld ms\n", bad.name,
                    bad.bytes.size(), form->GetCDList().GetCount() + form->GetAudioList().GetCount(), ms);
        if (kTimeIsMeaningful) {
            EXPECT_LT(ms, 30000);
        }
        EXPECT_EQ(ReadBytes(path), bad.bytes);
        // The window shows every entry of the store (a missing .mp3 is a CD
        // track to the store and an audio entry to the window).
        int shown = 0;
        for (FormPlaylist::ListKind kind : {FormPlaylist::Audio, FormPlaylist::Video, FormPlaylist::CD})
            shown += PlaylistWindow()->GetTrackList(kind).GetCount();
        EXPECT_EQ(static_cast<size_t>(shown), form->GetAudioList().GetCount() +
                                                  form->GetVideoList().GetCount() +
                                                  form->GetCDList().GetCount());
        EXPECT_TRUE(ProgramWorks(form));
    }
}

// The configuration file beside the executable, swapped for a bad one for the
// length of a start-up.
class ConfigurationSwap {
public:
    explicit ConfigurationSwap(const std::string& bytes)
    {
        m_path = ExecutableFolder() + "/BrelkosPlayer.cfg";
        m_had = ReadBytes(m_path, m_saved);
        WriteBytes(m_path, bytes);
    }
    ~ConfigurationSwap()
    {
        if (m_had)
            WriteBytes(m_path, m_saved);
        else
            wxRemoveFile(m_path);
    }
    const wxString& Path() const { return m_path; }

private:
    wxString m_path;
    std::string m_saved;
    bool m_had = false;
};

TEST_F(FaultFileTest, BadConfigurationFilesStillLetTheProgramStart)
{
    std::vector<BadFile> files = BadFiles();
    // Endless designs: a table as big as the file allows.
    std::string designs = "[styles]\n";
    for (int i = 0; designs.size() < (16u << 20) / kHugeDivisor; ++i)
        designs += "name D" + std::to_string(i) + "\nGeneralColor #102030\nListColor RGB(1,2,3)\n";
    files.push_back({"huge styles section", designs + "selected D7\n[end]\n"});
    files.push_back({"binary after a section", "[styles]\n" + Binary(1 << 20, 3)});
    for (const BadFile& bad : files) {
        SCOPED_TRACE(bad.name);
        ConfigurationSwap swap(bad.bytes);
        const auto start = std::chrono::steady_clock::now();
        FormMain* form = CreateMainWindow();
        const long long ms = Milliseconds(start);
        std::printf("[ fault    ] configuration %s (%zu bytes): started in %lld ms\n", bad.name,
                    bad.bytes.size(), ms);
        if (kTimeIsMeaningful) {
            EXPECT_LT(ms, 30000);
        }
        ASSERT_NE(PlaylistWindow(), nullptr);
        EXPECT_TRUE(ProgramWorks(form));
        CloseMainWindow();
        EXPECT_EQ(ReadBytes(swap.Path()), bad.bytes);
    }
}

// The store as a user fills it: enough paths for a file of some size.
void FillStore(FormMain* form, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        form->AddFile(wxString::Format("E:%zu", i));
}

TEST_F(FaultFileTest, SavingIntoAReadOnlyFolderFailsAndKeepsThePreviousPlaylist)
{
    const std::string previous = "/music/kept.mp3\r\n";
    SmallDisk disk(1 << 20);
    std::unique_ptr<PermissionsHold> hold;
    wxString folder;
    if (disk.IsMounted()) {
        folder = disk.Path();
        ASSERT_TRUE(WriteBytes(folder + "/list.kx", previous));
        ASSERT_TRUE(disk.MakeReadOnly());
    } else {
        // No mount here: a folder without write permission, enforced even for root.
        folder = m_folder + "/read-only";
        ASSERT_TRUE(wxFileName::Mkdir(folder, 0755));
        ASSERT_TRUE(WriteBytes(folder + "/list.kx", previous));
        ASSERT_EQ(::chmod(Native(folder).c_str(), 0555), 0);
        hold.reset(new PermissionsHold);
        if (!hold->Holds())
            GTEST_SKIP() << disk.Reason() << "; and file permissions are not enforced for this user";
    }
    FormMain* form = CreateMainWindow();
    FillStore(form, 3);
    for (const wxString& name : {wxString("/list.kx"), wxString("/new.kx")}) {
        form->SavePlaylist(folder + name);
        EXPECT_NE(
            ReadLog().Find("ERROR : FormMain :: SavePlaylist - Can't write playlist file " + folder + name),
            wxNOT_FOUND);
    }
    EXPECT_EQ(ReadBytes(folder + "/list.kx"), previous);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"list.kx"}));
    hold.reset();
    ::chmod(Native(folder).c_str(), 0755);

    // Saved elsewhere, the same store comes back whole.
    form->SavePlaylist(m_folder + "/elsewhere.kx");
    form->LoadPlaylist(m_folder + "/elsewhere.kx");
    EXPECT_EQ(form->GetCDList().GetCount(), 3u);
    EXPECT_TRUE(ProgramWorks(form));
}

TEST_F(FaultFileTest, AFullDiskDuringASaveKeepsThePreviousPlaylist)
{
    SmallDisk disk(64 << 10);
    if (!disk.IsMounted())
        GTEST_SKIP() << disk.Reason();
    const wxString target = disk.Path() + "/list.kx";
    const std::string previous = "/music/kept.mp3\r\nD:1\r\n";
    ASSERT_TRUE(WriteBytes(target, previous));
    ASSERT_TRUE(disk.Fill("filler", 8 << 10));

    FormMain* form = CreateMainWindow();
    FillStore(form, 4000); // about 30 kB of playlist
    form->SavePlaylist(target);
    EXPECT_NE(ReadLog().Find("ERROR : FormMain :: SavePlaylist - Can't write playlist file " + target),
              wxNOT_FOUND);
    EXPECT_EQ(ReadBytes(target), previous);
    EXPECT_EQ(Names(disk.Path()), (std::vector<std::string>{"filler", "list.kx"}));

    // With room again, the save goes through and reads back whole.
    ASSERT_TRUE(wxRemoveFile(disk.Path() + "/filler"));
    form->SavePlaylist(target);
    form->LoadPlaylist(target);
    EXPECT_EQ(form->GetCDList().GetCount(), 4000u);
    EXPECT_EQ(Names(disk.Path()), (std::vector<std::string>{"list.kx"}));
    EXPECT_TRUE(ProgramWorks(form));
}

class Finish : public EncodeObserver {
public:
    void EncodeProgress(int) override {}
    void EncodeMessage(const wxString& text) override { m_message = text.Clone(); }
    void EncodeFinished(int code) override { m_code = code; }
    int Code() const { return m_code; }
    wxString Message() const { return m_message; }

private:
    std::atomic<int> m_code{-1};
    wxString m_message;
};

int Convert(const wxString& wav, const wxString& mp3, wxString* message)
{
    auto finish = std::make_shared<Finish>();
    EncodingOptions options;
    auto* thread = new EncoderThread(&options, wav, mp3, finish);
    if (thread->Create() != wxTHREAD_NO_ERROR || thread->Run() != wxTHREAD_NO_ERROR)
        return -1;
    WaitFor([&] { return finish->Code() >= 0; }, 60000);
    if (message)
        *message = finish->Message();
    return finish->Code();
}

TEST_F(FaultFileTest, AFullDiskDuringAConversionKeepsTheEarlierMp3)
{
    SmallDisk disk(256 << 10);
    if (!disk.IsMounted())
        GTEST_SKIP() << disk.Reason();
    encode_test::WavShape shape;
    shape.frames = 44100 * 20; // about 400 kB of MP3 at the default settings
    const wxString wav = m_folder + "/in.wav";
    ASSERT_TRUE(WriteBytes(wav, encode_test::MakeWav(shape)));
    const wxString mp3 = disk.Path() + "/song.mp3";
    const std::string earlier = "an earlier MP3 of the user's";
    ASSERT_TRUE(WriteBytes(mp3, earlier));

    wxString message;
    EXPECT_EQ(Convert(wav, mp3, &message), EncoderThread::EncodeWriteFailed);
    EXPECT_EQ(message, wxString::FromUTF8("Erreur d'écriture du fichier MP3"));
    EXPECT_EQ(ReadBytes(mp3), earlier);
    EXPECT_EQ(Names(disk.Path()), (std::vector<std::string>{"song.mp3"}));

    // A shorter one fits, and replaces it.
    shape.frames = 44100 * 2;
    ASSERT_TRUE(WriteBytes(wav, encode_test::MakeWav(shape)));
    EXPECT_EQ(Convert(wav, mp3, nullptr), EncoderThread::EncodeOk);
    bool walkedAll = false;
    EXPECT_FALSE(encode_test::ScanMp3(ReadBytes(mp3), &walkedAll).empty());
    EXPECT_TRUE(walkedAll);
    EXPECT_EQ(Names(disk.Path()), (std::vector<std::string>{"song.mp3"}));
}

} // namespace
