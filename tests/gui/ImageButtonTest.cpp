#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "gui/FormMain.h"
#include "gui/ImageButton.h"
#include "support/GuiTest.h"

using BrelkosPlayer::ImageButton;
using testing_support::CaptureWindow;
using testing_support::WaitFor;

namespace {

enum ImageButtonTestIds { ID_TEST_BUTTON = 100, ID_OTHER_BUTTON = 101 };

const wxColour kOuter(0, 200, 0);
const wxColour kBlack(0, 0, 0);
const wxColour kFaces[4] = {wxColour(0, 0, 255), wxColour(255, 255, 0), wxColour(255, 0, 255),
                            wxColour(0, 255, 255)};
const wxColour kTexts[4] = {wxColour(255, 0, 0), wxColour(128, 0, 0), wxColour(0, 128, 0),
                            wxColour(255, 128, 0)};

// An owner that binds its buttons the way every window of the program does.
class ClickOwner : public wxFrame {
public:
    ClickOwner()
        : wxFrame(nullptr, wxID_ANY, "ImageButton test", wxPoint(0, 0), wxSize(420, 260), wxBORDER_NONE)
    {
        m_panel = new wxPanel(this, wxID_ANY, wxPoint(0, 0), wxSize(420, 260));
        m_panel->SetBackgroundColour(wxColour(40, 44, 52));
    }
    wxPanel* m_panel;
    std::vector<int> m_clicks;

private:
    void BtnTestClick(wxCommandEvent& event) { m_clicks.push_back(event.GetId()); }
    void BtnOtherClick(wxCommandEvent& event) { m_clicks.push_back(event.GetId()); }

    wxDECLARE_EVENT_TABLE();
};

// clang-format off
wxBEGIN_EVENT_TABLE(ClickOwner, wxFrame)
    EVT_BUTTON(ID_TEST_BUTTON, ClickOwner::BtnTestClick)
    EVT_BUTTON(ID_OTHER_BUTTON, ClickOwner::BtnOtherClick)
wxEND_EVENT_TABLE()
// clang-format on

bool Near(const wxColour& a, const wxColour& b, int tolerance = 40)
{
    return std::abs(a.Red() - b.Red()) <= tolerance && std::abs(a.Green() - b.Green()) <= tolerance &&
           std::abs(a.Blue() - b.Blue()) <= tolerance;
}

wxColour Pixel(const wxImage& image, int x, int y)
{
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

std::string Describe(const wxColour& colour)
{
    return std::string(colour.GetAsString(wxC2S_CSS_SYNTAX).utf8_str());
}

// Bounding box of the pixels near a colour; empty when there are none.
wxRect FindColour(const wxImage& image, const wxColour& colour, int tolerance = 40)
{
    wxRect box;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (Near(Pixel(image, x, y), colour, tolerance))
                box = box.IsEmpty() ? wxRect(x, y, 1, 1) : box.Union(wxRect(x, y, 1, 1));
    return box;
}

wxImage Render(ImageButton& button, const wxSize& size)
{
    wxBitmap bitmap(size, 24);
    {
        wxMemoryDC dc(bitmap);
        button.PaintFace(dc, size);
    }
    return bitmap.ConvertToImage();
}

wxBitmap SolidBitmap(int width, int height, const wxColour& colour)
{
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), colour.Red(), colour.Green(), colour.Blue());
    return wxBitmap(image);
}

wxImage CaptureButton(ImageButton* button)
{
    wxWindow* frame = wxGetTopLevelParent(button);
    return CaptureWindow(frame,
                         wxRect(frame->ScreenToClient(button->GetScreenPosition()), button->GetSize()));
}

void SendMouse(ImageButton* button, wxEventType type)
{
    wxMouseEvent event(type);
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

// Holds the left button down until released or out of scope, so a failing
// check never leaves the pointer held for the next test.
class MouseHold {
public:
    explicit MouseHold(wxUIActionSimulator& mouse) : m_mouse(mouse) { m_mouse.MouseDown(); }
    ~MouseHold() { Release(); }
    void Release()
    {
        if (m_held)
            m_mouse.MouseUp();
        m_held = false;
    }

private:
    wxUIActionSimulator& m_mouse;
    bool m_held = true;
};

void AddPngHandler()
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
}

