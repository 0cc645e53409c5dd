// The playlist window's mirror of one of the main window's lists: the list box
// and, in the same order, the full path and the display name of each entry,
// with the entry that is current in this list.
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

namespace BrelkosPlayer {

class ListBox;

class TrackList {
public:
    explicit TrackList(ListBox* listBox);

    // The path with "\" turned into "/", cut after the last "/".
    static wxString DisplayName(const wxString& path);

    ListBox* GetListBox() const { return m_listBox; }
    const wxArrayString& GetPaths() const { return m_paths; }
    const wxArrayString& GetNames() const { return m_names; }
    int GetCount() const { return m_count; }
    int GetCurrentIndex() const { return m_currentIndex; }
    const wxString& GetCurrentPath() const { return m_currentPath; }

    // Appends an entry, which becomes the current one and is selected.
    void Append(const wxString& path, const wxString& name);
    // Makes the entry current and selects it in the list box.
    void SelectIndex(int index);
    // No current entry; the current path stays as it was.
    void ForgetCurrent() { m_currentIndex = -1; }
    void RemoveAt(int index);
    void Clear();

private:
    ListBox* m_listBox;
    wxArrayString m_paths;
    wxArrayString m_names;
    int m_count = 0;
    int m_currentIndex = -1;
    wxString m_currentPath;
};

} // namespace BrelkosPlayer
