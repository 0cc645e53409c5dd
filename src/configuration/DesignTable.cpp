#include "configuration/DesignTable.h"

#include "configuration/Design.h"
#include "files/TextDecoder.h"

namespace BrelkosPlayer {

namespace {

wxString TrimAsciiSpace(const wxString& text)
{
    size_t end = text.length();
    while (end > 0) {
        wxUniChar c = text[end - 1];
        if (c != ' ' && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r')
            break;
        --end;
    }
    return end == text.length() ? text : text.Left(end);
}

wxString WithoutAll(const wxString& text, const wxString& what)
{
    wxString result = text;
    result.Replace(what, wxString(), true);
    return result;
}

// A text the conversion refuses gives the invalid colour (the window default).
wxColour ColourFromText(const wxString& text)
{
    wxColour colour;
    if (!text.empty() && !colour.Set(text))
        return wxColour();
    return colour;
}

enum ColourField {
    General,
    GeneralTxt,
    BtnTxt0,
    BtnTxt3,
    BtnTxt2,
    BtnTxt1,
    Btn0,
    Btn3,
    Btn2,
    Btn1,
    List,
    ListTxt
};

struct ColourKey {
    const char* key;
    ColourField field;
};

// Each key that ends in Txt comes before the shorter key it begins with.
const ColourKey kColourKeys[] = {
    {"GeneralColor", General},
    {"GeneralTxtColor", GeneralTxt},
    {"BtnEnabledColorTxt", BtnTxt0},
    {"BtnDisabledColorTxt", BtnTxt3},
    {"BtnDownColorTxt", BtnTxt2},
    {"BtnMouseOverColorTxt", BtnTxt1},
    {"BtnEnabledColor", Btn0},
    {"BtnDisabledColor", Btn3},
    {"BtnDownColor", Btn2},
    {"BtnMouseOverColor", Btn1},
    {"ListColor", List},
    {"ListTxtColor", ListTxt},
};

wxColour& FieldOf(Design& design, ColourField field)
{
    switch (field) {
    case General: return design.generalColor;
    case GeneralTxt: return design.generalTxtColor;
    case BtnTxt0: return design.btnTxtColors[0];
    case BtnTxt1: return design.btnTxtColors[1];
    case BtnTxt2: return design.btnTxtColors[2];
    case BtnTxt3: return design.btnTxtColors[3];
    case Btn0: return design.btnColors[0];
    case Btn1: return design.btnColors[1];
    case Btn2: return design.btnColors[2];
    case Btn3: return design.btnColors[3];
    case List: return design.listColor;
    default: return design.listTxtColor;
    }
}

} // namespace

DesignTable::DesignTable() = default;
DesignTable::~DesignTable() = default;

void DesignTable::ReadFile(const wxString& path, const Apply& apply)
{
    std::string bytes;
    if (!TextDecoder::ReadFile(path, bytes))
        return;
    ReadBytes(bytes.data(), bytes.size(), apply);
}

void DesignTable::ReadBytes(const char* data, size_t size, const Apply& apply)
{
    wxArrayString lines;
    // A line that does not decode becomes a line that matches no key: it is
    // ignored like any unknown line, and it does not end the scan the way an
    // empty line would.
    const wxString undecodable(wxUniChar(0xFFFD));
    for (TextDecoder::Line& line : TextDecoder::Decode(data, size))
        lines.Add(line.valid ? line.text : undecodable);
    ReadLines(lines, apply);
}

void DesignTable::ReadLines(const wxArrayString& lines, const Apply& apply)
{
    size_t count = lines.GetCount();
    size_t pos = 0;
    wxString line = count > 0 ? lines[0] : wxString();
    for (;;) {
        if (line == "[styles]")
            pos = _readSection(lines, pos, apply);
        if (count == 0 || pos >= count - 1)
            return;
        line = lines[++pos];
        if (line.empty())
            return;
    }
}

size_t DesignTable::_readSection(const wxArrayString& lines, size_t start, const Apply& apply)
{
    _retireAll();
    std::unique_ptr<Design> building;
    size_t pos = start + 1;
    for (; pos < lines.GetCount(); ++pos) {
        if (lines[pos] == "[end]")
            break;
        wxString line = TrimAsciiSpace(lines[pos]);
        if (line.StartsWith("name")) {
            _store(building);
            building.reset(new Design);
            building->name = WithoutAll(line, "name ");
            continue;
        }
        bool matched = false;
        for (const ColourKey& key : kColourKeys) {
            if (!line.StartsWith(key.key))
                continue;
            matched = true;
            // No design being built: the colour has nowhere to go.
            if (building)
                FieldOf(*building, key.field) = ColourFromText(WithoutAll(line, wxString(key.key) + " "));
            break;
        }
        if (matched)
            continue;
        if (line.StartsWith("selected")) {
            _store(building);
            const Design* design = Find(TrimAsciiSpace(WithoutAll(line, "selected ")));
            if (design && apply)
                apply(design);
        }
    }
    _store(building);
    return pos;
}

void DesignTable::_store(std::unique_ptr<Design>& building)
{
    if (!building)
        return;
    // The first design of a name stays; a later one of the same name is dropped.
    if (m_table.find(building->name) == m_table.end()) {
        m_table[building->name] = building.get();
        m_owned.push_back(std::move(building));
    }
    building.reset();
}

void DesignTable::_retireAll()
{
    m_table.clear();
}

const Design* DesignTable::Find(const wxString& name) const
{
    auto it = m_table.find(name);
    return it == m_table.end() ? nullptr : it->second;
}

size_t DesignTable::Count() const
{
    return m_table.size();
}

} // namespace BrelkosPlayer
