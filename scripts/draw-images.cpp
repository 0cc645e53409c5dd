// Draws the player's pictures: the five 40 x 40 transport button images
// (PNG with transparency) and the 64 x 64 application icon (XPM source, two
// characters per pixel). Run through scripts/draw-images.sh; the results are
// committed, so a build never needs this program.
//
// usage: draw-images RSC_FOLDER XPM_FILE [ICON_PREVIEW_PNG]

#include <wx/app.h>
#include <wx/brush.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/pen.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>

namespace {

const int kButtonSize = 40;
const int kIconSize = 64;

// A fresh, fully transparent RGBA image.
wxImage TransparentImage(int size)
{
    wxImage image(size, size);
    image.InitAlpha();
    std::memset(image.GetAlpha(), 0, static_cast<size_t>(size) * size);
    return image;
}

// Draws into a transparent image with antialiasing; the image is complete
// once the graphics context is gone.
wxImage Draw(int size, const std::function<void(wxGraphicsContext&)>& paint)
{
    wxImage image = TransparentImage(size);
    {
        wxGraphicsContext* gc = wxGraphicsContext::Create(image);
        gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
        paint(*gc);
        delete gc;
    }
    return image;
}

// A glyph is one closed path. It is drawn three times: a soft shadow, a light
// halo so it stays legible on dark button faces, then the glyph itself with
// round joins, which gives the friendly rounded corners.
void PaintGlyph(wxGraphicsContext& gc, const wxGraphicsPath& path, const wxColour& colour)
{
    const double corner = 3.0;
    const double halo = 2.0;

    gc.PushState();
    gc.Translate(0.6, 1.2);
    gc.SetPen(
        gc.CreatePen(wxGraphicsPenInfo(wxColour(0, 0, 0, 70), corner + 2 * halo + 1).Join(wxJOIN_ROUND)));
    gc.SetBrush(wxBrush(wxColour(0, 0, 0, 70)));
    gc.DrawPath(path);
    gc.PopState();

    gc.SetPen(
        gc.CreatePen(wxGraphicsPenInfo(wxColour(255, 255, 255, 235), corner + 2 * halo).Join(wxJOIN_ROUND)));
    gc.SetBrush(wxBrush(wxColour(255, 255, 255, 235)));
    gc.DrawPath(path);

    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(colour, corner).Join(wxJOIN_ROUND)));
    gc.SetBrush(wxBrush(colour));
    gc.DrawPath(path);
}

void AddTriangle(wxGraphicsPath& path, double tipX, double baseX, double top, double bottom)
{
    path.MoveToPoint(baseX, top);
    path.AddLineToPoint(tipX, (top + bottom) / 2);
    path.AddLineToPoint(baseX, bottom);
    path.CloseSubpath();
}

const wxColour kTransportColour(38, 70, 83);
const wxColour kPlayColour(42, 157, 98);
const wxColour kPauseColour(233, 150, 40);
const wxColour kStopColour(214, 69, 65);

wxImage DrawPrevious()
{
    return Draw(kButtonSize, [](wxGraphicsContext& gc) {
        wxGraphicsPath path = gc.CreatePath();
        path.AddRectangle(11.5, 12.5, 3, 15);
        AddTriangle(path, 17, 28.5, 12.5, 27.5);
        PaintGlyph(gc, path, kTransportColour);
    });
}

wxImage DrawNext()
{
    return Draw(kButtonSize, [](wxGraphicsContext& gc) {
        wxGraphicsPath path = gc.CreatePath();
        path.AddRectangle(25.5, 12.5, 3, 15);
        AddTriangle(path, 23, 11.5, 12.5, 27.5);
        PaintGlyph(gc, path, kTransportColour);
    });
}

wxImage DrawPlay()
{
    return Draw(kButtonSize, [](wxGraphicsContext& gc) {
        wxGraphicsPath path = gc.CreatePath();
        AddTriangle(path, 29, 14, 11.5, 28.5);
        PaintGlyph(gc, path, kPlayColour);
    });
}

wxImage DrawPause()
{
    return Draw(kButtonSize, [](wxGraphicsContext& gc) {
        wxGraphicsPath path = gc.CreatePath();
        path.AddRectangle(12.5, 12.5, 4.5, 15);
        path.AddRectangle(23, 12.5, 4.5, 15);
        PaintGlyph(gc, path, kPauseColour);
    });
}

wxImage DrawStop()
{
    return Draw(kButtonSize, [](wxGraphicsContext& gc) {
        wxGraphicsPath path = gc.CreatePath();
        path.AddRectangle(13, 13, 14, 14);
        PaintGlyph(gc, path, kStopColour);
    });
}

