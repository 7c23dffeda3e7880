// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The two conversion actions driven through the window: fields filled,
// hemispheres picked and buttons pressed as the user does, results read back
// from the fields.
#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

const char *const kDmsInputs[] = {"entry2", "entry3", "entry4", "entry5", "entry6", "entry7"};
const char *const kDmsOutputs[] = {"entry9",  "entry10", "entry11", "entry12",
                                   "entry13", "entry14", "entry15", "entry16"};

// "\uFFFD" spelled as its UTF-8 bytes.
#define REPLACEMENT "\xEF\xBF\xBD"

struct DmsCase {
    const char *szFields[6];   // entry2..entry7
    bool bWest, bSouth;
    const char *szLocator;     // expected in entry1
};

const DmsCase kDmsCases[] = {
    {{"4", "21", "11", "50", "50", "51"}, false, false, "jo20eufi61"},
    {{"73", "59", "16", "40", "45", "31"}, true, false, "fn30asde59"},
    {{"151", "12", "31", "33", "52", "11"}, false, true, "qf56odmd00"},
    {{"0", "0", "30", "0", "0", "20"}, true, true, "ii99xxvu57"},
    {{"", "", "", "", "", ""}, false, false, "jj00aaaa00"},
    {{"", "", "", "", "", ""}, true, false, "ij90xaxa90"},
    {{"", "", "", "", "", ""}, true, true, "ii99xxxx99"},
    {{"180", "0", "0", "90", "0", "0"}, true, true, "aa00aaaa00"},
    {{"179", "59", "59", "89", "59", "59"}, false, false, "rr99xxxx98"},
    // Text that is no number counts as 0; 120 minutes are 2 degrees.
    {{"abc", "120", "", "", "", ""}, false, false, "jj10aaaa00"},
    // Leading blanks skipped, trailing rubbish ignored: 12 degrees east.
    {{"  12abc", "", "", "", "", ""}, false, false, "jj60aaaa00"},
    // A sign is taken, and a negative magnitude is not the other hemisphere.
    {{"-2", "", "", "", "", ""}, false, false, "ij90aaaa00"},
    {{"1", "59", "59.999", "", "", ""}, false, false, "jj10aaaa00"},
    // Beyond the grid the characters leave the alphabet but stay printable.
    {{"190", "", "", "", "", ""}, false, false, "sj50aaaa00"},
    {{"190", "", "", "", "", ""}, true, false, "aj+0aaaa00"},
    // No grid index for a value that is not finite or does not fit an int:
    // '?' from there on along that axis.
    {{"nan", "", "", "", "", ""}, false, false, "?j?0?a?a?0"},
    {{"", "", "", "", "", "inf"}, false, false, "j?0?a?a?0?"},
    {{"", "-inf", "", "", "NAN", ""}, true, true, "??????????"},
    {{"", "", "1e999", "1e300", "", ""}, false, false, "??????????"},
    // Thousands of degrees: the first character of an axis falls outside
    // printable ASCII (2000 E gives index 109, 2000 N index 209, -3000 E
    // index -140) and shows as U+FFFD; the finer ones stay printable.
    {{"2000", "", "", "", "", ""}, false, false, REPLACEMENT "j00aaaa00"},
    {{"2000", "", "", "2000", "", ""}, false, false, REPLACEMENT REPLACEMENT "00aaaa00"},
    {{"-3000", "", "", "", "", ""}, false, false, REPLACEMENT "j'0*a*a'0"},
};

struct DecodeCase {
    const char *szLocator;     // typed into entry8
    const char *szOutputs[8];  // entry9..entry16
};

