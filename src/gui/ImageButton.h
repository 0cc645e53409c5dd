// The program's push button: a borderless native button whose face we paint
// ourselves from per-state colours and images. Clicks stay the native
// button-click events with the button's id.
#pragma once

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/colour.h>
#include <wx/font.h>

class wxDC;

namespace BrelkosPlayer {

struct Design;

enum ButtonState { ButtonNormal = 0, ButtonMouseOver = 1, ButtonDown = 2, ButtonDisabled = 3 };

class ImageButton : public wxButton {
public:
    ImageButton(wxWindow* parent, wxWindowID id, const wxString& label,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);

    // Only records the flag: the native control stays enabled and still clicks.
    bool Enable(bool enable = true) override;
    // Records the outer colour (the corners outside the rounded face); the
    // native background is left alone. An invalid colour means the parent's.
    bool SetBackgroundColour(const wxColour& colour) override;
    // The font of the painted label; an invalid font restores the default.
    bool SetFont(const wxFont& font) override;
    // Keeps the painted label in step with the native one.
    void SetLabel(const wxString& label) override;

    // state: a ButtonState; other values are ignored.
    void SetImage(int state, const wxBitmap& image);
    void SetFaceColour(int state, const wxColour& colour);
    void SetTextColour(int state, const wxColour& colour);
    // The design's four face colours, and its four text colours when withText.
    void SetDesignColours(const Design& design, bool withText = true);

    void SetScaleImage(bool scale);
    void SetCentreText(bool centre);
    void SetUseMask(bool useMask);
    void SetFrame(bool frame);
    void SetRounded(bool rounded);

    bool IsDrawnEnabled() const { return m_enabled; }
    bool IsMouseOver() const { return m_mouseOver; }
    bool IsPressed() const { return m_pressed; }
    int GetState() const;
    const wxColour& GetOuterColour() const { return m_outerColour; }
    const wxColour& GetFaceColour(int state) const { return m_faceColours[_index(state)]; }
    const wxColour& GetTextColour(int state) const { return m_textColours[_index(state)]; }
    const wxBitmap& GetImage(int state) const { return m_images[_index(state)]; }
    const wxFont& GetLabelFont() const { return m_font; }

    // Paints the face into any DC of the given size (the paint handler uses
    // it, and tests use it with a memory DC).
    void PaintFace(wxDC& dc, const wxSize& size);

    // The font a new button draws its label with.
    static wxFont DefaultFont();

private:
    void _onMouseEnter(wxMouseEvent& event);
    void _onMouseLeave(wxMouseEvent& event);
    void _onLeftDown(wxMouseEvent& event);
    void _onLeftUp(wxMouseEvent& event);
    void _onMotion(wxMouseEvent& event);
    void _onPaint(wxPaintEvent& event);

    static bool _isState(int state) { return state >= ButtonNormal && state <= ButtonDisabled; }
    static int _index(int state) { return _isState(state) ? state : ButtonNormal; }
    void _setFlags(bool mouseOver, bool pressed);
    wxColour _outerColour() const;
#ifdef __WXGTK3__
    void _hookNativeDrawing();
    static int _onNativeDraw(GtkWidget* widget, cairo_t* cr, ImageButton* button);
#endif

    bool m_enabled = true;
    bool m_mouseOver = false;
    bool m_pressed = false;
    wxString m_label;
    bool m_scaleImage = false;
    bool m_centreText = true;
    bool m_useMask = true;
    bool m_frame = true;
    bool m_rounded = true;
    wxBitmap m_images[4];
    wxColour m_faceColours[4];
    wxColour m_textColours[4];
    wxColour m_outerColour;
    wxFont m_font;

    wxDECLARE_EVENT_TABLE();
};

} // namespace BrelkosPlayer
