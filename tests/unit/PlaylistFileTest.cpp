#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>
#include <wx/dir.h>
#include <wx/filename.h>

#include "log/Logger.h"
#include "playlist/PlaylistFile.h"

using BrelkosPlayer::Logger;
using BrelkosPlayer::PlaylistFile;

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

std::vector<std::string> Utf8(const wxArrayString& entries)
{
    std::vector<std::string> out;
    for (const wxString& entry : entries)
        out.push_back(std::string(entry.utf8_str()));
    return out;
}

std::string Utf16LE(const std::u16string& text, bool withMark = true)
{
    std::string out = withMark ? std::string("\xFF\xFE", 2) : std::string();
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

std::string Utf16BE(const std::u16string& text)
{
    std::string out("\xFE\xFF", 2);
    for (char16_t c : text) {
        out += static_cast<char>(c >> 8);
        out += static_cast<char>(c & 0xFF);
    }
    return out;
}

std::string Utf32(const std::u32string& text, bool little)
{
    std::string out = little ? std::string("\xFF\xFE\0\0", 4) : std::string("\0\0\xFE\xFF", 4);
    for (char32_t c : text) {
        unsigned char b[4] = {static_cast<unsigned char>(c >> 24), static_cast<unsigned char>(c >> 16),
                              static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c)};
        if (little)
            out.append({static_cast<char>(b[3]), static_cast<char>(b[2]), static_cast<char>(b[1]),
                        static_cast<char>(b[0])});
        else
            out.append({static_cast<char>(b[0]), static_cast<char>(b[1]), static_cast<char>(b[2]),
                        static_cast<char>(b[3])});
    }
    return out;
}

class PlaylistFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = wxFileName::CreateTempFileName("playlist-file-test");
        wxRemoveFile(m_folder);
        wxFileName::Mkdir(m_folder, 0700);
        m_logger.reset(new Logger(m_folder + "/test.log"));
    }
    void TearDown() override { wxFileName::Rmdir(m_folder, wxPATH_RMDIR_RECURSIVE); }

    std::string Log() { return ReadBytes(m_folder + "/test.log"); }
    std::vector<std::string> Parse(const std::string& bytes)
    {
        wxArrayString entries;
        PlaylistFile::ParseEntries(bytes.data(), bytes.size(), entries);
        return Utf8(entries);
    }

    wxString m_folder;
    std::unique_ptr<Logger> m_logger;
};

using Lines = std::vector<std::string>;

struct ParseCase {
    const char* what;
    std::string bytes;
    Lines expected;
};

