// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bad input through the real handlers on a shown window: junk in every DMS
// field, locator texts of every length up to 65,535 bytes, lower case,
// non-ASCII and control characters. Every output field is read back after
// every press: valid UTF-8, and either a visible non-locator, a result of
// the expected shape, or the text it had before. The toolkit must not
// complain (a warning or critical of any domain fails the test).
#include <gtk/gtk.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "callbacks.h"
#include "qra.h"
#include "support.h"
#include "window_fixture.h"

namespace {

// Collects every warning or critical of any log domain while alive.
class ToolkitComplaints {
public:
    ToolkitComplaints() { m_previous = g_log_set_default_handler(&Handler, this); }
    ~ToolkitComplaints() { g_log_set_default_handler(m_previous, NULL); }
    ToolkitComplaints(const ToolkitComplaints &) = delete;
    ToolkitComplaints &operator=(const ToolkitComplaints &) = delete;

    const std::vector<std::string> &messages() const { return m_messages; }

private:
    static void Handler(const gchar *szDomain, GLogLevelFlags level, const gchar *szText,
                        gpointer self)
    {
        if (level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING))
            static_cast<ToolkitComplaints *>(self)->m_messages.push_back(
                std::string(szDomain ? szDomain : "") + ": " + (szText ? szText : ""));
    }

    GLogFunc m_previous;
    std::vector<std::string> m_messages;
};

const char *const kDmsFields[6] = {"entry2", "entry3", "entry4", "entry5", "entry6", "entry7"};
const char *const kLocatorOutputs[8] = {"entry9",  "entry10", "entry11", "entry12",
                                        "entry13", "entry14", "entry15", "entry16"};

class BadInputWindow : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        // After the toolkit's start, which sets the locale from the
        // environment: the texts below use the full stop.
        m_locale.reset(new LocaleGuard("C"));
        ASSERT_TRUE(m_locale->ok());
        gtk_widget_show(m_window);
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        EXPECT_TRUE(m_complaints.messages().empty())
            << "the toolkit complained: " << m_complaints.messages().front();
    }

    // Every text read back must be valid UTF-8.
    std::string Text(const char *szName) const
    {
        const std::string text = WindowTest::Text(szName);
        EXPECT_TRUE(g_utf8_validate(text.c_str(), -1, NULL)) << szName << " holds invalid UTF-8";
        return text;
    }
    void Hemispheres(bool bWest, bool bSouth) const
    {
        Select(bWest ? "radiobutton2" : "radiobutton1");
        Select(bSouth ? "radiobutton4" : "radiobutton3");
    }

    std::unique_ptr<LocaleGuard> m_locale;
    ToolkitComplaints m_complaints;
};

// What a DMS field's text counts as.
enum class Means { Zero, Number, NoIndex };

struct DmsTextRow {
    const char *szText;
    Means means;
    double dValue; // for Number
};

const DmsTextRow kDmsTexts[] = {
    {"", Means::Zero, 0},
    {"   ", Means::Zero, 0},
    {"\t\n", Means::Zero, 0},
    {"+", Means::Zero, 0},
    {"-", Means::Zero, 0},
    {"+-3", Means::Zero, 0},
    {"--5", Means::Zero, 0},
    {".", Means::Zero, 0},
    {"e5", Means::Zero, 0},
    {"abc", Means::Zero, 0},
    {"\xc3\xa9", Means::Zero, 0},                 // é
    {"\xe2\x80\x83" "5", Means::Zero, 0},         // an em space is not a blank to atof
    {"\xd9\xa1\xd9\xa2", Means::Zero, 0},         // Arabic-Indic digits
    {"\xef\xbc\x91", Means::Zero, 0},             // full-width 1
    {"12abc", Means::Number, 12},
    {"  12abc", Means::Number, 12},
    {"-5", Means::Number, -5},
    {"+7.5", Means::Number, 7.5},
    {"7.5.3", Means::Number, 7.5},
    {"1,5", Means::Number, 1},                    // a comma is no separator in C
    {"1e2", Means::Number, 100},
    {"0x1p3", Means::Number, 8},                  // atof reads hexadecimal too
    {"36000", Means::Number, 36000},
    {"1e9", Means::Number, 1e9},
    {"-1300", Means::Number, -1300},
    {"nan", Means::NoIndex, 0},
    {"NaN(123)", Means::NoIndex, 0},
    {"-nan", Means::NoIndex, 0},
    {"inf", Means::NoIndex, 0},
    {"-Infinity", Means::NoIndex, 0},
    {"1e999", Means::NoIndex, 0},
    {"-1e999", Means::NoIndex, 0},
    {"1e300", Means::NoIndex, 0},
    {"-1e300", Means::NoIndex, 0},
    {"1e15", Means::NoIndex, 0},
};

