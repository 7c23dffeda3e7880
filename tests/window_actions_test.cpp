// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The two conversion actions driven through the window: fields filled,
// hemispheres picked and buttons pressed as the user does, results read back
// from the fields.
#include <algorithm>
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
    const char *szLocator;       // expected in entry1, or nullptr: refused
    int nRefused = -1;           // the refused field (0..5 for entry2..entry7)
    const char *szReason = "";   // its tooltip and description
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
    // The far edges are the last column and row, not letters beyond them;
    // so is what the bias carries past them, and a sum of exactly 180.
    {{"180", "0", "0", "90", "0", "0"}, false, false, "rr99xxxx99"},
    {{"179", "59", "59.9999999", "89", "59", "59.9999999"}, false, false, "rr99xxxx99"},
    {{"179.5", "30", "", "89.5", "29", "60,0"}, false, false, nullptr, 5,
     "Secondes de latitude : 60,0 n'est pas inférieur à 60"},
    {{"179.5", "30", "", "89.5", "29", "59.99"}, false, false, "rr99xxxx99"},
    // Decimal degrees as maps give them, with either separator; blanks
    // around a number are no part of it.
    {{"2.3522", "", "", "48.8566", "", ""}, false, false, "jn18eufn44"},
    {{" 2,3522 ", "", "", "48,8566\t", "", ""}, false, false, "jn18eufn44"},
    // A sign on the degrees: a negative magnitude is not the other
    // hemisphere.
    {{"-2", "", "", "", "", ""}, false, false, "ij90aaaa00"},
    {{"-2", "0.0", "", "", "", ""}, false, false, "ij90aaaa00"},
    // With minutes or seconds a minus would subtract them (-48 48 38 is
    // 47 11 22): refused, naming the hemisphere it is taken to mean.
    {{"", "", "", "-48", "48", "38"}, false, false, nullptr, 3,
     "Degrés de latitude : un signe va avec l'hémisphère : écrivez 48 48 38 avec S"},
    {{"-0", "0", "30", "", "", ""}, false, false, nullptr, 0,
     "Degrés de longitude : un signe va avec l'hémisphère : écrivez 0 0 30 avec O"},
    {{"-2", "", "15", "", "", ""}, true, true, nullptr, 0,
     "Degrés de longitude : un signe va avec l'hémisphère : écrivez 2 0 15 avec E"},
    // The blanks of pasted text beyond ASCII, around a number.
    {{"2\u00a0", "\u202f17", "14\u3000", "\ufeff48", " 48\u00a0", "38\u202f"}, false, false,
     "jn18dtkk78"},
    // A control character is named, not shown.
    {{"1\t2", "", "", "", "", ""}, false, false, nullptr, 0,
     "Degrés de longitude : « 1<U+0009>2 » n'est pas un nombre décimal"},
    {{"1", "59", "59.999", "", "", ""}, false, false, "jj10aaaa00"},
    // Each rule refused, the field named with its value.
    {{"abc", "", "", "", "", ""}, false, false, nullptr, 0,
     "Degrés de longitude : « abc » n'est pas un nombre décimal"},
    {{"12abc", "", "", "", "", ""}, false, false, nullptr, 0,
     "Degrés de longitude : « 12abc » n'est pas un nombre décimal"},
    {{"", "", "1e2", "", "", ""}, false, false, nullptr, 2,
     "Secondes de longitude : « 1e2 » n'est pas un nombre décimal"},
    {{"", "", "", "nan", "", ""}, false, false, nullptr, 3,
     "Degrés de latitude : « nan » n'est pas un nombre décimal"},
    {{"", "1.5,2", "", "", "", ""}, false, false, nullptr, 1,
     "Minutes de longitude : « 1.5,2 » n'est pas un nombre décimal"},
    {{"", "", "", "", "-5", ""}, false, false, nullptr, 4,
     "Minutes de latitude : -5 porte un signe ; seuls les degrés en prennent un"},
    {{"", "75", "", "", "", ""}, false, false, nullptr, 1,
     "Minutes de longitude : 75 n'est pas inférieur à 60"},
    {{"", "", "", "", "", "75"}, false, false, nullptr, 5,
     "Secondes de latitude : 75 n'est pas inférieur à 60"},
    {{"200", "", "", "", "", ""}, false, false, nullptr, 0,
     "Degrés de longitude : 200 n'est pas compris entre -180 et 180"},
    {{"-180.5", "", "", "", "", ""}, true, false, nullptr, 0,
     "Degrés de longitude : -180.5 n'est pas compris entre -180 et 180"},
    {{"", "", "", "90.0001", "", ""}, false, false, nullptr, 3,
     "Degrés de latitude : 90.0001 n'est pas compris entre -90 et 90"},
    {{"179.99", "0", "36.0000001", "", "", ""}, false, false, nullptr, 2,
     "Secondes de longitude : avec 36.0000001, la longitude dépasse 180°"},
    {{"", "", "", "90", "1", ""}, false, false, nullptr, 4,
     "Minutes de latitude : avec 1, la latitude dépasse 90°"},
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
    {"RR99XXXX99", {"179.00", "59.00", "58.75", "E", "89.00", "59.00", "59.38", "N"}},
    {"IJ90XAXA90", {"0.00", "0.00", "1.25", "O", "0.00", "0.00", "0.00", "N"}},
    // A hair short of a whole minute: the seconds round to 60 and carry.
    {"AJ00AAOA40", {"179.00", "57.00", "0.00", "O", "0.00", "0.00", "0.00", "N"}},
    {"AJ05BAAA00", {"179.00", "55.00", "0.00", "O", "5.00", "0.00", "0.00", "N"}},
    {"QF56OD", {"151.00", "10.00", "0.00", "E", "33.00", "52.00", "30.00", "S"}},
    {"IJ60CATA20", {"7.00", "46.00", "0.00", "O", "0.00", "0.00", "0.00", "N"}},
    {"jj10aaaa00", {"2.00", "0.00", "0.00", "E", "0.00", "0.00", "0.00", "N"}},
    // A corner halfway between two hundredths shows the one inside its cell.
    {"jn18dtkk71", {"2.00", "17.00", "13.75", "E", "48.00", "48.00", "33.13", "N"}},
    {"jn18dtkk73", {"2.00", "17.00", "13.75", "E", "48.00", "48.00", "34.38", "N"}},
    {"fn30asde59", {"73.00", "59.00", "16.25", "O", "40.00", "45.00", "30.63", "N"}},
    {"qf56odmd03", {"151.00", "12.00", "30.00", "E", "33.00", "52.00", "9.37", "S"}},
    // Shorter texts name the south-west corner of their larger cell.
    {"JN18", {"2.00", "0.00", "0.00", "E", "48.00", "0.00", "0.00", "N"}},
    {"jn18dt", {"2.00", "15.00", "0.00", "E", "48.00", "47.00", "30.00", "N"}},
    // White space around the text, as a paste brings it, is not part of it.
    {"  jn18dt \n", {"2.00", "15.00", "0.00", "E", "48.00", "47.00", "30.00", "N"}},
    {"\ufeffjn18dt\u00a0", {"2.00", "15.00", "0.00", "E", "48.00", "47.00", "30.00", "N"}},
    {"\u3000jn18dt\u202f", {"2.00", "15.00", "0.00", "E", "48.00", "47.00", "30.00", "N"}},
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