// The application icon: a rounded tile with a warm gradient, a white pair of
// beamed notes and a small play badge. Fully opaque inside the tile, since an
// XPM pixel is either a colour or transparent.
wxImage DrawIcon(int size = kIconSize)
{
    return Draw(size, [size](wxGraphicsContext& gc) {
        // Drawn on a 64-unit grid; the installed theme icons are larger.
        if (size != kIconSize)
            gc.Scale(double(size) / kIconSize, double(size) / kIconSize);
        gc.SetPen(*wxTRANSPARENT_PEN);
        gc.SetBrush(
            gc.CreateLinearGradientBrush(0, 0, 0, kIconSize, wxColour(255, 140, 66), wxColour(196, 38, 110)));
        gc.DrawRoundedRectangle(1, 1, kIconSize - 2, kIconSize - 2, 13);

        // Two stems joined by a slanted beam, two oval heads.
        const wxColour white(255, 255, 255);
        gc.SetBrush(wxBrush(white));
        wxGraphicsPath notes = gc.CreatePath();
        notes.MoveToPoint(24, 17);
        notes.AddLineToPoint(46, 11);
        notes.AddLineToPoint(46, 17.5);
        notes.AddLineToPoint(24, 23.5);
        notes.CloseSubpath();
        notes.AddRectangle(24, 19, 3.5, 24);
        notes.AddRectangle(42.5, 13, 3.5, 24);
        gc.DrawPath(notes);
        for (double x : {19.5, 38.0}) {
            const double y = x < 30 ? 43.5 : 37.5;
            gc.PushState();
            gc.Translate(x, y);
            gc.Rotate(-0.35);
            gc.DrawEllipse(-6.5, -4.8, 13, 9.6);
            gc.PopState();
        }

        // Play badge in the lower right corner.
        gc.SetBrush(wxBrush(white));
        gc.DrawEllipse(39, 39, 20, 20);
        wxGraphicsPath play = gc.CreatePath();
        AddTriangle(play, 54.5, 45.5, 43.5, 54.5);
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(wxColour(196, 38, 110), 1.5).Join(wxJOIN_ROUND)));
        gc.SetBrush(wxBrush(wxColour(196, 38, 110)));
        gc.DrawPath(play);
    });
}

// XPM text of an image: alpha below one half becomes "None", two characters
// per pixel. Colours are kept exact as long as the two-character codes last.
std::string ToXpm(const wxImage& image, const char* name)
{
    static const char kChars[] =
        ".+@#$%&*=-;>,')!~{]^/(_:<[}|1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ`";
    const int base = static_cast<int>(std::strlen(kChars));
    const int width = image.GetWidth();
    const int height = image.GetHeight();

    std::map<unsigned long, std::string> codes; // 0x1000000 marks transparency
    auto key = [&](int x, int y) -> unsigned long {
        if (image.HasAlpha() && image.GetAlpha(x, y) < 128)
            return 0x1000000UL;
        return (static_cast<unsigned long>(image.GetRed(x, y)) << 16) | (image.GetGreen(x, y) << 8) |
               image.GetBlue(x, y);
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            codes.emplace(key(x, y), std::string());
    if (static_cast<int>(codes.size()) > base * base) {
        std::fprintf(stderr, "draw-images: %zu colours do not fit two characters per pixel\n", codes.size());
        return std::string();
    }
    int next = 0;
    for (auto& entry : codes) {
        entry.second = std::string(1, kChars[next / base]) + kChars[next % base];
        ++next;
    }

    std::string text = "/* XPM */\n// Drawn by scripts/draw-images.cpp; regenerate rather than edit.\n";
    text += std::string("static const char* const ") + name + "[] = {\n";
    char line[64];
    std::snprintf(line, sizeof line, "\"%d %d %zu 2\",\n", width, height, codes.size());
    text += line;
    for (const auto& entry : codes) {
        if (entry.first == 0x1000000UL)
            std::snprintf(line, sizeof line, "\"%s c None\",\n", entry.second.c_str());
        else
            std::snprintf(line, sizeof line, "\"%s c #%06lX\",\n", entry.second.c_str(), entry.first);
        text += line;
    }
    for (int y = 0; y < height; ++y) {
        text += "\"";
        for (int x = 0; x < width; ++x)
            text += codes[key(x, y)];
        text += y + 1 < height ? "\",\n" : "\"\n";
    }
    text += "};\n";
    return text;
}

bool Save(const wxImage& image, const wxString& path)
{
    if (!image.SaveFile(path, wxBITMAP_TYPE_PNG)) {
        std::fprintf(stderr, "draw-images: cannot write %s\n", static_cast<const char*>(path.utf8_str()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool themeIcons = argc == 3 && std::string(argv[1]) == "--icons";
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: %s RSC_FOLDER XPM_FILE [ICON_PREVIEW_PNG]\n"
                     "       %s --icons HICOLOR_FOLDER\n",
                     argv[0], argv[0]);
        return 2;
    }
    wxInitializer init(argc, argv);
    if (!init.IsOk()) {
        std::fprintf(stderr, "draw-images: cannot initialise wxWidgets (is there a display?)\n");
        return 1;
    }
    wxImage::AddHandler(new wxPNGHandler);

    // The application icon for the icon theme, as installed (hicolor layout).
    if (themeIcons) {
        bool ok = true;
        for (int size : {kIconSize, 256}) {
            const wxString folder = wxString::Format("%s/%dx%d/apps", argv[2], size, size);
            ok = wxFileName::Mkdir(folder, 0755, wxPATH_MKDIR_FULL) && ok;
            ok = Save(DrawIcon(size), folder + "/brelkosplayer.png") && ok;
        }
        return ok ? 0 : 1;
    }

    const wxString rsc = wxString::FromUTF8(argv[1]);
    bool ok = Save(DrawPrevious(), rsc + "/PNGPrevious.png") && Save(DrawPlay(), rsc + "/PNGPlay.png") &&
              Save(DrawPause(), rsc + "/PNGPause.png") && Save(DrawStop(), rsc + "/PNGStop.png") &&
              Save(DrawNext(), rsc + "/PNGNext.png");

    const wxImage icon = DrawIcon();
    if (argc == 4)
        ok = Save(icon, wxString::FromUTF8(argv[3])) && ok;
    const std::string xpm = ToXpm(icon, "app_icon_xpm");
    wxFFile out(wxString::FromUTF8(argv[2]), "w");
    if (xpm.empty() || !out.IsOpened() || !out.Write(xpm.data(), xpm.size())) {
        std::fprintf(stderr, "draw-images: cannot write %s\n", argv[2]);
        ok = false;
    }
    return ok ? 0 : 1;
}
