#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <wx/filename.h>

#include "configuration/Design.h"
#include "configuration/DesignTable.h"

using BrelkosPlayer::Design;
using BrelkosPlayer::DesignTable;

namespace {

wxArrayString Lines(std::initializer_list<const char*> lines)
{
    wxArrayString out;
    for (const char* line : lines)
        out.Add(wxString::FromUTF8(line));
    return out;
}

// Reads the lines and records every design handed to the callback.
struct Reading {
    DesignTable table;
    std::vector<const Design*> applied;

    explicit Reading(const wxArrayString& lines)
    {
        table.ReadLines(lines, [this](const Design* design) { applied.push_back(design); });
    }
    explicit Reading(const std::string& bytes)
    {
        table.ReadBytes(bytes.data(), bytes.size(),
                        [this](const Design* design) { applied.push_back(design); });
    }
};

TEST(DesignTableTest, EveryColourKeyFillsItsOwnField)
{
    struct Field {
        const char* key;
        wxColour& (*get)(Design&);
    };
    const Field fields[] = {
        {"GeneralColor", [](Design& d) -> wxColour& { return d.generalColor; }},
        {"GeneralTxtColor", [](Design& d) -> wxColour& { return d.generalTxtColor; }},
        {"ListColor", [](Design& d) -> wxColour& { return d.listColor; }},
        {"ListTxtColor", [](Design& d) -> wxColour& { return d.listTxtColor; }},
        {"BtnEnabledColor", [](Design& d) -> wxColour& { return d.btnColors[0]; }},
        {"BtnMouseOverColor", [](Design& d) -> wxColour& { return d.btnColors[1]; }},
        {"BtnDownColor", [](Design& d) -> wxColour& { return d.btnColors[2]; }},
        {"BtnDisabledColor", [](Design& d) -> wxColour& { return d.btnColors[3]; }},
        {"BtnEnabledColorTxt", [](Design& d) -> wxColour& { return d.btnTxtColors[0]; }},
        {"BtnMouseOverColorTxt", [](Design& d) -> wxColour& { return d.btnTxtColors[1]; }},
        {"BtnDownColorTxt", [](Design& d) -> wxColour& { return d.btnTxtColors[2]; }},
        {"BtnDisabledColorTxt", [](Design& d) -> wxColour& { return d.btnTxtColors[3]; }},
    };
    for (const Field& field : fields) {
        wxString line = wxString(field.key) + " #0A141E";
        Reading r(Lines({"[styles]", "name d", line.utf8_str(), "[end]"}));
        const Design* design = r.table.Find("d");
        ASSERT_NE(design, nullptr) << field.key;
        Design changed;
        field.get(changed) = wxColour(10, 20, 30);
        Design& got = const_cast<Design&>(*design);
        for (const Field& other : fields)
            EXPECT_EQ(other.get(got), other.get(changed)) << field.key << " set " << other.key;
    }
}

TEST(DesignTableTest, NewDesignLeavesWindowColoursUnsetAndButtonsGreyOnBlack)
{
    Reading r(Lines({"[styles]", "name plain", "[end]"}));
    const Design* d = r.table.Find("plain");
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->generalColor.IsOk());
    EXPECT_FALSE(d->listColor.IsOk());
    EXPECT_FALSE(d->generalTxtColor.IsOk());
    EXPECT_FALSE(d->listTxtColor.IsOk());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d->btnColors[i], wxColour(192, 192, 192));
        EXPECT_EQ(d->btnTxtColors[i], wxColour(0, 0, 0));
    }
}

TEST(DesignTableTest, ColourTextsAreConvertedOrLeftInvalid)
{
    struct Case {
        const char* line;
        bool valid;
        wxColour expected;
    };
    const Case cases[] = {
        {"GeneralColor #112233", true, wxColour(0x11, 0x22, 0x33)},
        {"GeneralColor #112233 \t ", true, wxColour(0x11, 0x22, 0x33)},
        {"GeneralColor RGB(1, 2, 3)", true, wxColour(1, 2, 3)},
        {"GeneralColor black", true, wxColour(0, 0, 0)},
        {"GeneralColor  #112233", false, wxColour()},
        {"GeneralColor", false, wxColour()},
        {"GeneralColor ", false, wxColour()},
        {"GeneralColor no-such-colour", false, wxColour()},
        {"GeneralColor #12", false, wxColour()},
    };
    for (const Case& c : cases) {
        Reading r(Lines({"[styles]", "name d", c.line, "[end]"}));
        const Design* d = r.table.Find("d");
        ASSERT_NE(d, nullptr) << c.line;
        EXPECT_EQ(d->generalColor.IsOk(), c.valid) << c.line;
        if (c.valid) {
            EXPECT_EQ(d->generalColor, c.expected) << c.line;
        }
    }
}