// The marks of a refusal on entry, or their absence: a refused field has
// the focus and gives the reason as its tooltip and accessible description.
std::string Mark(GtkWidget *entry)
{
    gchar *szTooltip = gtk_widget_get_tooltip_text(entry);
    const std::string tooltip = szTooltip ? szTooltip : "";
    g_free(szTooltip);
    const char *szDescription = atk_object_get_description(gtk_widget_get_accessible(entry));
    EXPECT_EQ(tooltip, szDescription ? szDescription : "") << "tooltip and description differ";
    return tooltip;
}

TEST_F(DmsToLocatorTest, ShowsTheLocatorOrMarksTheRefusedField)
{
    for (const DmsCase &row : kDmsCases) {
        SetText("entry1", "stale");
        const std::string shown = Convert(row);
        const std::string where = std::string(row.szFields[0]) + "|" + row.szFields[1] + "|" +
                                  row.szFields[2] + "|" + row.szFields[3] + "|" +
                                  row.szFields[4] + "|" + row.szFields[5];
        EXPECT_EQ(shown, row.szLocator ? row.szLocator : "") << where;
        for (int i = 0; i < 6; i++) {
            const bool bRefused = !row.szLocator && i == row.nRefused;
            EXPECT_EQ(Mark(Widget(kDmsInputs[i])), bRefused ? row.szReason : "")
                << where << ": " << kDmsInputs[i];
            if (bRefused) {
                EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(m_window)), Widget(kDmsInputs[i]))
                    << where;
            }
        }
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

// The widget table alone converts nothing on a change; complete_window1
// clears the result then (window_setup_test.cpp).
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