// The middle of a face, away from its outline, where only the label can be.
wxImage Middle(const wxImage& face)
{
    return face.GetSubImage(wxRect(8, 5, face.GetWidth() - 16, face.GetHeight() - 10));
}

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner = new ClickOwner;
        AddPngHandler();
    }
    void TearDown() override
    {
        ClickOwner* owner = m_owner;
        owner->Destroy();
        WaitFor([owner] { return !wxTheApp->IsScheduledForDestruction(owner); });
    }

    ImageButton* MakeButton(const wxString& label, const wxSize& size, int id = ID_TEST_BUTTON,
                            const wxPoint& pos = wxPoint(10, 10))
    {
        auto* button = new ImageButton(m_owner->m_panel, id, label, pos, size);
        button->SetBackgroundColour(kOuter);
        for (int state = 0; state < 4; ++state) {
            button->SetFaceColour(state, kFaces[state]);
            button->SetTextColour(state, kTexts[state]);
        }
        return button;
    }

    void ShowOwner()
    {
        m_owner->Show();
        m_owner->Raise();
        // Shown means drawn: the panel's far corner has its colour on screen.
        const wxColour panel = m_owner->m_panel->GetBackgroundColour();
        ASSERT_TRUE(WaitFor(
            [&] { return Near(Pixel(CaptureWindow(m_owner, wxRect(415, 255, 1, 1)), 0, 0), panel, 0); }));
    }

    ClickOwner* m_owner = nullptr;
};

TEST_F(ImageButtonTest, NewButtonIsBorderlessGreyWithBlackLabelsAndNoImages)
{
    auto* button = new ImageButton(m_owner->m_panel, ID_TEST_BUTTON, "OK", wxPoint(0, 0), wxSize(33, 29));
    EXPECT_EQ("button", button->GetName());
    EXPECT_TRUE(button->HasFlag(wxBORDER_NONE));
    EXPECT_EQ("OK", button->GetLabel());
    EXPECT_EQ(wxColour(192, 192, 192), button->GetOuterColour());
    for (int state = 0; state < 4; ++state) {
        EXPECT_EQ(wxColour(192, 192, 192), button->GetFaceColour(state)) << state;
        EXPECT_EQ(wxColour(0, 0, 0), button->GetTextColour(state)) << state;
        EXPECT_FALSE(button->GetImage(state).IsOk()) << state;
    }
    EXPECT_EQ(8, button->GetLabelFont().GetPointSize());
    EXPECT_EQ(wxFONTWEIGHT_NORMAL, button->GetLabelFont().GetWeight());
    EXPECT_EQ(0, button->GetState());
}

TEST_F(ImageButtonTest, RoundedFaceLiesOnOuterColourWithBlackOutline)
{
    ImageButton* button = MakeButton(wxEmptyString, wxSize(33, 29));
    wxImage face = Render(*button, wxSize(33, 29));

    // Corners, and one pixel in from them, lie outside a radius of 29 * 0.25.
    for (const wxPoint& p : {wxPoint(0, 0), wxPoint(32, 0), wxPoint(0, 28), wxPoint(32, 28), wxPoint(1, 1),
                             wxPoint(31, 1), wxPoint(1, 27), wxPoint(31, 27), wxPoint(2, 0), wxPoint(0, 2)})
        EXPECT_TRUE(Near(Pixel(face, p.x, p.y), kOuter))
            << p.x << "," << p.y << " " << Describe(Pixel(face, p.x, p.y));
    // The outline runs along the four sides once the corner curve has ended.
    for (const wxPoint& p :
         {wxPoint(16, 0), wxPoint(8, 0), wxPoint(16, 28), wxPoint(0, 14), wxPoint(32, 14), wxPoint(0, 8)})
        EXPECT_TRUE(Near(Pixel(face, p.x, p.y), kBlack))
            << p.x << "," << p.y << " " << Describe(Pixel(face, p.x, p.y));
    // Inside, even close to the corners, the face colour.
    for (const wxPoint& p : {wxPoint(16, 14), wxPoint(3, 3), wxPoint(29, 25), wxPoint(1, 14), wxPoint(16, 1)})
        EXPECT_TRUE(Near(Pixel(face, p.x, p.y), kFaces[0]))
            << p.x << "," << p.y << " " << Describe(Pixel(face, p.x, p.y));
}