const DecodeCase kDecodeCases[] = {
    {"jn18dtkk78", {"2.00", "17.00", "13.75", "E", "48.00", "48.00", "37.50", "N"}},
    {"JJ00AAAA00", {"0.00", "0.00", "0.00", "E", "0.00", "0.00", "0.00", "N"}},
    {"QF56ODMD00", {"151.00", "12.00", "30.00", "E", "33.00", "52.00", "11.25", "S"}},
    {"AA00AAAA00", {"180.00", "0.00", "0.00", "O", "90.00", "0.00", "0.00", "S"}},
    {"IJ90XAXA90", {"0.00", "0.00", "1.25", "O", "0.00", "0.00", "0.00", "N"}},
    // A hair short of 179 deg 57 min: the seconds round to 60 with no carry.
    {"AJ00AAOA40", {"179.00", "56.00", "60.00", "O", "0.00", "0.00", "0.00", "N"}},
    {"AJ05BAAA00", {"179.00", "54.00", "60.00", "O", "5.00", "0.00", "0.00", "N"}},
    {"IJ60CATA20", {"7.00", "46.00", "0.00", "O", "0.00", "0.00", "0.00", "N"}},
    {"jj10aaaa00", {"2.00", "0.00", "0.00", "E", "0.00", "0.00", "0.00", "N"}},
    {"SS00AAAA00", {"180.00", "0.00", "0.00", "E", "90.00", "0.00", "0.00", "N"}},
    {"AJ+0AAAA00", {"190.00", "0.00", "0.00", "O", "0.00", "0.00", "0.00", "N"}},
    // Nine bytes: the tenth character is the NUL, 48 cells of 0.625 seconds
    // below '0', that is 30 seconds south.
    {"JJ00AAAA0", {"0.00", "0.00", "0.00", "E", "0.00", "0.00", "30.00", "S"}},
    // Shorter texts name the south-west corner of their larger cell.
    {"JN18", {"2.00", "0.00", "0.00", "E", "48.00", "0.00", "0.00", "N"}},
    {"jn18dt", {"2.00", "15.00", "0.00", "E", "48.00", "47.00", "30.00", "N"}},
    // Bytes beyond ASCII count as negative codes: 0xC3 is -61, 0xA9 is -87.
    {"\xC3\xA9" "00AAAA00", {"2700.00", "0.00", "0.00", "O", "1610.00", "0.00", "0.00", "S"}},
    {"\xC3\xA9", {"2700.00", "0.00", "0.00", "O", "1610.00", "0.00", "0.00", "S"}},
    {"\x01\x02" "00AAAA00", {"1460.00", "0.00", "0.00", "O", "720.00", "0.00", "0.00", "S"}},
    // White space around the text, as a paste brings it, is not part of it.
    {"  jn18dt \n", {"2.00", "15.00", "0.00", "E", "48.00", "47.00", "30.00", "N"}},
    {"\tJJ00AAAA0\r\n", {"0.00", "0.00", "0.00", "E", "0.00", "0.00", "30.00", "S"}},
};

const DecodeCase &JN18DTKK78 = kDecodeCases[0];

} // namespace

class DmsToLocatorTest : public WindowTest {
protected:
    std::string Convert(const DmsCase &row) const
    {
        for (int i = 0; i < 6; i++)
            SetText(kDmsInputs[i], row.szFields[i]);
        Select(row.bWest ? "radiobutton2" : "radiobutton1");
        Select(row.bSouth ? "radiobutton4" : "radiobutton3");
        Click("button2");
        for (int i = 0; i < 6; i++)
            EXPECT_EQ(Text(kDmsInputs[i]), row.szFields[i]) << "input field rewritten";
        return Text("entry1");
    }
};

TEST_F(DmsToLocatorTest, ShowsTheLocatorOfTheTypedPositionInLowerCase)
{
    for (const DmsCase &row : kDmsCases) {
        const std::string shown = Convert(row);
        EXPECT_EQ(shown, row.szLocator) << "fields " << row.szFields[0] << "|" << row.szFields[1]
                                        << "|" << row.szFields[2] << "|" << row.szFields[3] << "|"
                                        << row.szFields[4] << "|" << row.szFields[5];
        EXPECT_TRUE(g_utf8_validate(shown.c_str(), -1, nullptr)) << row.szLocator;
        EXPECT_EQ(g_utf8_strlen(shown.c_str(), -1), 10) << row.szLocator;
    }
}

