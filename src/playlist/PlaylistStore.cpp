#include "playlist/PlaylistStore.h"

#include <cstdlib>
#include <ctime>
#include <wx/filename.h>

#include "playlist/MediaPath.h"

namespace BrelkosPlayer {

RandomSource RandomSource::ClockSeeded()
{
    return {[] { std::srand(static_cast<unsigned>(std::time(nullptr))); },
            [] { return std::rand() % 32768; }};
}

PlaylistStore::PlaylistStore(RandomSource random) : m_source(std::move(random)) {}

size_t PlaylistStore::DrawIndex(int r, size_t n)
{
    size_t k = static_cast<size_t>(r * (1.0 / 32768.0) * n);
    return k < n ? k : n - 1;
}

PlaylistStore::Kind PlaylistStore::Add(const wxString& path)
{
    bool video = MediaPath::IsVideo(path);
    Kind kind =
        (video || MediaPath::IsAudio(path)) && wxFileName::FileExists(path) ? (video ? Video : Audio) : CD;
    m_lists[kind].Add(path);
    return kind;
}

bool PlaylistStore::Has(const wxString& path) const
{
    for (const wxArrayString& list : m_lists) {
        if (list.Index(path) != wxNOT_FOUND)
            return true;
    }
    return false;
}

bool PlaylistStore::Remove(Kind kind, const wxString& path)
{
    int index = m_lists[kind].Index(path, true);
    if (index == wxNOT_FOUND)
        return false;
    m_lists[kind].RemoveAt(index);
    return true;
}

void PlaylistStore::ClearAll()
{
    for (wxArrayString& list : m_lists)
        list.Clear();
    // Starts of the old lists would count against new ones and end them early.
    m_played.Clear();
}

void PlaylistStore::ShuffleAudio()
{
    wxArrayString& audio = m_lists[Audio];
    wxArrayString result;
    result.Alloc(audio.GetCount());
    while (!audio.IsEmpty()) {
        // Seeded again before every draw: draws within one second repeat.
        m_source.seed();
        size_t k = DrawIndex(m_source.draw(), audio.GetCount());
        result.Add(audio[k]);
        audio.RemoveAt(k);
    }
    audio = result;
}

PlaylistStore::Next PlaylistStore::ChooseNext()
{
    const wxArrayString& list = GetCurrentList();
    Next next;
    next.count = list.GetCount();
    size_t n = next.count;
    // Duplicate paths can leave no entry outside the played list even
    // though the list is longer: then it counts as played through.
    bool remaining = false;
    for (size_t i = 0; i < n && !remaining; ++i)
        remaining = n > m_played.GetCount() && m_played.Index(list[i]) == wxNOT_FOUND;
    if (!m_random)
        remaining = n > m_played.GetCount();

    if (remaining && m_random) {
        m_source.seed();
        do {
            next.path = list[DrawIndex(m_source.draw(), n)];
        } while (m_played.Index(next.path) != wxNOT_FOUND);
        next.how = Jump;
    } else if (remaining) {
        int i = list.Index(m_currentFile);
        // After the last entry, go on from the first: entries remain unplayed.
        size_t following = i == wxNOT_FOUND ? 0 : static_cast<size_t>(i) + 1;
        next.how = following < n ? Following : Jump;
        next.path = list[following < n ? following : 0];
    } else if (m_loop && n > 0) {
        m_played.Clear();
        next.how = Loop;
        next.path = list[0];
    } else {
        m_played.Clear();
        next.how = End;
    }
    return next;
}

bool PlaylistStore::ContinueAfterFailure(const Next& next, size_t& failures)
{
    if (++failures > next.count)
        return false;
    m_played.Add(next.path);
    return true;
}

bool PlaylistStore::ChoosePrevious(wxString& previous)
{
    int current = m_played.Index(m_currentFile);
    if (current != wxNOT_FOUND)
        m_played.RemoveAt(current);
    if (m_played.IsEmpty())
        return false;
    previous = m_played.Last();
    m_played.RemoveAt(m_played.Index(previous));
    return true;
}

} // namespace BrelkosPlayer
