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

// What a DMS field's text counts as: a number in any field, a number in the
// degrees fields only (a sign, or 60), or refused.
enum class Means { Number, DegreesOnly, Refused };

struct DmsTextRow {
    const char *szText;
    Means means;
    double dValue; // when not refused
};

const DmsTextRow kDmsTexts[] = {
    {"", Means::Number, 0},
    {"   ", Means::Number, 0},
    {"\t\n", Means::Number, 0},
    {" 1.5 ", Means::Number, 1.5},
    {"1,5", Means::Number, 1.5},
    {".5", Means::Number, 0.5},
    {"5.", Means::Number, 5},
    {"007.250", Means::Number, 7.25},
    // Below 60 on the digits typed, though its double is 60.
    {"59.99999999999999999999", Means::Number, 60},
    {"-5", Means::DegreesOnly, -5},
    {"+7.5", Means::DegreesOnly, 7.5},
    {"-0", Means::DegreesOnly, -0.0},
    {"60", Means::DegreesOnly, 60},
    {"+", Means::Refused, 0},
    {"-", Means::Refused, 0},
    {"+-3", Means::Refused, 0},
    {"--5", Means::Refused, 0},
    {"- 5", Means::Refused, 0},
    {".", Means::Refused, 0},
    {",", Means::Refused, 0},
    {"e5", Means::Refused, 0},
    {"abc", Means::Refused, 0},
    {"\xc3\xa9", Means::Refused, 0},                 // é
    // Blanks that pastes bring: no-break spaces, ideographic, byte-order mark.
    {"\xc2\xa0" "5\xe2\x80\xaf", Means::Number, 5},
    {"\xef\xbb\xbf" "1,5\xe3\x80\x80", Means::Number, 1.5},
    {"1\xc2\xa0" "5", Means::Refused, 0},           // inside a number it is no blank
    {"\xe2\x80\x83" "5", Means::Refused, 0},         // an em space is not a blank
    {"\xd9\xa1\xd9\xa2", Means::Refused, 0},         // Arabic-Indic digits
    {"\xef\xbc\x91", Means::Refused, 0},             // full-width 1
    {"12abc", Means::Refused, 0},
    {"1 2", Means::Refused, 0},
    {"1\t2", Means::Refused, 0},
    {"5\x7f", Means::Refused, 0},
    {"7.5.3", Means::Refused, 0},
    {"1,5.3", Means::Refused, 0},
    {"1e2", Means::Refused, 0},
    {"0x1p3", Means::Refused, 0},
    {"36000", Means::Refused, 0},
    {"-1300", Means::Refused, 0},
    {"nan", Means::Refused, 0},
    {"NaN(123)", Means::Refused, 0},
    {"-nan", Means::Refused, 0},
    {"inf", Means::Refused, 0},
    {"-Infinity", Means::Refused, 0},
    {"1e999", Means::Refused, 0},
    {"1e300", Means::Refused, 0},
    {"99999999999999999999999999", Means::Refused, 0},
};

// The locator the encoder gives for these six numbers, as the window shows it.
std::string ShownLocator(const double *tab, int nLoDir, int nLaDir)
{
    char szLOCX[11], szShown[LOCATOR_DISPLAY_SIZE];
    KLOCXFromDMSLoLaTab(tab, szLOCX, nLoDir, nLaDir);
    locator_display_text(szLOCX, szShown);
    return szShown;
}

TEST_F(BadInputWindow, JunkInEveryDmsFieldIsRefusedThereOrReadAsItsNumber)
{
    GtkWidget *button2 = Widget("button2");
    for (bool bWestSouth : {false, true}) {
        Hemispheres(bWestSouth, bWestSouth);
        const int nDir = bWestSouth ? 1 : 0;
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
                EXPECT_EQ(Text(kDmsFields[nField]), row.szText) << where << ": input changed";
                const bool bDegrees = nField % 3 == 0;
                if (row.means == Means::Refused || (row.means == Means::DegreesOnly && !bDegrees)) {
                    EXPECT_EQ(shown, "") << where;
                    EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(m_window)),
                              Widget(kDmsFields[nField]))
                        << where;
                    continue;
                }
                double tab[6] = {0, 0, 0, 0, 0, 0};
                tab[nField] = row.dValue;
                EXPECT_EQ(shown, ShownLocator(tab, nDir, nDir)) << where;
                for (char c : shown)
                    EXPECT_TRUE((c >= 'a' && c <= 'x') || (c >= '0' && c <= '9'))
                        << where << ": " << shown;
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
    // output fields; checks the marks are all cleared for a refused text
    // and all replaced by well-formed results otherwise.
    void Press(const std::string &text, bool bRefused)
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
    // The text cycles through a valid locator's characters: only the
    // lengths of a locator are decoded.
    for (size_t n = 0; n <= 300; n++)
        Press(LocatorLikeText(n), n % 2 != 0 || n == 0 || n > 10);
}

TEST_F(LocatorLength, SampledLengthsUpTo65535AreRefused)
{
    std::vector<size_t> lengths = {301, 511, 512, 513, 1023, 1024, 4095, 4096, 4097,
                                   32767, 32768, 32769, 65534, 65535};
    for (size_t n = 1000; n < 65535; n += 997)
        lengths.push_back(n);
    for (size_t n : lengths)
        Press(LocatorLikeText(n), true);
}

// Non-ASCII and control characters are refused whatever their number of
// bytes; lower case is a locator.
const char *const kOddLocators[] = {
    "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9",          // five e-acute, ten bytes
    "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac",               // three euro signs, nine bytes
    "\xf0\x9f\x98\x80\xf0\x9f\x98\x80",                   // two emoji, eight bytes
    "\x01\x02",
    "\x7f\t \x7f",
    "jn\xc3\xbf\xc3\xbf",                                // y diaeresis is not upper-cased
    "\xef\xbf\xbd\xef\xbf\xbd",
};

TEST_F(LocatorLength, NonAsciiAndControlCharactersAreRefusedLowerCaseIsNot)
{
    for (const char *szText : kOddLocators)
        Press(szText, true);
    Press("jn18dtkk78", false);
    EXPECT_EQ(Text("entry11"), "13.75");
    EXPECT_EQ(Text("entry15"), "37.50");
}

} // namespace