TEST_F(ImageButtonTest, FrameSettingsDecideOutlineAndCorners)
{
    struct Case {
        bool frame;
        bool rounded;
        wxColour corner;
        wxColour edge;
    };
    const Case cases[] = {
        {true, true, kOuter, kBlack},
        {true, false, kBlack, kBlack},
        {false, true, kFaces[0], kFaces[0]},
        {false, false, kFaces[0], kFaces[0]},
    };
    ImageButton* button = MakeButton(wxEmptyString, wxSize(40, 32));
    for (const Case& c : cases) {
        button->SetFrame(c.frame);
        button->SetRounded(c.rounded);
        wxImage face = Render(*button, wxSize(40, 32));
        SCOPED_TRACE(testing::Message() << "frame " << c.frame << " rounded " << c.rounded);
        EXPECT_TRUE(Near(Pixel(face, 0, 0), c.corner)) << Describe(Pixel(face, 0, 0));
        EXPECT_TRUE(Near(Pixel(face, 20, 0), c.edge)) << Describe(Pixel(face, 20, 0));
        EXPECT_TRUE(Near(Pixel(face, 20, 16), kFaces[0])) << Describe(Pixel(face, 20, 16));
    }
}

TEST_F(ImageButtonTest, MouseAndEnableSelectStateColours)
{
    ImageButton* button = MakeButton("Go", wxSize(60, 30));
    struct Step {
        const char* what;
        std::function<void()> act;
        int state;
    };
    const Step steps[] = {
        {"initial", [] {}, 0},
        {"enter", [&] { SendMouse(button, wxEVT_ENTER_WINDOW); }, 1},
        {"left down", [&] { SendMouse(button, wxEVT_LEFT_DOWN); }, 2},
        {"left up", [&] { SendMouse(button, wxEVT_LEFT_UP); }, 1},
        {"disabled while over", [&] { button->Enable(false); }, 3},
        {"disabled and pressed", [&] { SendMouse(button, wxEVT_LEFT_DOWN); }, 3},
        {"enabled again", [&] { button->Enable(true); }, 2},
        {"leave", [&] { SendMouse(button, wxEVT_LEAVE_WINDOW); }, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        ASSERT_EQ(step.state, button->GetState());
        wxImage face = Render(*button, wxSize(60, 30));
        EXPECT_TRUE(Near(Pixel(face, 4, 15), kFaces[step.state])) << Describe(Pixel(face, 4, 15));
        EXPECT_FALSE(FindColour(Middle(face), kTexts[step.state], 30).IsEmpty());
    }
}

TEST_F(ImageButtonTest, LeavingWhilePressedEndsThePress)
{
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        ImageButton* button = MakeButton(wxEmptyString, wxSize(40, 32));
        button->Enable(enabled);
        SendMouse(button, wxEVT_ENTER_WINDOW);
        SendMouse(button, wxEVT_LEFT_DOWN);
        EXPECT_TRUE(button->IsPressed());
        SendMouse(button, wxEVT_LEAVE_WINDOW);
        EXPECT_FALSE(button->IsPressed());
        EXPECT_FALSE(button->IsMouseOver());
        const int expected = enabled ? 0 : 3;
        EXPECT_EQ(expected, button->GetState());
        EXPECT_TRUE(Near(Pixel(Render(*button, wxSize(40, 32)), 20, 16), kFaces[expected]));
        button->Destroy();
    }
}

