#include "gui/ImageButton.h"

#include <wx/dcclient.h>
#include <wx/dcgraph.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/settings.h>

#include "configuration/Design.h"

namespace BrelkosPlayer {

namespace {
const wxColour kDefaultFace(192, 192, 192);
const wxColour kDefaultText("black");

const wxColour& ValidOr(const wxColour& colour, const wxColour& fallback)
{
    return colour.IsOk() ? colour : fallback;
}
} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(ImageButton, wxButton)
    EVT_ENTER_WINDOW(ImageButton::_onMouseEnter)
    EVT_LEAVE_WINDOW(ImageButton::_onMouseLeave)
    EVT_LEFT_DOWN(ImageButton::_onLeftDown)
    EVT_LEFT_UP(ImageButton::_onLeftUp)
    EVT_MOTION(ImageButton::_onMotion)
    EVT_PAINT(ImageButton::_onPaint)
wxEND_EVENT_TABLE()
// clang-format on

ImageButton::ImageButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                         const wxSize& size)
    : wxButton(parent, id, label, pos, size, wxBORDER_NONE, wxDefaultValidator, "button"), m_label(label),
      m_outerColour(kDefaultFace), m_font(DefaultFont())
{
    for (int i = 0; i < 4; ++i) {
        m_faceColours[i] = kDefaultFace;
        m_textColours[i] = kDefaultText;
    }
#ifdef __WXGTK3__
    _hookNativeDrawing();
#endif
}

wxFont ImageButton::DefaultFont()
{
    return wxFont(8, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false, wxEmptyString,
                  wxFONTENCODING_DEFAULT);
}

bool ImageButton::Enable(bool enable)
{
    if (m_enabled != enable) {
        m_enabled = enable;
        // The face shows the state, so it must not keep the old one on screen.
        Refresh(true);
    }
    return enable;
}

bool ImageButton::SetBackgroundColour(const wxColour& colour)
{
    m_outerColour = colour;
    Refresh(true);
    return true;
}

bool ImageButton::SetFont(const wxFont& font)
{
    m_font = font.IsOk() ? font : DefaultFont();
    Refresh(true);
    return true;
}

void ImageButton::SetLabel(const wxString& label)
{
    wxButton::SetLabel(label);
    m_label = label;
    Refresh(true);
}

void ImageButton::SetImage(int state, const wxBitmap& image)
{
    if (!_isState(state))
        return;
    m_images[state] = image;
    Refresh(true);
}

void ImageButton::SetFaceColour(int state, const wxColour& colour)
{
    if (!_isState(state))
        return;
    m_faceColours[state] = colour;
    Refresh(true);
}

void ImageButton::SetTextColour(int state, const wxColour& colour)
{
    if (!_isState(state))
        return;
    m_textColours[state] = colour;
    Refresh(true);
}

void ImageButton::SetDesignColours(const Design& design, bool withText)
{
    for (int i = 0; i < 4; ++i) {
        m_faceColours[i] = design.btnColors[i];
        if (withText)
            m_textColours[i] = design.btnTxtColors[i];
    }
    Refresh(true);
}

void ImageButton::SetScaleImage(bool scale)
{
    m_scaleImage = scale;
    Refresh(true);
}

void ImageButton::SetCentreText(bool centre)
{
    m_centreText = centre;
    Refresh(true);
}

void ImageButton::SetUseMask(bool useMask)
{
    m_useMask = useMask;
    Refresh(true);
}

void ImageButton::SetFrame(bool frame)
{
    m_frame = frame;
    Refresh(true);
}

void ImageButton::SetRounded(bool rounded)
{
    m_rounded = rounded;
    Refresh(true);
}

int ImageButton::GetState() const
{
    if (!m_enabled)
        return ButtonDisabled;
    if (m_pressed)
        return ButtonDown;
    return m_mouseOver ? ButtonMouseOver : ButtonNormal;
}

wxColour ImageButton::_outerColour() const
{
    if (m_outerColour.IsOk())
        return m_outerColour;
    // No colour of our own: blend into whatever the parent shows.
    if (GetParent())
        return GetParent()->GetBackgroundColour();
    return wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
}

