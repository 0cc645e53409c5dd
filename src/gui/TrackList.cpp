#include "gui/TrackList.h"

#include "gui/ListBox.h"

namespace BrelkosPlayer {

TrackList::TrackList(ListBox* listBox) : m_listBox(listBox) {}

wxString TrackList::DisplayName(const wxString& path)
{
    size_t cut = path.find_last_of("/\\");
    return cut == wxString::npos ? path : path.Mid(cut + 1);
}

void TrackList::Append(const wxString& path, const wxString& name)
{
    m_listBox->Append(name);
    m_names.Add(name);
    m_paths.Add(path);
    ++m_count;
    SelectIndex(m_count - 1);
}

void TrackList::SelectIndex(int index)
{
    if (index < 0 || index >= m_count)
        return;
    m_currentIndex = index;
    m_currentPath = m_paths[index];
    m_listBox->SetSelection(index);
}

void TrackList::RemoveAt(int index)
{
    if (index < 0 || index >= m_count)
        return;
    m_listBox->Delete(index);
    m_paths.RemoveAt(index);
    m_names.RemoveAt(index);
    --m_count;
}

void TrackList::Clear()
{
    m_listBox->Clear();
    m_paths.Clear();
    m_names.Clear();
    m_count = 0;
    m_currentIndex = -1;
}

} // namespace BrelkosPlayer