TEST_F(ImageButtonTest, RealMouseDrivesStatesAndClicksEvenWhenDisabled)
{
    ImageButton* button = MakeButton("Clic", wxSize(90, 32));
    ImageButton* other = MakeButton("Autre", wxSize(90, 32), ID_OTHER_BUTTON, wxPoint(120, 10));
    ShowOwner();
    wxUIActionSimulator mouse;
    const wxPoint inside = button->GetScreenPosition() + wxPoint(45, 16);
    const wxPoint outside = m_owner->GetScreenPosition() + wxPoint(300, 200);

    mouse.MouseMove(outside);
    ASSERT_TRUE(WaitFor([&] { return !button->IsMouseOver(); }));
    mouse.MouseMove(inside);
    ASSERT_TRUE(WaitFor([&] { return button->GetState() == 1; }));
    MouseHold hold(mouse);
    ASSERT_TRUE(WaitFor([&] { return button->GetState() == 2; }));
    // Leaving with the button held clears the press at once, and releasing
    // outside is no click.
    mouse.MouseMove(outside);
    ASSERT_TRUE(WaitFor([&] { return button->GetState() == 0; }));
    EXPECT_FALSE(button->IsPressed());
    hold.Release();
    // Clicks arrive in order: once the other button's click is in, the release would have been too.
    mouse.MouseMove(other->GetScreenPosition() + wxPoint(45, 16));
    ASSERT_TRUE(WaitFor([&] { return other->IsMouseOver(); }));
    mouse.MouseClick();
    ASSERT_TRUE(WaitFor([&] { return !m_owner->m_clicks.empty(); }));
    EXPECT_EQ(std::vector<int>{ID_OTHER_BUTTON}, m_owner->m_clicks);

    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        m_owner->m_clicks.clear();
        button->Enable(enabled);
        mouse.MouseMove(inside);
        ASSERT_TRUE(WaitFor([&] { return button->IsMouseOver(); }));
        mouse.MouseClick();
        ASSERT_TRUE(WaitFor([&] { return !m_owner->m_clicks.empty(); }));
        EXPECT_EQ(std::vector<int>{ID_TEST_BUTTON}, m_owner->m_clicks);
        EXPECT_FALSE(button->IsPressed());
        EXPECT_EQ(enabled ? 1 : 3, button->GetState());
        mouse.MouseMove(outside);
        ASSERT_TRUE(WaitFor([&] { return !button->IsMouseOver(); }));
    }
}

TEST_F(ImageButtonTest, ImageIsPlacedInsideTheFrame)
{
    struct Case {
        bool frame;
        bool scale;
        wxRect drawn;
    };
    const Case cases[] = {
        {true, false, wxRect(9, 5, 20, 20)},
        {true, true, wxRect(9, 5, 18, 18)},
        {false, false, wxRect(10, 6, 20, 20)},
        {false, true, wxRect(10, 6, 20, 20)},
    };
    const wxColour red(255, 0, 0);
    ImageButton* button = MakeButton(wxEmptyString, wxSize(40, 32));
    button->SetImage(BrelkosPlayer::ButtonNormal, SolidBitmap(20, 20, red));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "frame " << c.frame << " scale " << c.scale);
        button->SetFrame(c.frame);
        button->SetScaleImage(c.scale);
        EXPECT_EQ(c.drawn, FindColour(Render(*button, wxSize(40, 32)), red, 10));
    }
}

TEST_F(ImageButtonTest, TinyImageWithScalingIsDrawnAsItIs)
{
    const wxColour red(255, 0, 0);
    ImageButton* button = MakeButton(wxEmptyString, wxSize(40, 32));
    button->SetScaleImage(true);
    button->SetImage(BrelkosPlayer::ButtonNormal, SolidBitmap(2, 2, red));
    // Shrinking by the frame would leave nothing: it is drawn unscaled at (18, 14) rather than failing.
    EXPECT_EQ(wxRect(18, 14, 2, 2), FindColour(Render(*button, wxSize(40, 32)), red, 10));
}