void ImageButton::PaintFace(wxDC& dc, const wxSize& size)
{
    const int width = size.GetWidth();
    const int height = size.GetHeight();
    const int state = GetState();
    const wxBitmap& image = m_images[state].IsOk() ? m_images[state] : m_images[ButtonNormal];
    const wxColour face = ValidOr(m_faceColours[state], kDefaultFace);
    const wxColour text = ValidOr(m_textColours[state], kDefaultText);

    if (m_frame && m_rounded) {
        const wxColour outer = _outerColour();
        dc.SetBrush(wxBrush(outer, wxBRUSHSTYLE_SOLID));
        dc.SetPen(wxPen(outer));
        dc.DrawRectangle(0, 0, width, height);
        dc.SetBrush(wxBrush(face, wxBRUSHSTYLE_SOLID));
        dc.SetPen(wxPen(wxColour("black")));
        dc.DrawRoundedRectangle(0, 0, width, height, height * 0.25);
    } else if (m_frame) {
        dc.SetBrush(wxBrush(face, wxBRUSHSTYLE_SOLID));
        dc.SetPen(wxPen(wxColour("black")));
        dc.DrawRectangle(0, 0, width, height);
    } else {
        dc.SetBrush(wxBrush(face, wxBRUSHSTYLE_SOLID));
        dc.SetPen(wxPen(face));
        dc.DrawRectangle(0, 0, width, height);
    }

    if (image.IsOk()) {
        int imageWidth = image.GetWidth();
        int imageHeight = image.GetHeight();
        int x = (width - imageWidth) / 2;
        int y = (height - imageHeight) / 2;
        if (m_frame) {
            imageWidth -= 2;
            imageHeight -= 2;
            x -= 1;
            y -= 1;
        }
        // An image of two pixels or less has nothing to shrink to: it is drawn as it is.
        if (m_scaleImage && imageWidth > 0 && imageHeight > 0 &&
            (imageWidth != image.GetWidth() || imageHeight != image.GetHeight())) {
            wxImage scaled = image.ConvertToImage();
            scaled.Rescale(imageWidth, imageHeight, wxIMAGE_QUALITY_HIGH);
            dc.DrawBitmap(wxBitmap(scaled), x, y, m_useMask);
        } else {
            dc.DrawBitmap(image, x, y, m_useMask);
        }
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
    }

    if (!m_label.empty()) {
        dc.SetFont(m_font);
        int x = 0;
        int y = 0;
        if (m_centreText) {
            wxCoord textWidth = 0;
            wxCoord textHeight = 0;
            dc.GetTextExtent(m_label, &textWidth, &textHeight);
            x = (width - textWidth) / 2;
            y = (height - textHeight) / 2;
        }
        dc.SetTextBackground(face);
        dc.SetTextForeground(text);
        dc.DrawText(m_label, x, y);
    }
}

void ImageButton::_setFlags(bool mouseOver, bool pressed)
{
    m_mouseOver = mouseOver;
    m_pressed = pressed;
    Refresh(true);
}

void ImageButton::_onMouseEnter(wxMouseEvent& event)
{
    _setFlags(true, m_pressed);
    event.Skip();
}

void ImageButton::_onMouseLeave(wxMouseEvent& event)
{
    _setFlags(false, false);
    event.Skip();
}

void ImageButton::_onLeftDown(wxMouseEvent& event)
{
    _setFlags(m_mouseOver, true);
    event.Skip();
}

void ImageButton::_onLeftUp(wxMouseEvent& event)
{
    _setFlags(m_mouseOver, false);
    event.Skip();
}

void ImageButton::_onMotion(wxMouseEvent& event)
{
    // GTK drops the enter event when the pointer comes in right after a
    // release elsewhere; moving inside still means the pointer is over us.
    // While pressed elsewhere we get motion from outside too: ignore it.
    if (!m_mouseOver && wxRect(GetClientSize()).Contains(event.GetPosition()))
        _setFlags(true, m_pressed);
    event.Skip();
}

void ImageButton::_onPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.DestroyClippingRegion();
    dc.SetClippingRegion(0, 0, size.GetWidth(), size.GetHeight());
    PaintFace(dc, size);
}

#ifdef __WXGTK3__
// GTK never sends a native button's paint events to wxWidgets and draws its
// own face. We take its "draw" signal before the class handler runs and stop
// the emission, so only our face (and not GTK's frame or label) is drawn.
void ImageButton::_hookNativeDrawing()
{
    GTKConnectWidget("draw", reinterpret_cast<wxGTKCallback>(&ImageButton::_onNativeDraw));
}

int ImageButton::_onNativeDraw(GtkWidget*, cairo_t* cr, ImageButton* button)
{
    wxGraphicsContext* context = wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cr);
    if (!context)
        return 0; // let GTK draw its own face rather than nothing
    // GTK has already clipped the context to what is visible of the widget:
    // only narrow that clip, so a partly hidden button never paints outside.
    wxGCDC dc(context);
    const wxSize size = button->GetClientSize();
    dc.SetClippingRegion(0, 0, size.GetWidth(), size.GetHeight());
    button->PaintFace(dc, size);
    return 1;
}
#endif

} // namespace BrelkosPlayer
