// The designs read from the configuration file, by name. A plain reader: it
// needs no window, and it hands each "selected" design to a callback.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <vector>
#include <wx/arrstr.h>
#include <wx/string.h>

namespace BrelkosPlayer {

struct Design;

class DesignTable {
public:
    using Apply = std::function<void(const Design*)>;

    DesignTable();
    ~DesignTable();
    DesignTable(const DesignTable&) = delete;
    DesignTable& operator=(const DesignTable&) = delete;

    // Reads the file (nothing happens when it does not exist); apply is called
    // for each "selected" line that names a known design.
    void ReadFile(const wxString& path, const Apply& apply);
    // The same from the file's bytes (any byte-order mark, UTF-8 otherwise).
    void ReadBytes(const char* data, size_t size, const Apply& apply);
    void ReadLines(const wxArrayString& lines, const Apply& apply);

    const Design* Find(const wxString& name) const;
    size_t Count() const;

private:
    // Returns the index of the line that ended the section ("[end]" or the
    // line count when the lines ran out).
    size_t _readSection(const wxArrayString& lines, size_t start, const Apply& apply);
    void _store(std::unique_ptr<Design>& building);
    void _retireAll();

    std::map<wxString, Design*> m_table;
    // Every design the table ever held. A second section empties the table,
    // but windows may still point at a design from the first one, so designs
    // live as long as the table itself.
    std::vector<std::unique_ptr<Design>> m_owned;
};

} // namespace BrelkosPlayer