TEST_F(DmsToLocatorTest, EitherDecimalSeparatorUnderEitherLocale)
{
    const struct {
        const char *szField;
        const char *szLocator;
    } kCases[] = {
        // Half a minute east is 30 seconds: subsquare A, then C and 4.
        {"entry3", "jj00aaca40"},
        {"entry6", "jj00aaae08"},
    };
    for (const char *szLocale : {"fr_FR.UTF-8", "C.UTF-8"}) {
        LocaleGuard locale(szLocale);
        ASSERT_TRUE(locale.ok()) << szLocale << " is not installed";
        for (const auto &row : kCases)
            for (const char *szHalf : {"0,5", "0.5", ",5", "0.50"}) {
                for (const char *szEntry : kDmsInputs)
                    SetText(szEntry, "");
                SetText(row.szField, szHalf);
                Click("button2");
                EXPECT_EQ(Text("entry1"), row.szLocator)
                    << szHalf << " in " << row.szField << " under " << szLocale;
            }
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
// otherwise read as its own, and marks entry8 with the reason. The texts
// start with another valid locator, so a handler that decoded their first
// ten bytes would show other results.
TEST_F(LocatorToDmsTest, RefusedTextsClearThePreviousResultsAndSayWhy)
{
    const std::vector<std::string> cleared(8, "");
    const struct {
        std::string text;
        const char *szReason;
    } kRefused[] = {
        {"", "QTH locator à convertir : le champ est vide"},
        {" \t\n ", "QTH locator à convertir : le champ est vide"},
        {"ZZ99ZZ", "Caractère 1 de ZZ99ZZ : une lettre de A à R est attendue"},
        {"hello", "Caractère 3 de hello : un chiffre de 0 à 9 est attendu"},
        {"JN1", "JN1 : un QTH locator a 2, 4, 6, 8 ou 10 caractères, pas 3"},
        {"JN18DTKK7", "JN18DTKK7 : un QTH locator a 2, 4, 6, 8 ou 10 caractères, pas 9"},
        {"jn18dtkY78", "Caractère 8 de jn18dtkY78 : une lettre de A à X est attendue"},
        {"48.85 2.35", "Caractère 1 de 48.85 2.35 : une lettre de A à R est attendue"},
        {"QF56ODMD00X", "QF56ODMD00X : un QTH locator a 2, 4, 6, 8 ou 10 caractères, pas 11"},
        {"QF56 ODMD00", "Caractère 5 de QF56 ODMD00 : une lettre de A à X est attendue"},
        {"QF56ODMD0\xC3\xA9", "Caractère 10 de QF56ODMD0\xC3\xA9 : un chiffre de 0 à 9 est "
                               "attendu"},
        // A Maidenhead locator: the same refusal, with the way out.
        {"JN18DT44LM", "Caractère 7 de JN18DT44LM : une lettre de A à X est attendue ; c'est un "
                       "locator Maidenhead, et le QTH locator étendu de la même case est "
                       "jn18dtkk78"},
        {"jn18dt44", "Caractère 7 de jn18dt44 : une lettre de A à X est attendue ; c'est un "
                     "locator Maidenhead, dont les 8 caractères ne nomment aucune case d'un QTH "
                     "locator étendu"},
        {"jn18dt\x7f", "Caractère 7 de jn18dt<U+007F> : une lettre de A à X est attendue"},
        {"jn\t18", "Caractère 3 de jn<U+0009>18 : un chiffre de 0 à 9 est attendu"},
        {"QF56ODMD00QF56ODMD00QF56ODMD00",
         "QF56ODMD00QF56ODMD00QF56\u2026 : un QTH locator a 2, 4, 6, 8 ou 10 caractères, pas 30"},
    };
    for (const auto &row : kRefused) {
        ASSERT_EQ(Decode(JN18DTKK78.szLocator), Expected(JN18DTKK78));
        EXPECT_EQ(Mark(Widget("entry8")), "") << "an accepted press clears the mark";
        EXPECT_EQ(Decode(row.text), cleared) << row.text;
        EXPECT_EQ(Mark(Widget("entry8")), row.szReason);
        EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(m_window)), Widget("entry8")) << row.text;
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

// The corner of a north-east cell, typed back into the upper half as the
// lower one shows it, gives the same locator.
TEST_F(LocatorToDmsTest, NorthEastCornersTypedBackGiveTheirOwnLocator)
{
    int nRows = 0;
    for (const DecodeCase &row : kDecodeCases) {
        const std::string locator = row.szLocator;
        if (locator.size() != 10 || !std::all_of(locator.begin(), locator.end(),
                                                 [](char c) { return g_ascii_isalnum(c); }) ||
            std::string(row.szOutputs[3]) != "E" ||
            std::string(row.szOutputs[7]) != "N")
            continue;
        nRows++;
        const std::vector<std::string> shown = Decode(locator);
        const int kNumbers[6] = {0, 1, 2, 4, 5, 6};
        for (int i = 0; i < 6; i++)
            SetText(kDmsInputs[i], shown[kNumbers[i]]);
        Select("radiobutton1");
        Select("radiobutton3");
        Click("button2");
        std::string lower = locator;
        for (char &c : lower)
            c = g_ascii_tolower(c);
        EXPECT_EQ(Text("entry1"), lower) << locator;
    }
    EXPECT_GE(nRows, 5);
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