// The locator the encoder gives for these six numbers, as the window shows it.
std::string ShownLocator(const double *tab, int nLoDir, int nLaDir)
{
    char szLOCX[11], szShown[LOCATOR_DISPLAY_SIZE];
    KLOCXFromDMSLoLaTab(tab, szLOCX, nLoDir, nLaDir);
    locator_display_text(szLOCX, szShown);
    return szShown;
}

TEST_F(BadInputWindow, JunkInEveryDmsFieldGivesANumberZeroOrQuestionMarks)
{
    GtkWidget *button2 = Widget("button2");
    for (bool bWestSouth : {false, true}) {
        Hemispheres(bWestSouth, bWestSouth);
        const int nDir = bWestSouth ? 1 : 0;
        const double zero[6] = {0, 0, 0, 0, 0, 0};
        const std::string atZero = ShownLocator(zero, nDir, nDir);
        for (const DmsTextRow &row : kDmsTexts) {
            for (int nField = 0; nField < 6; nField++) {
                for (const char *szField : kDmsFields)
                    SetText(szField, "");
                SetText(kDmsFields[nField], row.szText);
                SetText("entry1", "stale");
                gtk_button_clicked(GTK_BUTTON(button2));

                const std::string shown = Text("entry1");
                const std::string where = std::string("\"") + row.szText + "\" in " +
                                          kDmsFields[nField] + (bWestSouth ? ", O S" : ", E N");
                EXPECT_EQ(g_utf8_strlen(shown.c_str(), -1), 10) << where;
                for (char c : shown)
                    EXPECT_FALSE(c >= 'A' && c <= 'Z') << where << ": " << shown;
                EXPECT_EQ(Text(kDmsFields[nField]), row.szText) << where << ": input changed";

                std::string expected;
                switch (row.means) {
                case Means::Zero:
                    expected = atZero;
                    break;
                case Means::Number: {
                    double tab[6] = {0, 0, 0, 0, 0, 0};
                    tab[nField] = row.dValue;
                    expected = ShownLocator(tab, nDir, nDir);
                    break;
                }
                case Means::NoIndex:
                    expected = atZero;
                    for (int i = nField < 3 ? 0 : 1; i < 10; i += 2)
                        expected[i] = '?';
                    break;
                }
                EXPECT_EQ(shown, expected) << where;
            }
        }
    }
}

// A text of nLength bytes cycling through locator-like characters, lower
// and upper case.
std::string LocatorLikeText(size_t nLength)
{
    static const char kCycle[] = "jn18DTkk78RR99xx";
    std::string text(nLength, ' ');
    for (size_t i = 0; i < nLength; i++)
        text[i] = kCycle[i % (sizeof kCycle - 1)];
    return text;
}

class LocatorLength : public BadInputWindow {
protected:
    // Presses "Calculer DMS" with text in entry8 after marking all eight
    // output fields; checks the marks are all cleared for a refused length
    // and all replaced by well-formed results otherwise.
    void Press(const std::string &text)
    {
        SetText("entry8", text);
        // The entry itself keeps at most 65,534 bytes of a longer text.
        const std::string held = Text("entry8");
        EXPECT_EQ(held.size(), std::min<size_t>(text.size(), 65534));
        for (const char *szField : kLocatorOutputs)
            SetText(szField, "mark");
        gtk_button_clicked(GTK_BUTTON(Widget("button3")));

        const std::string where = "length " + std::to_string(held.size());
        const std::string typed = Text("entry8");
        EXPECT_TRUE(typed == held) << where << ": the typed text changed, now "
                                   << typed.size() << " bytes";
        const bool bRefused = held.empty() || held.size() > 10;
        for (int i = 0; i < 8; i++) {
            const std::string shown = Text(kLocatorOutputs[i]);
            if (bRefused) {
                EXPECT_EQ(shown, "") << where << ": " << kLocatorOutputs[i] << " not cleared";
            } else if (i == 3) {
                EXPECT_TRUE(shown == "E" || shown == "O") << where << ": " << shown;
            } else if (i == 7) {
                EXPECT_TRUE(shown == "N" || shown == "S") << where << ": " << shown;
            } else {
                char *pEnd = nullptr;
                const double dValue = strtod(shown.c_str(), &pEnd);
                EXPECT_TRUE(*pEnd == '\0' && shown.find_first_of("-+eE") == std::string::npos &&
                            std::isfinite(dValue) && dValue >= 0)
                    << where << ": " << kLocatorOutputs[i] << " shows " << shown;
            }
        }
    }
};