TEST_F(PlaylistFileTest, ParsesLinesEndsTrimmingAndTheStopAtAnEmptyLine)
{
    const ParseCase cases[] = {
        {"empty file gives one empty entry", "", {""}},
        {"CR LF", "a.mp3\r\nb.mp3\r\n", {"a.mp3", "b.mp3"}},
        {"LF", "a.mp3\nb.mp3\n", {"a.mp3", "b.mp3"}},
        {"CR", "a.mp3\rb.mp3\r", {"a.mp3", "b.mp3"}},
        {"mixed ends, no final end", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"empty first line goes on", "\r\nb.mp3\r\nc.mp3", {"", "b.mp3", "c.mp3"}},
        {"empty line in the middle stops", "a\r\n\r\nb\r\n", {"a"}},
        {"LF then CR is two line ends", "a\n\rb", {"a"}},
        {"spaces-only line is trimmed and reading goes on", "a\r\n   \r\nb", {"a", "", "b"}},
        {"trailing blanks and tabs go, leading stay", "  a.mp3 \t \r\n\tb.mp3\t", {"  a.mp3", "\tb.mp3"}},
        {"UTF-8 mark", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9.mp3\r\n", {"\xC3\xA9t\xC3\xA9.mp3"}},
        {"UTF-8 without mark",
         "/m/\xE2\x99\xAB/\xF0\x9F\x8E\xB5.ogg",
         {"/m/\xE2\x99\xAB/\xF0\x9F\x8E\xB5.ogg"}},
        {"UTF-16 LE", Utf16LE(u"\u00e9.mp3\r\nD:3\r\n"), {"\xC3\xA9.mp3", "D:3"}},
        {"UTF-16 BE", Utf16BE(u"\u00e9.mp3\nx"), {"\xC3\xA9.mp3", "x"}},
        {"UTF-16 surrogate pair", Utf16LE(u"\U0001F3B5.mp3"), {"\xF0\x9F\x8E\xB5.mp3"}},
        {"UTF-32 LE", Utf32(U"\u00c4.wav\r\nb", true), {"\xC3\x84.wav", "b"}},
        {"UTF-32 BE", Utf32(U"\u00c4.wav\rb", false), {"\xC3\x84.wav", "b"}},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(Parse(c.bytes), c.expected) << c.what;
}

TEST_F(PlaylistFileTest, SkipsAndLogsLinesThatAreNotValidInTheirEncoding)
{
    const ParseCase cases[] = {
        {"Latin-1 byte", "a\r\nCaf\xE9.mp3\r\nb", {"a", "b"}},
        {"overlong slash", "a\n\xC0\xAF.mp3\nb", {"a", "b"}},
        {"UTF-8 surrogate", "a\n\xED\xA0\x80.mp3\nb", {"a", "b"}},
        {"beyond U+10FFFF", "a\n\xF4\x90\x80\x80\nb", {"a", "b"}},
        {"lone continuation byte", "a\n\x80\nb", {"a", "b"}},
        {"cut sequence before the line end", "a\n\xE2\x82\nb", {"a", "b"}},
        {"cut sequence at the end", "a\n\xE2\x82", {"a"}},
        {"NUL inside a path", std::string("a\nx\0y.mp3\nb", 11), {"a", "b"}},
        {"invalid first line", "\xFF\xFF\nb\nc", {"b", "c"}},
        {"UTF-16 lone high surrogate",
         Utf16LE(u"a\n") + std::string("\x00\xD8", 2) + Utf16LE(u"x\nb", false),
         {"a", "b"}},
        {"UTF-16 odd length", Utf16LE(u"a\nb") + "\x41", {"a"}},
        {"UTF-32 out of range",
         Utf32(U"a\n", true) + std::string("\x00\x00\x11\x00", 4) + std::string("\n\0\0\0b\0\0\0", 8),
         {"a", "b"}},
    };
    for (const ParseCase& c : cases) {
        m_logger.reset(new Logger(m_folder + "/test.log"));
        EXPECT_EQ(Parse(c.bytes), c.expected) << c.what;
        EXPECT_NE(Log().find("ERROR : PlaylistFile :: ParseEntries - Invalid text, line "), std::string::npos)
            << c.what;
    }
}

TEST_F(PlaylistFileTest, FormatsUtf8WithCrLfAfterEveryLineAndNoMark)
{
    wxArrayString paths;
    paths.Add("/music/a.mp3");
    paths.Add(wxString::FromUTF8("/music/\xC3\xA9t\xC3\xA9.wav"));
    paths.Add("D:3");
    EXPECT_EQ(PlaylistFile::Format(paths), "/music/a.mp3\r\n/music/\xC3\xA9t\xC3\xA9.wav\r\nD:3\r\n");
    EXPECT_EQ(PlaylistFile::Format(wxArrayString()), "");
}

TEST_F(PlaylistFileTest, LeavesOutPathsThatWouldComeBackAsOtherPaths)
{
    wxArrayString paths;
    paths.Add("/a.mp3");
    paths.Add("/two\nlines.mp3");
    paths.Add("/b.mp3");
    EXPECT_EQ(PlaylistFile::Format(paths), "/a.mp3\r\n/b.mp3\r\n");
    EXPECT_NE(Log().find("ERROR : PlaylistFile :: Format"), std::string::npos);
}

TEST_F(PlaylistFileTest, WhatIsFormattedParsesBackToTheSamePaths)
{
    wxArrayString paths;
    paths.Add("  leading blanks stay.mp3");
    paths.Add(wxString::FromUTF8("C:\\Musique\\\xC3\x84rger \xE2\x99\xAB.wma"));
    paths.Add(wxString::FromUTF8("/home/u/\xF0\x9F\x8E\xB5/x.ogg"));
    paths.Add("E:12");
    std::string bytes = PlaylistFile::Format(paths);
    wxArrayString back;
    PlaylistFile::ParseEntries(bytes.data(), bytes.size(), back);
    EXPECT_EQ(Utf8(back), Utf8(paths));

    // A first path that starts with the character a byte-order mark is made of.
    paths.Insert(wxString(wxUniChar(0xFEFF)) + "x.mp3", 0);
    bytes = PlaylistFile::Format(paths);
    PlaylistFile::ParseEntries(bytes.data(), bytes.size(), back);
    EXPECT_EQ(Utf8(back), Utf8(paths));
}

TEST_F(PlaylistFileTest, WriteReplacesTheFileAndKeepsItsPermissions)
{
    wxString path = m_folder + "/list.kx";
    WriteBytes(path, "old contents that are longer than the new ones\r\n");
    chmod(path.fn_str(), 0640);
    ASSERT_TRUE(PlaylistFile::Write(path, "new\r\n"));
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    struct stat info;
    ASSERT_EQ(stat(path.fn_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    wxArrayString left;
    wxDir::GetAllFiles(m_folder, &left, "list.kx.*");
    EXPECT_TRUE(left.IsEmpty()) << "temporary file left behind";
}

TEST_F(PlaylistFileTest, WriteFailsWithoutTouchingAnythingWhenTheTargetCannotBeWritten)
{
    EXPECT_FALSE(PlaylistFile::Write(m_folder + "/no/such/folder/list.kx", "x\r\n"));
    EXPECT_FALSE(PlaylistFile::Write(wxString(), "x\r\n"));
    wxString folder = m_folder + "/a-folder";
    wxFileName::Mkdir(folder);
    EXPECT_FALSE(PlaylistFile::Write(folder, "x\r\n"));
    EXPECT_TRUE(wxDirExists(folder));
}

TEST_F(PlaylistFileTest, WriteThatFailsPartWayKeepsThePreviousFile)
{
    wxString path = m_folder + "/list.kx";
    const std::string previous = "/music/a.mp3\r\n/music/b.mp3\r\n";
    WriteBytes(path, previous);

    // A file size limit makes the write fail after its first bytes, as a full
    // disk would.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool written = PlaylistFile::Write(path, std::string(64 * 1024, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(path), previous);
    wxArrayString left;
    wxDir::GetAllFiles(m_folder, &left, "list.kx.*");
    EXPECT_TRUE(left.IsEmpty()) << "temporary file left behind";
}

TEST_F(PlaylistFileTest, ReadEntriesReportsAFileThatCannotBeRead)
{
    wxArrayString entries;
    entries.Add("untouched");
    EXPECT_FALSE(PlaylistFile::ReadEntries(m_folder + "/missing.kx", entries));
    EXPECT_FALSE(PlaylistFile::ReadEntries(m_folder, entries));
    EXPECT_EQ(Utf8(entries), Lines{"untouched"});

    WriteBytes(m_folder + "/list.kx", "a\r\nb\r\n");
    ASSERT_TRUE(PlaylistFile::ReadEntries(m_folder + "/list.kx", entries));
    EXPECT_EQ(Utf8(entries), (Lines{"a", "b"}));
}

TEST_F(PlaylistFileTest, GarbageNeverYieldsBrokenCharacters)
{
    // A small fixed generator: the same bytes on every run.
    unsigned state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<char>(state >> 16);
    };
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int i = 0; i < round * 7; ++i)
            bytes += next();
        wxArrayString entries;
        PlaylistFile::ParseEntries(bytes.data(), bytes.size(), entries);
        for (const wxString& entry : entries) {
            for (wxUniChar c : entry) {
                wxUint32 v = c.GetValue();
                ASSERT_TRUE(v != 0 && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) << "round " << round;
            }
        }
    }
}

} // namespace
