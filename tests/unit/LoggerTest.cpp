#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

#include "log/Logger.h"

using namespace BrelkosPlayer;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class LoggerTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brelkos-logXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_path = m_folder + "/BrelkosPlayer.log";
    }
    void TearDown() override
    {
        unlink(m_path.c_str());
        rmdir(m_folder.c_str());
    }
    std::string m_folder;
    std::string m_path;
};

TEST_F(LoggerTest, NewLoggerEmptiesThePreviousRunsLog)
{
    {
        std::ofstream old(m_path);
        old << "line of the last run\n";
    }
    Logger logger(wxString::FromUTF8(m_path.c_str()));
    EXPECT_EQ(ReadFile(m_path), "");
    LogMessage("Number of tracks : %i/%i", 3, 12);
    LogText(wxString::FromUTF8("FormSearch :: LBSearchMouseUp - é %s 100%"));
    EXPECT_EQ(ReadFile(m_path), "Number of tracks : 3/12\nFormSearch :: LBSearchMouseUp - é %s 100%\n");
}

TEST_F(LoggerTest, NullFormatWritesNothing)
{
    Logger logger(wxString::FromUTF8(m_path.c_str()));
    LogMessage(nullptr);
    EXPECT_EQ(ReadFile(m_path), "");
}

TEST_F(LoggerTest, LongLinesAreCutToTheBufferOnACharacterBoundary)
{
    Logger logger(wxString::FromUTF8(m_path.c_str()));
    LogMessage("%s", std::string(400, 'x').c_str());
    // 254 ASCII bytes then two-byte characters: the one that would straddle
    // the 255-byte limit must go whole.
    LogMessage("%s%s", std::string(254, 'y').c_str(), "éééé");
    std::string text = ReadFile(m_path);
    EXPECT_EQ(text, std::string(255, 'x') + "\n" + std::string(254, 'y') + "\n");
}

TEST_F(LoggerTest, UnwritableLogStillEchoesToTheConsole)
{
    Logger logger(wxString::FromUTF8((m_folder + "/no/such/folder/log").c_str()));
    testing::internal::CaptureStdout();
    LogMessage("first %d", 1);
    LogText("second");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "first 1\nsecond\n");
}

TEST_F(LoggerTest, LinesOfSeveralThreadsNeverMix)
{
    Logger logger(wxString::FromUTF8(m_path.c_str()));
    const int threads = 4;
    const int lines = 500;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([t] {
            std::string body(100, static_cast<char>('a' + t));
            for (int i = 0; i < lines; ++i)
                LogMessage("%d:%s", t, body.c_str());
        });
    for (auto& worker : workers)
        worker.join();
    std::istringstream text(ReadFile(m_path));
    std::string line;
    int count = 0;
    while (std::getline(text, line)) {
        ++count;
        ASSERT_EQ(line.size(), 102u) << line;
        char mark = line[2];
        EXPECT_EQ(line, std::string(1, static_cast<char>('0' + (mark - 'a'))) + ":" + std::string(100, mark));
    }
    EXPECT_EQ(count, threads * lines);
}

} // namespace
