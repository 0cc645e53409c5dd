#include "gui/DesignTable.h"

#include "gui/Design.h"

namespace BrelkosPlayer {

DesignTable::DesignTable() = default;
DesignTable::~DesignTable() = default;
void DesignTable::ReadFile(const wxString&, const Apply&) {}
void DesignTable::ReadLines(const wxArrayString&, const Apply&) {}
const Design* DesignTable::Find(const wxString&) const { return nullptr; }
size_t DesignTable::Count() const { return 0; }

} // namespace BrelkosPlayer
