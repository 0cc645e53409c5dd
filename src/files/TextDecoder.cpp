#include "files/TextDecoder.h"

#include <cstdio>
#include <wx/filename.h>

namespace BrelkosPlayer {

namespace {

const char32_t kInvalid = 0xFFFFFFFF;

bool IsScalarValue(char32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// Reads one code point starting at data[pos] and moves pos past what it used.
// An invalid sequence yields kInvalid and consumes a single unit, so the line
// ends that follow it are still found.
class UnitReader {
public:
    UnitReader(const unsigned char* data, size_t size, TextDecoder::Encoding encoding)
        : m_data(data), m_size(size), m_encoding(encoding)
    {
    }

    bool AtEnd(size_t pos) const { return pos >= m_size; }

    char32_t Next(size_t& pos) const
    {
        switch (m_encoding) {
        case TextDecoder::Utf16LE:
        case TextDecoder::Utf16BE: return _nextUtf16(pos);
        case TextDecoder::Utf32LE:
        case TextDecoder::Utf32BE: return _nextUtf32(pos);
        default: return _nextUtf8(pos);
        }
    }

private:
    char32_t _nextUtf8(size_t& pos) const
    {
        unsigned char lead = m_data[pos];
        if (lead < 0x80) {
            ++pos;
            return lead;
        }
        size_t extra;
        char32_t value;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            value = lead & 0x0F;
            if (lead == 0xE0)
                low = 0xA0; // overlong
            else if (lead == 0xED)
                high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            value = lead & 0x07;
            if (lead == 0xF0)
                low = 0x90; // overlong
            else if (lead == 0xF4)
                high = 0x8F; // beyond U+10FFFF
        } else {
            ++pos;
            return kInvalid;
        }
        if (m_size - pos <= extra) {
            ++pos;
            return kInvalid;
        }
        for (size_t i = 1; i <= extra; ++i) {
            unsigned char byte = m_data[pos + i];
            unsigned char min = i == 1 ? low : 0x80, max = i == 1 ? high : 0xBF;
            if (byte < min || byte > max) {
                ++pos;
                return kInvalid;
            }
            value = (value << 6) | (byte & 0x3F);
        }
        pos += extra + 1;
        return value;
    }

    bool _unit16(size_t pos, char32_t& unit) const
    {
        if (m_size - pos < 2)
            return false;
        unsigned a = m_data[pos], b = m_data[pos + 1];
        unit = m_encoding == TextDecoder::Utf16LE ? (b << 8 | a) : (a << 8 | b);
        return true;
    }

    char32_t _nextUtf16(size_t& pos) const
    {
        char32_t first;
        if (!_unit16(pos, first)) {
            pos = m_size; // a dangling odd byte
            return kInvalid;
        }
        pos += 2;
        if (first < 0xD800 || first > 0xDFFF)
            return first;
        char32_t second;
        if (first > 0xDBFF || !_unit16(pos, second) || second < 0xDC00 || second > 0xDFFF)
            return kInvalid;
        pos += 2;
        return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }

    char32_t _nextUtf32(size_t& pos) const
    {
        if (m_size - pos < 4) {
            pos = m_size;
            return kInvalid;
        }
        const unsigned char* p = m_data + pos;
        pos += 4;
        char32_t value = m_encoding == TextDecoder::Utf32LE
                             ? (char32_t(p[3]) << 24 | char32_t(p[2]) << 16 | char32_t(p[1]) << 8 | p[0])
                             : (char32_t(p[0]) << 24 | char32_t(p[1]) << 16 | char32_t(p[2]) << 8 | p[3]);
        return IsScalarValue(value) ? value : kInvalid;
    }

    const unsigned char* m_data;
    size_t m_size;
    TextDecoder::Encoding m_encoding;
};

} // namespace

TextDecoder::Encoding TextDecoder::DetectEncoding(const char* data, size_t size, size_t& markLength)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
    // UTF-32 LE before UTF-16 LE: its mark begins with the same two bytes.
    if (size >= 4 && p[0] == 0xFF && p[1] == 0xFE && p[2] == 0 && p[3] == 0) {
        markLength = 4;
        return Utf32LE;
    }
    if (size >= 4 && p[0] == 0 && p[1] == 0 && p[2] == 0xFE && p[3] == 0xFF) {
        markLength = 4;
        return Utf32BE;
    }
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        markLength = 3;
        return Utf8;
    }
    if (size >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        markLength = 2;
        return Utf16LE;
    }
    if (size >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
        markLength = 2;
        return Utf16BE;
    }
    markLength = 0;
    return Utf8;
}

std::vector<TextDecoder::Line> TextDecoder::Decode(const char* data, size_t size)
{
    std::vector<Line> lines;
    if (!data || size == 0)
        return lines;
    size_t pos = 0;
    Encoding encoding = DetectEncoding(data, size, pos);
    UnitReader reader(reinterpret_cast<const unsigned char*>(data), size, encoding);

    Line line;
    bool pendingCR = false; // the last character was a CR: a LF now belongs to it
    bool open = false;      // characters (or a bad sequence) since the last line end
    while (!reader.AtEnd(pos)) {
        char32_t c = reader.Next(pos);
        if (c == '\n' && pendingCR) {
            pendingCR = false;
            continue;
        }
        pendingCR = false;
        if (c == '\r' || c == '\n') {
            pendingCR = c == '\r';
            lines.push_back(std::move(line));
            line = Line();
            open = false;
            continue;
        }
        open = true;
        if (c == kInvalid || c == 0)
            line.valid = false;
        else
            line.text += wxUniChar(static_cast<wxUint32>(c));
    }
    if (open)
        lines.push_back(std::move(line));
    return lines;
}

bool TextDecoder::ReadFile(const wxString& path, std::string& bytes)
{
    bytes.clear();
    if (path.empty() || !wxFileName::FileExists(path))
        return false;
    FILE* file = std::fopen(path.fn_str(), "rb");
    if (!file)
        return false;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    if (!ok)
        bytes.clear();
    return ok;
}

} // namespace BrelkosPlayer
