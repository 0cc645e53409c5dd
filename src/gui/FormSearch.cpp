#include "gui/FormSearch.h"

#include <clocale>
#include <cwctype>
#include <locale.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>
#include <wx/wupdlock.h>

#include "configuration/Design.h"
#include "gui/FormPlaylist.h"
#include "gui/FrameEvents.h"
#include "gui/ImageButton.h"
#include "gui/ListBox.h"
#include "gui/MainControl.h"
#include "gui/TrackList.h"
#include "log/Logger.h"
#include "playlist/PlaylistFile.h"

namespace BrelkosPlayer {

namespace {

// The C library lowers only ASCII in the "C" locale, which is what a program
// runs in unless it sets one. A UTF-8 locale of our own has the full tables
// without touching the program's locale.
locale_t CaseLocale()
{
    static const locale_t locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
            if (locale_t found = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(0)))
                return found;
        }
        LogMessage("ERROR : FormSearch :: LowerText - No UTF-8 locale, only ASCII is lower-cased");
        return static_cast<locale_t>(0);
    }();
    return locale;
}

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(FormSearch, wxFrame)
    EVT_TEXT(ID_SEARCH_TEXT, FormSearch::TextSearchChanged)
    EVT_LISTBOX(ID_SEARCH_RESULTS, FormSearch::LBSearchMouseUp)
    EVT_LISTBOX_DCLICK(ID_SEARCH_RESULTS, FormSearch::LBSearchDblClick)
    EVT_BUTTON(ID_SEARCH_CANCEL, FormSearch::BtnCancelClick)
    EVT_CLOSE(FormSearch::_onClose)
wxEND_EVENT_TABLE()
// clang-format on

FormSearch::FormSearch(wxWindow* parent, MainControl& main)
    : wxFrame(parent, wxID_ANY, "Rechercher", wxPoint(0, 0), wxSize(285, 341),
              wxCAPTION | wxCLOSE_BOX | wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT, "frame"),
      m_main(main)
{
    KeepEventsInFrame(this);
    m_text = new wxTextCtrl(this, ID_SEARCH_TEXT, wxEmptyString, wxPoint(0, 0), wxSize(276, 21), 0,
                            wxDefaultValidator, "text");
    m_resultList = new wxListBox(this, ID_SEARCH_RESULTS, wxPoint(0, 27), wxSize(276, 254), 0, nullptr,
                                 wxLB_SINGLE | wxLB_NEEDED_SB, wxDefaultValidator, "listBox");
    m_cancel = new ImageButton(this, ID_SEARCH_CANCEL, "Annuler", wxPoint(104, 287), wxSize(65, 25));
}

wxArrayString FormSearch::Split(const wxString& text, wxUniChar separator)
{
    wxArrayString words;
    if (text.empty()) {
        LogMessage("ERROR : FormSearch :: Split - Void text");
        return words;
    }
    wxString word;
    for (wxUniChar c : text) {
        if (c == separator) {
            words.Add(word);
            word.clear();
        } else {
            word += c;
        }
    }
    words.Add(word);
    return words;
}

wxString FormSearch::LowerText(const wxString& text)
{
    locale_t locale = CaseLocale();
    wxString lowered;
    lowered.reserve(text.length());
    for (wxUniChar c : text) {
        wint_t wide = static_cast<wint_t>(c.GetValue());
        lowered += wxUniChar(static_cast<wxUint32>(locale ? towlower_l(wide, locale) : towlower(wide)));
    }
    return lowered;
}

wxArrayString FormSearch::Filter(const wxArrayString& names, const wxArrayString& lowered,
                                 const wxString& text)
{
    wxArrayString words = Split(PlaylistFile::TrimEnd(LowerText(text)));
    if (words.IsEmpty())
        return names;
    wxArrayString results;
    for (size_t i = 0; i < names.GetCount(); ++i) {
        const wxString& name = lowered[i];
        bool keep = true;
        for (size_t w = 0; w < words.GetCount() && keep && !name.empty(); ++w)
            keep = name.find(words[w]) != wxString::npos;
        if (keep)
            results.Add(names[i]);
    }
    return results;
}

void FormSearch::SetFilesList(const wxArrayString& names, TrackList* source)
{
    if (names.IsEmpty()) {
        LogMessage("ERROR : FormSearch :: SetFilesList - Null List");
        return;
    }
    m_source = source;
    m_allNames = names;
    m_loweredNames.Clear();
    m_loweredNames.Alloc(names.GetCount());
    for (const wxString& name : names)
        m_loweredNames.Add(PlaylistFile::TrimEnd(LowerText(name)));
    m_results = names;
    _showResults();
}

void FormSearch::_search()
{
    if (m_allNames.IsEmpty())
        return;
    m_results = Filter(m_allNames, m_loweredNames, m_text->GetValue());
    _showResults();
}

void FormSearch::_showResults()
{
    wxWindowUpdateLocker freeze(m_resultList);
    m_resultList->Set(m_results);
    // The old selection went with the old items.
    m_selectedIndex = -1;
    m_selectedName.clear();
}

void FormSearch::TextSearchChanged(wxCommandEvent&)
{
    _search();
}

void FormSearch::LBSearchMouseUp(wxCommandEvent&)
{
    int selection = m_resultList->GetSelection();
    if (selection == wxNOT_FOUND || selection >= static_cast<int>(m_results.GetCount())) {
        m_selectedIndex = -1;
        m_selectedName.clear();
        return;
    }
    m_selectedIndex = selection;
    m_selectedName = m_results[selection];
    LogText("FormSearch :: LBSearchMouseUp - " + m_selectedName);
}

void FormSearch::LBSearchDblClick(wxCommandEvent&)
{
    if (m_selectedIndex < 0 || !m_source)
        return;
    int index = m_source->GetNames().Index(m_selectedName, true);
    if (index == wxNOT_FOUND)
        return;
    wxString path = m_source->GetPaths()[index];
    m_source->GetListBox()->SetSelection(index);
    LogMessage("FormSearch :: LBSearchDblClick - %d", index);
    m_main.PrepareToPlay(path);
    LogText("FormSearch :: LBSearchDblClick - " + path);
    m_main.PlayFile(path);
}

void FormSearch::BtnCancelClick(wxCommandEvent&)
{
    Show(false);
}

void FormSearch::SetSimpleDesign(const Design* design)
{
    if (!design) {
        LogMessage("ERROR : FormSearch :: SetSimpleDesign - Design Null");
        return;
    }
    m_design = design;
    SetBackgroundColour(design->generalColor);
    m_cancel->SetBackgroundColour(design->generalColor);
    m_cancel->SetDesignColours(*design, true);
    m_resultList->SetBackgroundColour(design->listColor);
    m_resultList->SetForegroundColour(design->listTxtColor);
    m_text->SetBackgroundColour(design->listColor);
    m_text->SetForegroundColour(design->listTxtColor);
    Refresh();
}

void FormSearch::_onClose(wxCloseEvent& event)
{
    // Like "Annuler": the playlist window shows this window again later.
    if (event.CanVeto()) {
        event.Veto();
        Show(false);
        return;
    }
    event.Skip();
}

} // namespace BrelkosPlayer
