// A main window made the way the program makes it, with its playlist window,
// and the gestures the playlist tests need.
#pragma once

#include <gtest/gtest.h>

#include <vector>
#include <wx/listbox.h>
#include <wx/notebook.h>

#include "gui/FormMain.h"
#include "gui/FormPlaylist.h"
#include "gui/ImageButton.h"
#include "gui/ListBox.h"
#include "gui/TrackList.h"
#include "support/GuiTest.h"

namespace playlist_test {

using BrelkosPlayer::FormMain;
using BrelkosPlayer::FormPlaylist;
using BrelkosPlayer::TrackList;

class PlaylistTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FormPlaylist::SetPlaylistChooser(nullptr);
        m_main = testing_support::CreateMainWindow();
        m_playlist = testing_support::PlaylistWindow();
        ASSERT_NE(m_playlist, nullptr);
    }

    void TearDown() override
    {
        FormPlaylist::SetPlaylistChooser(nullptr);
        testing_support::CloseMainWindow();
    }

    TrackList& List(FormPlaylist::ListKind kind) { return m_playlist->GetTrackList(kind); }

    static std::vector<wxString> Items(wxListBox* box)
    {
        std::vector<wxString> items;
        for (unsigned i = 0; i < box->GetCount(); ++i)
            items.push_back(box->GetString(i));
        return items;
    }

    static std::vector<wxString> Strings(const wxArrayString& array)
    {
        return std::vector<wxString>(array.begin(), array.end());
    }

    // The user picks an entry: the list box selects it and sends its event.
    void Select(FormPlaylist::ListKind kind, int index)
    {
        wxListBox* box = List(kind).GetListBox();
        box->SetSelection(index);
        wxCommandEvent event(wxEVT_LISTBOX, box->GetId());
        event.SetEventObject(box);
        event.SetInt(index);
        box->ProcessWindowEvent(event);
    }

    void DoubleClick(FormPlaylist::ListKind kind, int index)
    {
        Select(kind, index);
        wxListBox* box = List(kind).GetListBox();
        wxCommandEvent event(wxEVT_LISTBOX_DCLICK, box->GetId());
        event.SetEventObject(box);
        event.SetInt(index);
        box->ProcessWindowEvent(event);
    }

    void Click(int buttonId)
    {
        BrelkosPlayer::ImageButton* button = m_playlist->GetButton(buttonId);
        wxCommandEvent event(wxEVT_BUTTON, buttonId);
        event.SetEventObject(button);
        button->ProcessWindowEvent(event);
    }

    // Turns the notebook page as a click on its tab does.
    void ShowPage(FormPlaylist::ListKind kind)
    {
        m_playlist->GetNotebook()->SetSelection(kind);
        testing_support::WaitFor([this, kind] { return m_playlist->GetCurrentKind() == kind; }, 2000);
    }

    static wxString Data(const char* name) { return testing_support::DataFile(name); }

    FormMain* m_main = nullptr;
    FormPlaylist* m_playlist = nullptr;
};

} // namespace playlist_test