TEST_F(ImageButtonTest, StateWithoutImageFallsBackToNormalImage)
{
    const wxColour red(255, 0, 0);
    const wxColour grey(90, 90, 90);
    struct Case {
        const char* what;
        bool normalImage;
        bool overImage;
        int state;
        const wxColour* expected; // nullptr: no image at all
    };
    const Case cases[] = {
        {"over without its own image", true, false, 1, &red},
        {"pressed without its own image", true, true, 2, &red},
        {"over with its own image", true, true, 1, &grey},
        {"normal without any image", false, false, 0, nullptr},
        {"over without any image", false, false, 1, nullptr},
        {"only an over image, normal state", false, true, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImageButton* button = MakeButton(wxEmptyString, wxSize(40, 32));
        if (c.normalImage)
            button->SetImage(BrelkosPlayer::ButtonNormal, SolidBitmap(20, 20, red));
        if (c.overImage)
            button->SetImage(BrelkosPlayer::ButtonMouseOver, SolidBitmap(20, 20, grey));
        if (c.state >= 1)
            SendMouse(button, wxEVT_ENTER_WINDOW);
        if (c.state == 2)
            SendMouse(button, wxEVT_LEFT_DOWN);
        ASSERT_EQ(c.state, button->GetState());
        wxImage face = Render(*button, wxSize(40, 32));
        EXPECT_EQ(c.expected == &red ? wxRect(9, 5, 20, 20) : wxRect(), FindColour(face, red, 10));
        EXPECT_EQ(c.expected == &grey ? wxRect(9, 5, 20, 20) : wxRect(), FindColour(face, grey, 10));
        // Without an image the face is untouched in the middle.
        if (!c.expected) {
            EXPECT_TRUE(Near(Pixel(face, 20, 16), kFaces[c.state], 0));
        }
        button->Destroy();
    }
}

TEST_F(ImageButtonTest, MaskDecidesWhetherMaskedPixelsCoverTheFace)
{
    const wxColour red(255, 0, 0);
    const wxColour maskColour(0, 255, 0);
    wxImage image(20, 20);
    image.SetRGB(wxRect(0, 0, 20, 20), maskColour.Red(), maskColour.Green(), maskColour.Blue());
    image.SetRGB(wxRect(5, 5, 10, 10), red.Red(), red.Green(), red.Blue());
    image.SetMaskColour(maskColour.Red(), maskColour.Green(), maskColour.Blue());
    ImageButton* button = MakeButton(wxEmptyString, wxSize(40, 32));
    button->SetBackgroundColour(wxColour(100, 100, 100));
    button->SetImage(BrelkosPlayer::ButtonNormal, wxBitmap(image));
    for (bool useMask : {true, false}) {
        SCOPED_TRACE(useMask ? "mask" : "no mask");
        button->SetUseMask(useMask);
        wxImage face = Render(*button, wxSize(40, 32));
        EXPECT_EQ(wxRect(14, 10, 10, 10), FindColour(face, red, 10));
        EXPECT_EQ(useMask ? wxRect() : wxRect(9, 5, 20, 20), FindColour(face, maskColour, 10));
    }
}

TEST_F(ImageButtonTest, LabelIsCentredInTheStateTextColourAndFont)
{
    ImageButton* button = MakeButton("Ajout fichier", wxSize(90, 32));
    wxRect text = FindColour(Render(*button, wxSize(90, 32)), kTexts[0], 60);
    ASSERT_FALSE(text.IsEmpty());
    EXPECT_NEAR(45.0, text.x + text.width / 2.0, 2.0);
    EXPECT_NEAR(16.0, text.y + text.height / 2.0, 3.0);

    button->SetCentreText(false);
    wxRect corner = FindColour(Render(*button, wxSize(90, 32)), kTexts[0], 60);
    ASSERT_FALSE(corner.IsEmpty());
    EXPECT_LE(corner.x, 2);
    EXPECT_LE(corner.y, 4);
    EXPECT_EQ(text.GetSize(), corner.GetSize());

    button->SetCentreText(true);
    button->SetFont(wxFont(16, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD));
    wxRect big = FindColour(Render(*button, wxSize(90, 32)), kTexts[0], 60);
    EXPECT_GT(big.height, text.height + 3);
    EXPECT_NEAR(16.0, big.y + big.height / 2.0, 3.0);
}

TEST_F(ImageButtonTest, BackgroundColourIsTheOuterColourNotTheNativeBackground)
{
    ImageButton* button =
        new ImageButton(m_owner->m_panel, ID_TEST_BUTTON, wxEmptyString, wxPoint(0, 0), wxSize(33, 29));
    const wxColour native = button->GetBackgroundColour();
    const wxColour purple(120, 0, 160);
    EXPECT_TRUE(button->SetBackgroundColour(purple));
    EXPECT_EQ(native, button->GetBackgroundColour());
    EXPECT_EQ(purple, button->GetOuterColour());
    EXPECT_TRUE(Near(Pixel(Render(*button, wxSize(33, 29)), 0, 0), purple, 0));

    // The toolkit-default design colour is invalid: the corners then take the parent's colour.
    EXPECT_TRUE(button->SetBackgroundColour(wxNullColour));
    EXPECT_TRUE(
        Near(Pixel(Render(*button, wxSize(33, 29)), 0, 0), m_owner->m_panel->GetBackgroundColour(), 0));
}

TEST_F(ImageButtonTest, EnableOnlyChangesTheDrawnState)
{
    ImageButton* button = MakeButton(wxEmptyString, wxSize(40, 32));
    EXPECT_FALSE(button->Enable(false));
    EXPECT_TRUE(button->IsEnabled()); // the native control keeps working
    EXPECT_FALSE(button->IsDrawnEnabled());
    EXPECT_EQ(3, button->GetState());
    EXPECT_TRUE(button->Enable(true));
    EXPECT_EQ(0, button->GetState());
}

TEST_F(ImageButtonTest, ScreenShowsThePaintedFaces)
{
    // A dark design on the transport buttons, the default one on the labelled buttons.
    const wxColour darkFace(70, 90, 120);
    const wxColour darkOuter(40, 44, 52);
    const char* images[] = {"PNGPrevious", "PNGPlay", "PNGPause", "PNGStop", "PNGNext"};
    std::vector<ImageButton*> transport;
    for (int i = 0; i < 5; ++i) {
        auto* button = new ImageButton(m_owner->m_panel, wxID_ANY, wxEmptyString, wxPoint(10 + 40 * i, 10),
                                       wxSize(40, 40));
        button->SetBackgroundColour(darkOuter);
        for (int state = 0; state < 4; ++state)
            button->SetFaceColour(state, darkFace);
        button->SetFaceColour(1, wxColour(100, 130, 170));
        wxImage image(testing_support::ExecutableFolder() + "/rsc/" + images[i] + ".png", wxBITMAP_TYPE_ANY);
        ASSERT_TRUE(image.IsOk()) << images[i];
        button->SetImage(BrelkosPlayer::ButtonNormal, wxBitmap(image));
        transport.push_back(button);
    }
    struct Labelled {
        const char* label;
        int state; // 1 hovered, 2 held down, 3 disabled
        bool frame;
        bool rounded;
    };
    const Labelled labelled[] = {
        {"Normal", 0, true, true},  {"Survol", 1, true, true}, {"Enfonce", 2, true, true},
        {"Inactif", 3, true, true}, {"Carre", 0, true, false}, {"Sans cadre", 0, false, false},
    };
    const wxColour faces[4] = {wxColour(200, 200, 205), wxColour(150, 190, 240), wxColour(60, 100, 190),
                               wxColour(120, 120, 120)};
    const wxColour texts[4] = {wxColour(30, 30, 30), wxColour(0, 40, 120), wxColour(255, 255, 255),
                               wxColour(200, 200, 200)};
    std::vector<ImageButton*> buttons;
    for (size_t i = 0; i < std::size(labelled); ++i) {
        ImageButton* button = MakeButton(labelled[i].label, wxSize(90, 32), ID_TEST_BUTTON,
                                         wxPoint(10 + 100 * (i % 3), 70 + 45 * (i / 3)));
        button->SetBackgroundColour(darkOuter);
        button->SetFrame(labelled[i].frame);
        button->SetRounded(labelled[i].rounded);
        for (int state = 0; state < 4; ++state) {
            button->SetFaceColour(state, faces[state]);
            button->SetTextColour(state, texts[state]);
        }
        buttons.push_back(button);
    }
    ShowOwner();
    buttons[3]->Enable(false);
    SendMouse(buttons[1], wxEVT_ENTER_WINDOW);
    wxUIActionSimulator mouse;
    mouse.MouseMove(buttons[2]->GetScreenPosition() + wxPoint(45, 16));
    ASSERT_TRUE(WaitFor([&] { return buttons[2]->IsMouseOver(); }));
    MouseHold hold(mouse);
    ASSERT_TRUE(WaitFor([&] { return buttons[2]->IsPressed(); }));

    for (size_t i = 0; i < buttons.size(); ++i) {
        SCOPED_TRACE(labelled[i].label);
        const wxColour face = faces[labelled[i].state];
        wxImage shown;
        ASSERT_TRUE(WaitFor([&] {
            shown = CaptureButton(buttons[i]);
            return Near(Pixel(shown, 4, 16), face, 8);
        })) << Describe(Pixel(shown, 4, 16));
        EXPECT_FALSE(FindColour(Middle(shown), texts[labelled[i].state], 40).IsEmpty());
        // The corners show the outer colour only where the face is rounded.
        const wxColour corner = !labelled[i].frame ? face : labelled[i].rounded ? darkOuter : kBlack;
        EXPECT_TRUE(Near(Pixel(shown, 0, 0), corner, 8)) << Describe(Pixel(shown, 0, 0));
    }
    for (ImageButton* button : transport) {
        wxImage shown;
        ASSERT_TRUE(WaitFor([&] {
            shown = CaptureButton(button);
            return Near(Pixel(shown, 4, 20), darkFace, 8) && Near(Pixel(shown, 0, 0), darkOuter, 8);
        })) << Describe(Pixel(shown, 4, 20));
        // The glyph is there, opaque, in the middle.
        EXPECT_FALSE(Near(Pixel(shown, 20, 20), darkFace, 30)) << Describe(Pixel(shown, 20, 20));
    }

    // Where the caller asks for it, keep the picture (docs/image-buttons.png comes from here).
    if (const char* path = std::getenv("BRELKOS_SCREENSHOT")) {
        wxImage shot = CaptureWindow(m_owner, wxRect(0, 0, 320, 160));
        EXPECT_TRUE(shot.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG));
    }
    hold.Release();
    ASSERT_TRUE(WaitFor([&] { return !buttons[2]->IsPressed(); }));

    // A disabled face is repainted at once, not at the next hover.
    buttons[0]->Enable(false);
    wxImage shown;
    EXPECT_TRUE(WaitFor([&] {
        shown = CaptureButton(buttons[0]);
        return Near(Pixel(shown, 4, 16), faces[3], 8);
    })) << Describe(Pixel(shown, 4, 16));
}

