// The search window: filters the display names of one playlist list by the
// words typed into its text field, and plays a hit on double-click.
#pragma once

#include <wx/arrstr.h>
#include <wx/frame.h>

class wxListBox;
class wxTextCtrl;

namespace BrelkosPlayer {

class ImageButton;
class MainControl;
class TrackList;
struct Design;

enum FormSearchIds {
    ID_SEARCH_TEXT = 0,
    ID_SEARCH_RESULTS = 1,
    ID_SEARCH_CANCEL = 2,
};

class FormSearch : public wxFrame {
public:
    FormSearch(wxWindow* parent, MainControl& main);

    // The names to search and the list they came from (the playlist's audio
    // or video list, which a double-click plays from).
    void SetFilesList(const wxArrayString& names, TrackList* source);
    void SetSimpleDesign(const Design* design);

    // Words of text between separators; two separators in a row give an empty word.
    static wxArrayString Split(const wxString& text, wxUniChar separator = ' ');
    // Lower case character by character, beyond ASCII too (É, Ä, ẞ), whatever
    // the program's locale.
    static wxString LowerText(const wxString& text);
    // The names whose lowered form contains every word of text; a name whose
    // lowered form is empty always stays. lowered holds the lowered, trimmed
    // form of each name.
    static wxArrayString Filter(const wxArrayString& names, const wxArrayString& lowered,
                                const wxString& text);

    const Design* GetDesign() const { return m_design; }
    const wxArrayString& GetAllNames() const { return m_allNames; }
    int GetSelectedIndex() const { return m_selectedIndex; }
    const wxString& GetSelectedName() const { return m_selectedName; }
    TrackList* GetSourceList() const { return m_source; }
    wxTextCtrl* GetTextField() const { return m_text; }
    wxListBox* GetResultList() const { return m_resultList; }
    ImageButton* GetCancelButton() const { return m_cancel; }

private:
    void _search();
    void _showResults();

    void TextSearchChanged(wxCommandEvent& event);
    void LBSearchMouseUp(wxCommandEvent& event);
    void LBSearchDblClick(wxCommandEvent& event);
    void BtnCancelClick(wxCommandEvent& event);
    void _onClose(wxCloseEvent& event);

    MainControl& m_main;
    const Design* m_design = nullptr;
    TrackList* m_source = nullptr;
    wxArrayString m_allNames;
    wxArrayString m_loweredNames; // lowered, trimmed copy of m_allNames
    wxArrayString m_results;
    int m_selectedIndex = -1;
    wxString m_selectedName;

    wxTextCtrl* m_text = nullptr;
    wxListBox* m_resultList = nullptr;
    ImageButton* m_cancel = nullptr;

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
