#include "gui/ImageButton.h"

#include "gui/Design.h"

namespace BrelkosPlayer {

wxBEGIN_EVENT_TABLE(ImageButton, wxButton)
wxEND_EVENT_TABLE()

ImageButton::ImageButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos, const wxSize& size)
    : wxButton(parent, id, label, pos, size, wxBORDER_NONE, wxDefaultValidator, "button"), m_label(label)
{
}

bool ImageButton::Enable(bool enable) { m_enabled = enable; return enable; }
bool ImageButton::SetBackgroundColour(const wxColour& colour) { m_outerColour = colour; return true; }
bool ImageButton::SetFont(const wxFont& font) { m_font = font; return true; }
void ImageButton::SetImage(int state, const wxBitmap& image) { m_images[state] = image; }
void ImageButton::SetFaceColour(int state, const wxColour& colour) { m_faceColours[state] = colour; }
void ImageButton::SetTextColour(int state, const wxColour& colour) { m_textColours[state] = colour; }
void ImageButton::SetDesignColours(const Design& design, bool withText)
{
    for (int i = 0; i < 4; ++i) {
        m_faceColours[i] = design.btnColors[i];
        if (withText)
            m_textColours[i] = design.btnTxtColors[i];
    }
}
int ImageButton::GetState() const { return !m_enabled ? 3 : m_pressed ? 2 : m_mouseOver ? 1 : 0; }
void ImageButton::PaintFace(wxDC&, const wxSize&) {}
void ImageButton::_onMouseEnter(wxMouseEvent& event) { event.Skip(); }
void ImageButton::_onMouseLeave(wxMouseEvent& event) { event.Skip(); }
void ImageButton::_onLeftDown(wxMouseEvent& event) { event.Skip(); }
void ImageButton::_onLeftUp(wxMouseEvent& event) { event.Skip(); }
void ImageButton::_onPaint(wxPaintEvent&) {}

} // namespace BrelkosPlayer
