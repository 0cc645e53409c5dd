#include "log/Logger.h"

#include <cstdarg>
#include <cstdio>
#include <iostream>
#include <mutex>

namespace BrelkosPlayer {

namespace {

std::mutex& LogMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::string& LogPath()
{
    static std::string path;
    return path;
}

constexpr size_t kMaxLine = 256;

// vsnprintf cuts at a byte; step back so a multi-byte UTF-8 character is never split.
void TrimToCharBoundary(std::string& text)
{
    size_t end = text.size();
    size_t start = end;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start == 0)
        return;
    unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (end - (start - 1) < need)
        text.resize(start - 1);
}

void WriteLine(const std::string& line)
{
    std::lock_guard<std::mutex> lock(LogMutex());
    // A log file that cannot be written leaves the console its lines.
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    FILE* file = std::fopen(LogPath().c_str(), "a+");
    if (!file)
        return;
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
}

} // namespace

Logger::Logger(const wxString& logPath)
{
    std::lock_guard<std::mutex> lock(LogMutex());
    LogPath() = std::string(logPath.utf8_str());
    if (FILE* file = std::fopen(LogPath().c_str(), "w"))
        std::fclose(file);
}

wxString Logger::GetLogPath()
{
    std::lock_guard<std::mutex> lock(LogMutex());
    return wxString::FromUTF8(LogPath().c_str());
}

void LogMessage(const char* format, ...)
{
    if (!format) {
        // Same file traffic as a real line, but nothing written.
        std::lock_guard<std::mutex> lock(LogMutex());
        if (FILE* file = std::fopen(LogPath().c_str(), "a+"))
            std::fclose(file);
        return;
    }
    char buffer[kMaxLine];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0)
        return;
    std::string line(buffer);
    if (static_cast<size_t>(written) >= sizeof buffer)
        TrimToCharBoundary(line);
    WriteLine(line);
}

void LogText(const wxString& text)
{
    WriteLine(std::string(text.utf8_str()));
}

void ConsoleTrace(const std::string& text)
{
    std::lock_guard<std::mutex> lock(LogMutex());
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace BrelkosPlayer