TEST(DesignTableTest, NameLinesNameTheDesign)
{
    struct Case {
        const char* line;
        const char* name;
    };
    const Case cases[] = {
        {"name dark", "dark"},        {"name", "name"},          {"nameless", "nameless"},
        {"name my name is", "my is"}, {"name dark  \t", "dark"}, {"name caf\xC3\xA9", "caf\xC3\xA9"},
    };
    for (const Case& c : cases) {
        Reading r(Lines({"[styles]", c.line, "[end]"}));
        EXPECT_EQ(r.table.Count(), 1u) << c.line;
        EXPECT_NE(r.table.Find(wxString::FromUTF8(c.name)), nullptr) << c.line;
    }
}

TEST(DesignTableTest, SelectedAppliesOnlyADesignDefinedAboveIt)
{
    Reading after(Lines({"[styles]", "name a", "GeneralColor red", "selected a", "[end]"}));
    ASSERT_EQ(after.applied.size(), 1u);
    EXPECT_EQ(after.applied[0], after.table.Find("a"));
    EXPECT_EQ(after.applied[0]->generalColor, wxColour(255, 0, 0));

    Reading before(Lines({"[styles]", "selected a", "name a", "[end]"}));
    EXPECT_TRUE(before.applied.empty());
    EXPECT_EQ(before.table.Count(), 1u);

    Reading unknown(Lines({"[styles]", "name a", "selected b", "[end]"}));
    EXPECT_TRUE(unknown.applied.empty());

    Reading none(Lines({"[styles]", "name a", "name b", "[end]"}));
    EXPECT_TRUE(none.applied.empty());
    EXPECT_EQ(none.table.Count(), 2u);

    Reading trailing(Lines({"[styles]", "name a", "name b", "selected a \t", "[end]"}));
    ASSERT_EQ(trailing.applied.size(), 1u);
    EXPECT_EQ(trailing.applied[0]->name, "a");

    // Among several designs the named one, not the first that exists.
    Reading second(Lines({"[styles]", "name a", "GeneralColor red", "name b", "GeneralColor blue", "name c",
                          "selected b", "[end]"}));
    ASSERT_EQ(second.applied.size(), 1u);
    EXPECT_EQ(second.applied[0], second.table.Find("b"));
    EXPECT_EQ(second.applied[0]->generalColor, wxColour(0, 0, 255));
}

TEST(DesignTableTest, TheFirstDesignOfANameWins)
{
    Reading r(Lines(
        {"[styles]", "name a", "GeneralColor red", "name a", "GeneralColor blue", "selected a", "[end]"}));
    EXPECT_EQ(r.table.Count(), 1u);
    ASSERT_EQ(r.applied.size(), 1u);
    EXPECT_EQ(r.applied[0]->generalColor, wxColour(255, 0, 0));
}