TEST(TransportImages, AreFortyPixelsSquareWithTransparentMargins)
{
    AddPngHandler();
    for (const char* name : {"PNGPrevious", "PNGPlay", "PNGPause", "PNGStop", "PNGNext"}) {
        SCOPED_TRACE(name);
        wxImage image(testing_support::ExecutableFolder() + "/rsc/" + name + ".png", wxBITMAP_TYPE_PNG);
        ASSERT_TRUE(image.IsOk());
        EXPECT_EQ(wxSize(40, 40), image.GetSize());
        ASSERT_TRUE(image.HasAlpha());
        // Drawn at (-1, -1) inside the frame: the border must stay clear so the
        // rounded outline shows, and the glyph must be solid in the middle.
        for (const wxPoint& p : {wxPoint(0, 0), wxPoint(39, 0), wxPoint(0, 39), wxPoint(39, 39),
                                 wxPoint(20, 1), wxPoint(1, 20), wxPoint(38, 20), wxPoint(20, 38)})
            EXPECT_EQ(0, image.GetAlpha(p.x, p.y)) << p.x << "," << p.y;
        EXPECT_GT(image.GetAlpha(20, 20), 200);
    }
}

TEST(AppIcon, IsSixtyFourPixelsSquareAndOpaqueInside)
{
    wxIcon icon = BrelkosPlayer::FormMain::AppIcon();
    ASSERT_TRUE(icon.IsOk());
    EXPECT_EQ(64, icon.GetWidth());
    EXPECT_EQ(64, icon.GetHeight());
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icon);
    wxImage image = bitmap.ConvertToImage();
    EXPECT_FALSE(image.IsTransparent(32, 32));
    EXPECT_TRUE(image.IsTransparent(0, 0));
    // A picture, not a flat tile: many different colours.
    EXPECT_GT(image.CountColours(), 50UL);
}

} // namespace