TEST_F(LocatorLength, EveryLengthUpToThreeHundredIsRefusedOrDecoded)
{
    for (size_t n = 0; n <= 300; n++)
        Press(LocatorLikeText(n));
}

TEST_F(LocatorLength, SampledLengthsUpTo65535AreRefused)
{
    std::vector<size_t> lengths = {301, 511, 512, 513, 1023, 1024, 4095, 4096, 4097,
                                   32767, 32768, 32769, 65534, 65535};
    for (size_t n = 1000; n < 65535; n += 997)
        lengths.push_back(n);
    for (size_t n : lengths)
        Press(LocatorLikeText(n));
}

// Non-ASCII, control characters and lower case: the length test counts
// bytes, and whatever passes it decodes by the same arithmetic.
struct OddLocatorRow {
    const char *szName;
    const char *szText;
    bool bRefused;
    const char *szLo[4]; // degrees, minutes, seconds, letter as shown
    const char *szLa[4];
};

const OddLocatorRow kOddLocators[] = {
    {"lower case", "jn18dtkk78", false, {"2.00", "17.00", "13.75", "E"},
     {"48.00", "48.00", "37.50", "N"}},
    {"five e-acute are ten bytes", "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", false,
     {"2928.00", "58.00", "31.25", "O"}, {"1751.00", "37.00", "14.375", "S"}},
    {"six e-acute are twelve bytes", "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", true,
     {}, {}},
    {"three euro signs are nine bytes", "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac", false,
     {"2360.00", "17.00", "32.50", "O"}, {"2084.00", "32.00", "53.75", "S"}},
    {"two emoji are eight bytes", "\xf0\x9f\x98\x80\xf0\x9f\x98\x80", false,
     {"2111.00", "20.00", "12.50", "O"}, {"1893.00", "5.00", "6.25", "S"}},
    {"three emoji are twelve bytes", "\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80", true,
     {}, {}},
    {"control characters", "\x01\x02", false, {"1460.00", "0.00", "0.00", "O"},
     {"720.00", "0.00", "0.00", "S"}},
    // White space counts inside the text, not around it.
    {"tab and blank between deletes", "\x7f\t \x7f", false, {"1028.00", "0.00", "0.00", "E"},
     {"571.00", "0.00", "0.00", "S"}},
    {"y diaeresis is not upper-cased", "\xc3\xbf", false, {"2700.00", "0.00", "0.00", "O"},
     {"1390.00", "0.00", "0.00", "S"}},
    {"one lower-case letter", "z", false, {"320.00", "0.00", "0.00", "E"},
     {"90.00", "0.00", "0.00", "S"}},
    {"replacement characters past ten bytes", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd",
     true, {}, {}},
};

TEST_F(LocatorLength, NonAsciiControlAndLowerCaseTextsDecodeByTheirBytes)
{
    for (const OddLocatorRow &row : kOddLocators) {
        SCOPED_TRACE(row.szName);
        Press(row.szText);
        if (row.bRefused)
            continue;
        for (int i = 0; i < 4; i++) {
            const std::string lo = Text(kLocatorOutputs[i]);
            const std::string la = Text(kLocatorOutputs[4 + i]);
            if (i == 3) {
                EXPECT_EQ(lo, row.szLo[i]);
                EXPECT_EQ(la, row.szLa[i]);
            } else {
                // Exact halves of a hundredth may round either way.
                EXPECT_NEAR(strtod(lo.c_str(), nullptr), strtod(row.szLo[i], nullptr), 0.0051)
                    << lo;
                EXPECT_NEAR(strtod(la.c_str(), nullptr), strtod(row.szLa[i], nullptr), 0.0051)
                    << la;
            }
        }
    }
}

} // namespace