TEST(DesignTableTest, ColourLinesWithNoDesignBeingBuiltAreIgnored)
{
    Reading r(Lines({"[styles]", "GeneralColor red", "name a", "ListColor blue", "selected a",
                     "ListColor green", "GeneralColor yellow", "name b", "[end]"}));
    EXPECT_EQ(r.table.Count(), 2u);
    const Design* a = r.table.Find("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->listColor, wxColour(0, 0, 255));
    EXPECT_FALSE(a->generalColor.IsOk());
    EXPECT_FALSE(r.table.Find("b")->generalColor.IsOk());
}

TEST(DesignTableTest, SectionMarkersAndEmptyLinesFollowTheScanRules)
{
    struct Case {
        const char* what;
        wxArrayString lines;
        std::vector<const char*> names;
    };
    const Case cases[] = {
        {"marker with a trailing blank is not a section", Lines({"[styles] ", "name a", "[end]"}), {}},
        {"end with a trailing blank does not close",
         Lines({"[styles]", "name a", "[end] ", "name b", "[end]"}),
         {"a", "b"}},
        {"empty line inside a section is ignored",
         Lines({"[styles]", "name a", "", "name b", "[end]"}),
         {"a", "b"}},
        {"empty line before the section ends the scan",
         Lines({"comment", "", "[styles]", "name a", "[end]"}),
         {}},
        {"empty first line does not end the scan", Lines({"", "[styles]", "name a", "[end]"}), {"a"}},
        {"lines before the section are skipped", Lines({"# colours", "[styles]", "name a", "[end]"}), {"a"}},
        {"section without end runs to the last line",
         Lines({"[styles]", "name a", "GeneralColor red"}),
         {"a"}},
        {"leading blanks make a line unknown", Lines({"[styles]", " name a", "name b", "[end]"}), {"b"}},
        {"no lines at all", Lines({}), {}},
    };
    for (const Case& c : cases) {
        Reading r(c.lines);
        EXPECT_EQ(r.table.Count(), c.names.size()) << c.what;
        for (const char* name : c.names)
            EXPECT_NE(r.table.Find(name), nullptr) << c.what << ": " << name;
    }
}

TEST(DesignTableTest, LinesAfterEndAreScannedForAnotherSection)
{
    Reading r(Lines({"[styles]", "name a", "selected a", "[end]", "between", "[styles]", "name b",
                     "selected b", "[end]"}));
    ASSERT_EQ(r.applied.size(), 2u);
    EXPECT_EQ(r.table.Find("a"), nullptr) << "the second section empties the table";
    EXPECT_NE(r.table.Find("b"), nullptr);
    // The design the windows got from the first section is still alive.
    EXPECT_EQ(r.applied[0]->name, "a");

    Reading stopped(Lines({"[styles]", "name a", "[end]", "", "[styles]", "name b", "[end]"}));
    EXPECT_NE(stopped.table.Find("a"), nullptr);
    EXPECT_EQ(stopped.table.Find("b"), nullptr);
}

TEST(DesignTableTest, ReadsTheFileWithAnyMarkAndIgnoresLinesThatDoNotDecode)
{
    std::string utf16("\xFF\xFE", 2);
    for (char c : std::string("[styles]\r\nname u\r\nselected u\r\n[end]\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    Reading r16(utf16);
    ASSERT_EQ(r16.applied.size(), 1u);
    EXPECT_EQ(r16.applied[0]->name, "u");

    Reading bad(std::string("caf\xE9 comment\n[styles]\nname \xFF\xFE\nname b\nselected b\n[end]\n"));
    EXPECT_EQ(bad.table.Count(), 1u)
        << "the undecodable name line is ignored, the comment does not stop the scan";
    ASSERT_EQ(bad.applied.size(), 1u);
    EXPECT_EQ(bad.applied[0]->name, "b");
}

TEST(DesignTableTest, AMissingFileChangesNothing)
{
    DesignTable table;
    bool called = false;
    table.ReadFile(wxFileName::GetTempDir() + "/no-such-dir-xyz/BrelkosPlayer.cfg",
                   [&called](const Design*) { called = true; });
    EXPECT_FALSE(called);
    EXPECT_EQ(table.Count(), 0u);
}

TEST(DesignTableTest, GarbageAndHugeInputsEndQuickly)
{
    unsigned state = 99;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<char>(state >> 16);
    };
    for (int round = 0; round < 100; ++round) {
        std::string bytes = "[styles]\n";
        for (int i = 0; i < round * 13; ++i)
            bytes += next();
        Reading r(bytes);
        for (const Design* d : r.applied)
            EXPECT_EQ(r.table.Find(d->name), d);
    }
    // One long line and many sections.
    Reading longLine(std::string("[styles]\nname ") + std::string(1 << 20, 'x') + "\n[end]\n");
    EXPECT_EQ(longLine.table.Count(), 1u);
    std::string many;
    for (int i = 0; i < 20000; ++i)
        many += "[styles]\nname a\nselected a\n[end]\n";
    Reading sections(many);
    EXPECT_EQ(sections.applied.size(), 20000u);
    for (const Design* d : sections.applied)
        ASSERT_EQ(d->name, "a") << "every design handed out stays alive";
}

} // namespace