TEST_F(DmsToLocatorTest, PressingTwiceShowsTheSameText)
{
    const DmsCase &row = kDmsCases[1];
    const std::string first = Convert(row);
    Click("button2");
    EXPECT_EQ(first, row.szLocator);
    EXPECT_EQ(Text("entry1"), first);
}

TEST_F(DmsToLocatorTest, HemisphereChangeWaitsForTheNextPress)
{
    Click("button2");
    ASSERT_EQ(Text("entry1"), "jj00aaaa00");
    Select("radiobutton2");
    Select("radiobutton4");
    SetText("entry2", "4");
    EXPECT_EQ(Text("entry1"), "jj00aaaa00");
    SetText("entry2", "");
    Click("button2");
    EXPECT_EQ(Text("entry1"), "ii99xxxx99");
}

// Enter is connected by complete_window1 (window_setup_test.cpp), not by the
// widget table.
TEST_F(DmsToLocatorTest, EnterConvertsNothingBeforeTheWindowIsCompleted)
{
    const DmsCase &row = kDmsCases[0];
    for (int i = 0; i < 6; i++)
        SetText(kDmsInputs[i], row.szFields[i]);
    SetText("entry8", "jn18dtkk78");
    for (const char *szEntry : kDmsInputs)
        gtk_widget_activate(Widget(szEntry));
    gtk_widget_activate(Widget("entry8"));
    EXPECT_EQ(Text("entry1"), "");
    for (const char *szOutput : kDmsOutputs)
        EXPECT_EQ(Text(szOutput), "") << szOutput;
}

TEST_F(DmsToLocatorTest, DecimalSeparatorFollowsTheLocale)
{
    const struct {
        const char *szLocale;
        const char *szField;
        const char *szMinutes;
        const char *szLocator;
    } kCases[] = {
        // Half a minute east is 30 seconds: subsquare A, then C and 4.
        {"fr_FR.UTF-8", "entry3", "0,5", "jj00aaca40"},
        {"fr_FR.UTF-8", "entry3", "0.5", "jj00aaaa00"},
        {"fr_FR.UTF-8", "entry6", "0,5", "jj00aaae08"},
        {"C.UTF-8", "entry3", "0.5", "jj00aaca40"},
        {"C.UTF-8", "entry3", "0,5", "jj00aaaa00"},
        {"C.UTF-8", "entry6", "0.5", "jj00aaae08"},
    };
    for (const auto &row : kCases) {
        LocaleGuard locale(row.szLocale);
        ASSERT_TRUE(locale.ok()) << row.szLocale << " is not installed";
        for (const char *szEntry : kDmsInputs)
            SetText(szEntry, "");
        SetText(row.szField, row.szMinutes);
        Click("button2");
        EXPECT_EQ(Text("entry1"), row.szLocator)
            << row.szMinutes << " in " << row.szField << " under " << row.szLocale;
    }
}

class LocatorToDmsTest : public WindowTest {
protected:
    std::vector<std::string> Outputs() const
    {
        std::vector<std::string> texts;
        for (const char *szOutput : kDmsOutputs)
            texts.push_back(Text(szOutput));
        return texts;
    }

    static std::vector<std::string> Expected(const DecodeCase &row)
    {
        return std::vector<std::string>(row.szOutputs, row.szOutputs + 8);
    }

    // Types locator into entry8 and presses "Calculer DMS". Compared without
    // printing: a pasted text may be a megabyte long.
    std::vector<std::string> Decode(const std::string &locator) const
    {
        SetText("entry8", locator);
        const std::string typed = Text("entry8");
        EXPECT_TRUE(typed == locator)
            << "entry8 holds " << typed.size() << " bytes, not the " << locator.size() << " set";
        Click("button3");
        EXPECT_TRUE(Text("entry8") == typed) << "entry8 was rewritten";
        return Outputs();
    }
};

