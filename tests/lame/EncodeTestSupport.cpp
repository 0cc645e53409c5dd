#include "lame/EncodeTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/utils.h>

#include "encoding/EncoderThread.h"
#include "lame/TestWav.h"
#include "log/Logger.h"

namespace encode_test {

namespace {

std::string& RunFolder()
{
    static std::string folder;
    return folder;
}

// The encoder thread is a wxThread: the toolkit's base must be up, and the
// log goes to a file of this run so the tests can read it.
class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(wxInitialize());
        char folderTemplate[] = "/tmp/brelkos-lame-tests-XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        RunFolder() = folderTemplate;
        m_logger =
            std::make_unique<BrelkosPlayer::Logger>(wxString::FromUTF8(RunFolder() + "/BrelkosPlayer.log"));
    }
    void TearDown() override
    {
        m_logger.reset();
        wxFileName::Rmdir(wxString::FromUTF8(RunFolder()), wxPATH_RMDIR_RECURSIVE);
        wxUninitialize();
    }

private:
    std::unique_ptr<BrelkosPlayer::Logger> m_logger;
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

} // namespace

std::string TempFolder()
{
    static int counter = 0;
    std::string folder = RunFolder() + "/t" + std::to_string(++counter);
    mkdir(folder.c_str(), 0700);
    return folder;
}

std::string ReadLog()
{
    return ReadBytes(RunFolder() + "/BrelkosPlayer.log");
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

Conversion Convert(const BrelkosPlayer::EncodingOptions& options, const std::string& wavPath,
                   const std::string& mp3Path)
{
    Conversion result;
    const size_t logStart = ReadLog().size();
    auto observer = std::make_shared<RecordingObserver>();
    auto* thread = new BrelkosPlayer::EncoderThread(&options, wxString::FromUTF8(wavPath),
                                                    wxString::FromUTF8(mp3Path), observer);
    if (thread->Create() != wxTHREAD_NO_ERROR) {
        delete thread;
        ADD_FAILURE() << "the encoder thread was not created";
        return result;
    }
    if (thread->Run() != wxTHREAD_NO_ERROR) {
        ADD_FAILURE() << "the encoder thread did not start";
        return result;
    }
    result.finished = observer->WaitFinished(60000);
    result.code = observer->Code();
    result.progress = observer->Progress();
    result.messages = observer->Messages();
    result.log = ReadLog().substr(logStart);
    // The thread deletes itself, dropping its share of the observer, after
    // its last notice; a test program that ends before that makes wx abort
    // over a thread that was not terminated.
    for (int waited = 0; observer.use_count() > 1 && waited < 60000; waited += 5)
        wxMilliSleep(5);
    return result;
}

} // namespace encode_test
