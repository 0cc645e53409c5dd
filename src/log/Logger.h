// The diagnostic log: lines appended to the log file beside the executable and
// echoed to standard output, plus console traces that go to standard output
// only. Every call opens, appends and closes the file, under one lock, so the
// file can be read while the program runs and lines of different threads never
// mix.
#pragma once

#include <string>
#include <wx/string.h>

namespace BrelkosPlayer {

class Logger {
public:
    // Stores the program-wide log path and empties the log file.
    explicit Logger(const wxString& logPath);

    static wxString GetLogPath();
};

// One log line from a printf-style format. Texts longer than 255 bytes are cut
// on a character boundary. Never pass user text as the format: use LogText or "%s".
void LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// One log line, written as it stands.
void LogText(const wxString& text);
// Standard output only; the caller's text ends in "\n" when it wants a line.
void ConsoleTrace(const std::string& text);

} // namespace BrelkosPlayer
