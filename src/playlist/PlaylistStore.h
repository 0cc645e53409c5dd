// The player's lists and the rules that pick what plays next: the audio,
// video and CD lists, the played list, the current list and file, and the
// sequential, random and loop choices. No windows: FormMain owns one store,
// shows its choices and plays them.
#pragma once

#include <cstddef>
#include <functional>
#include <wx/arrstr.h>
#include <wx/string.h>

namespace BrelkosPlayer {

// Where the random choices come from. draw returns values like rand() % 32768
// (0..32767); seed is called before each random choice and each shuffle draw.
struct RandomSource {
    std::function<void()> seed;
    std::function<int()> draw;

    // srand(time) and rand(): choices made within one second repeat.
    static RandomSource ClockSeeded();
};

class PlaylistStore {
public:
    enum Kind { Audio = 0, Video = 1, CD = 2 };

    // How a next entry was found; the playlist window follows it differently.
    enum How {
        Following, // the entry after the current file (or the first when the file is in no list position)
        Jump,      // a random entry, or the first after the last while entries remain unplayed
        Loop,      // the list was played through and starts again from its first entry
        End,       // the list was played through: nothing to play
    };
    struct Next {
        How how = End;
        wxString path;
        // The size of the list the entry was taken from.
        size_t count = 0;
    };

    explicit PlaylistStore(RandomSource random = RandomSource::ClockSeeded());

    // The k of a draw r among n entries: r * 2^-15 * n, truncated, below n.
    static size_t DrawIndex(int r, size_t n);

    const wxArrayString& GetList(Kind kind) const { return m_lists[kind]; }
    const wxArrayString& GetPlayedList() const { return m_played; }
    Kind GetCurrentKind() const { return m_currentKind; }
    const wxArrayString& GetCurrentList() const { return m_lists[m_currentKind]; }
    void SetCurrentKind(Kind kind) { m_currentKind = kind; }
    const wxString& GetCurrentFile() const { return m_currentFile; }
    void SetCurrentFile(const wxString& path) { m_currentFile = path; }
    bool IsLoop() const { return m_loop; }
    void SetLoop(bool loop) { m_loop = loop; }
    bool IsRandom() const { return m_random; }
    void SetRandom(bool random) { m_random = random; }

    // Files a non-empty path: an existing audio or video file into its list,
    // anything else (CD track addresses, missing files) into the CD list.
    // Duplicates are the caller's choice. Returns the list it went to.
    Kind Add(const wxString& path);
    // Whether the path is in one of the three lists (exact comparison).
    bool Has(const wxString& path) const;
    // Removes the first entry equal to path (exact comparison) from the list.
    bool Remove(Kind kind, const wxString& path);
    void Clear(Kind kind) { m_lists[kind].Clear(); }
    // The three lists and the played list.
    void ClearAll();
    // Reorders the audio list by drawing its entries one by one.
    void ShuffleAudio();

    void MarkPlayed(const wxString& path) { m_played.Add(path); }
    void ClearPlayed() { m_played.Clear(); }

    // The next entry of the current list after the current file. Loop and End
    // clear the played list.
    Next ChooseNext();
    // After next failed to load: counts it as played and tells whether another
    // entry may be tried; failures counts the tries of one advance, at most
    // one per entry, so a list of broken files ends even in loop mode.
    bool ContinueAfterFailure(const Next& next, size_t& failures);
    // Drops the current file and the last played entry from the played list
    // and returns that entry; false when nothing was played before it.
    bool ChoosePrevious(wxString& previous);

private:
    RandomSource m_source;
    wxArrayString m_lists[3];
    wxArrayString m_played;
    Kind m_currentKind = Audio;
    wxString m_currentFile;
    bool m_loop = false;
    bool m_random = false;
};

} // namespace BrelkosPlayer
