// The designs read from the configuration file, by name.
#pragma once

#include <functional>
#include <wx/arrstr.h>
#include <wx/string.h>

namespace BrelkosPlayer {

struct Design;

class DesignTable {
public:
    using Apply = std::function<void(const Design*)>;

    DesignTable();
    ~DesignTable();

    // Reads the file (nothing happens when it does not exist); apply is called
    // for each "selected" line that names a known design.
    void ReadFile(const wxString& path, const Apply& apply);
    void ReadLines(const wxArrayString& lines, const Apply& apply);

    const Design* Find(const wxString& name) const;
    size_t Count() const;
};

} // namespace BrelkosPlayer