TEST_F(LocatorToDmsTest, ShowsTheCellCornerAsMagnitudesWithHemisphereLetters)
{
    for (const DecodeCase &row : kDecodeCases) {
        const std::vector<std::string> shown = Decode(row.szLocator);
        EXPECT_EQ(shown, Expected(row)) << row.szLocator;
        for (const std::string &text : shown)
            EXPECT_TRUE(g_utf8_validate(text.c_str(), -1, nullptr)) << row.szLocator;
    }
}

// A refused text clears the results of the locator before it, which would
// otherwise read as its own. The texts start with another valid locator, so
// a handler that decoded their first ten bytes would show other results.
TEST_F(LocatorToDmsTest, RefusedTextsClearThePreviousResults)
{
    const std::vector<std::string> cleared(8, "");
    for (const std::string &text : {std::string(""), std::string(" \t\n "),
                                    std::string("QF56ODMD00X"), std::string(" QF56ODMD00X\n"),
                                    std::string("QF56ODMD00QF56ODMD00"),
                                    std::string("QF56 ODMD00"),
                                    // Ten characters but eleven bytes.
                                    std::string("QF56ODMD0\xC3\xA9")}) {
        ASSERT_EQ(Decode(JN18DTKK78.szLocator), Expected(JN18DTKK78));
        EXPECT_EQ(Decode(text), cleared) << text.size() << " bytes";
    }

    // A pasted megabyte: the toolkit keeps at most about 64 KiB of it in the
    // entry, still far more than any working buffer.
    std::string pasted;
    while (pasted.size() < (1u << 20))
        pasted += "QF56ODMD00";
    ASSERT_EQ(Decode(JN18DTKK78.szLocator), Expected(JN18DTKK78));
    SetText("entry8", pasted);
    const std::string held = Text("entry8");
    ASSERT_GT(held.size(), 60000u);
    ASSERT_EQ(held.compare(0, 10, "QF56ODMD00"), 0);
    Click("button3");
    EXPECT_TRUE(Text("entry8") == held) << "entry8 was rewritten";
    EXPECT_EQ(Outputs(), cleared);
}

TEST_F(LocatorToDmsTest, ShowsADecimalCommaUnderAFrenchLocale)
{
    LocaleGuard locale("fr_FR.UTF-8");
    ASSERT_TRUE(locale.ok()) << "fr_FR.UTF-8 is not installed";
    EXPECT_EQ(Decode("jn18dtkk78"),
              (std::vector<std::string>{"2,00", "17,00", "13,75", "E", "48,00", "48,00", "37,50",
                                        "N"}));
}

TEST_F(LocatorToDmsTest, WritesHemispheresFirstAndNeverTheInput)
{
    std::vector<std::string> written;
    struct Watch {
        std::vector<std::string> *pWritten;
        std::string name;
    };
    std::vector<Watch> watches;
    watches.reserve(9);
    for (const char *szEntry : {"entry8", "entry9", "entry10", "entry11", "entry12", "entry13",
                                "entry14", "entry15", "entry16"})
        watches.push_back({&written, szEntry});
    SetText("entry8", "QF56ODMD00");
    for (Watch &watch : watches)
        g_signal_connect_swapped(Widget(watch.name.c_str()), "changed",
                                 G_CALLBACK(+[](Watch *p) {
                                     if (p->pWritten->empty() || p->pWritten->back() != p->name)
                                         p->pWritten->push_back(p->name);
                                 }),
                                 &watch);
    Click("button3");
    EXPECT_EQ(written, (std::vector<std::string>{"entry12", "entry16", "entry9", "entry10",
                                                 "entry11", "entry13", "entry14", "entry15"}));
}
