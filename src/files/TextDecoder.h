// Turns the bytes of a text file into lines. A byte-order mark selects UTF-8,
// UTF-16 or UTF-32 (either byte order); without one the text is UTF-8. CR LF,
// LF and CR all end a line, and a line end at the very end of the text starts
// no further line. Decoding is strict: a line holding a sequence that is not
// valid in its encoding (or a NUL character) is marked invalid instead of
// being guessed at, so no caller ever sees broken characters.
#pragma once

#include <cstddef>
#include <string>
#include <vector>
#include <wx/string.h>

namespace BrelkosPlayer {

class TextDecoder {
public:
    enum Encoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

    struct Line {
        wxString text;     // the characters that decoded, line end excluded
        bool valid = true; // false when anything in the line did not decode
    };

    // The encoding named by a leading byte-order mark (UTF-8 without one) and
    // the length of that mark.
    static Encoding DetectEncoding(const char* data, size_t size, size_t& markLength);
    static std::vector<Line> Decode(const char* data, size_t size);
    // The whole file in bytes; false when it cannot be opened or read.
    static bool ReadFile(const wxString& path, std::string& bytes);
};

} // namespace BrelkosPlayer
