// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's texts and the message catalogue: what the English catalogue
// shows, what shows without a catalogue, and whether po/ keeps up with the
// sources. Runs on a display (tests/with-xvfb.sh).
#include <gtk/gtk.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "guards.h"
#include "i18n.h"
#include "i18n_po.h"
#include "interface.h"
#include "support.h"
#include "typed_input.h"
#include "window_setup.h"

namespace fs = std::filesystem;

namespace {

const std::string kSourceDir = TOLKA_SOURCE_DIR;
const char kPixmapWarning[] = "Couldn't find pixmap file: %s";

// Every text of the window that goes through the catalogue, with the French
// source and what the English catalogue must make of it. West is "W" in
// English, on its radio button and in the locator-to-DMS results alike.
struct TextRow {
    const char *szWidget;
    const char *szFrench;
    const char *szEnglish;
};
const TextRow kTexts[] = {
    {"window1", "Tolka", "Tolka"},
    {"label1", "QTH locator étendu : de AA00AAAA00 jusqu'à RR99XXXX99",
     "Extended QTH locator: from AA00AAAA00 to RR99XXXX99"},
    {"label2", "DMS vers QTH locator étendu", "DMS to extended QTH locator"},
    {"label4", "Longitude\n", "Longitude (E east, W west)\n"},
    {"radiobutton1", "E", "E"},
    {"radiobutton2", "O", "W"},
    {"button2", "Calculer QTH locator étendu", "Compute extended QTH locator"},
    {"label5", "Latitude\n", "Latitude (N north, S south)\n"},
    {"radiobutton3", "N", "N"},
    {"radiobutton4", "S", "S"},
    {"label3", "QTH locator étendu vers DMS\n", "Extended QTH locator to DMS\n"},
    {"label6", "QTH Locator étendu", "Extended QTH locator"},
    {"label7", "Longitude", "Longitude (W = west)"},
    {"button3", "Calculer DMS", "Compute DMS"},
    {"label8", "Latitude", "Latitude (S = south)"},
    {"label10", "Tolka\nPar les développeurs de Tolka\n2026", "Tolka\nBy the Tolka developers\n2026"},
};

// The text a widget shows as the program gave it: title, button label or
// label text (mnemonic underscores included).
std::string WidgetText(GtkWidget *widget)
{
    const gchar *text = nullptr;
    if (GTK_IS_WINDOW(widget))
        text = gtk_window_get_title(GTK_WINDOW(widget));
    else if (GTK_IS_BUTTON(widget))
        text = gtk_button_get_label(GTK_BUTTON(widget));
    else if (GTK_IS_LABEL(widget))
        text = gtk_label_get_label(GTK_LABEL(widget));
    return text ? text : "";
}

// Every text found by walking the widget tree (not the registry), so a
// widget missing from the tables above is found too. Stock buttons carry a
// stock id, not a text; a button's own label child is its label again.
void CollectTexts(GtkWidget *widget, std::vector<std::string> &texts)
{
    if (GTK_IS_BUTTON(widget)) {
        if (!gtk_button_get_use_stock(GTK_BUTTON(widget)))
            texts.push_back(WidgetText(widget));
        return;
    }
    if (GTK_IS_WINDOW(widget) || GTK_IS_LABEL(widget))
        texts.push_back(WidgetText(widget));
    if (GTK_IS_CONTAINER(widget)) {
        GList *children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList *child = children; child; child = child->next)
            CollectTexts(GTK_WIDGET(child->data), texts);
        g_list_free(children);
    }
}

std::set<std::string> Msgids(const std::vector<PoEntry> &entries)
{
    std::set<std::string> msgids;
    for (const PoEntry &entry : entries)
        if (!entry.bObsolete && !entry.msgid.empty())
            msgids.insert(entry.msgid);
    return msgids;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Unsets LANGUAGE for the guard's life: it would override the locale's
// language in the catalogue lookup.
class NoLanguageGuard {
public:
    NoLanguageGuard()
    {
        const char *value = std::getenv("LANGUAGE");
        m_bHad = value != nullptr;
        if (value)
            m_value = value;
        unsetenv("LANGUAGE");
    }
    ~NoLanguageGuard()
    {
        if (m_bHad)
            setenv("LANGUAGE", m_value.c_str(), 1);
    }
    NoLanguageGuard(const NoLanguageGuard &) = delete;
    NoLanguageGuard &operator=(const NoLanguageGuard &) = delete;

private:
    bool m_bHad;
    std::string m_value;
};

// The domain bound to a private directory that holds the English catalogue
// of this build and nothing else, as an installed prefix would.
class CatalogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char szTemplate[] = "/tmp/tolka-i18n-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        s_localeDir = szTemplate;
        fs::create_directories(s_localeDir / "en" / "LC_MESSAGES");
        fs::copy_file(TOLKA_TEST_CATALOGUE, s_localeDir / "en" / "LC_MESSAGES" / "locx.mo");
        bindtextdomain(TOLKA_DOMAIN, s_localeDir.c_str());
        bind_textdomain_codeset(TOLKA_DOMAIN, "UTF-8");
    }
    static void TearDownTestSuite() { fs::remove_all(s_localeDir); }

    void SetUp() override { RequireGtk(); }
    void TearDown() override
    {
        if (m_window)
            gtk_widget_destroy(m_window);
    }

    GtkWidget *BuildWindow()
    {
        m_window = create_window1();
        return m_window;
    }
    GtkWidget *Widget(const char *szName) { return lookup_widget(m_window, szName); }

    static fs::path s_localeDir;
    NoLanguageGuard m_noLanguage;
    GtkWidget *m_window = nullptr;
};
fs::path CatalogueTest::s_localeDir;

TEST_F(CatalogueTest, EveryCatalogueTextShowsInEnglishUnderAnEnglishLocale)
{
    LocaleGuard locale("en_US.UTF-8");
    ASSERT_TRUE(locale.ok()) << "en_US.UTF-8 is missing: scripts/test.sh generates it";
    BuildWindow();

    for (const TextRow &row : kTexts)
        EXPECT_EQ(WidgetText(Widget(row.szWidget)), row.szEnglish) << row.szWidget;
    EXPECT_EQ(WidgetText(Widget("label9")), "");
    EXPECT_TRUE(gtk_button_get_use_stock(GTK_BUTTON(Widget("button1"))));
    EXPECT_EQ(WidgetText(Widget("button1")), "gtk-close");
}

TEST_F(CatalogueTest, EveryTextShowsInFrenchWithoutAFrenchCatalogue)
{
    LocaleGuard locale("fr_FR.UTF-8");
    ASSERT_TRUE(locale.ok()) << "fr_FR.UTF-8 is missing: scripts/test.sh generates it";
    BuildWindow();

    for (const TextRow &row : kTexts)
        EXPECT_EQ(WidgetText(Widget(row.szWidget)), row.szFrench) << row.szWidget;
    EXPECT_EQ(WidgetText(Widget("label9")), "");
    EXPECT_EQ(WidgetText(Widget("button1")), "gtk-close");
}

// Under English the action must still write the letters the radio buttons
// offer, so a result can be typed back in as it reads.
TEST_F(CatalogueTest, LocatorActionWritesTheRadioLettersUnderEnglish)
{
    LocaleGuard locale("en_US.UTF-8");
    ASSERT_TRUE(locale.ok()) << "en_US.UTF-8 is missing: scripts/test.sh generates it";
    BuildWindow();

    const struct {
        const char *szLocator;
        const char *szLongitudeRadio;
        const char *szLatitudeRadio;
        const char *szLongitude;
        const char *szLatitude;
    } cases[] = {
        {"jn18dtkk78", "radiobutton1", "radiobutton3", "E", "N"},
        {"aa00aaaa00", "radiobutton2", "radiobutton4", "W", "S"},
        {"FN30ASDE59", "radiobutton2", "radiobutton3", "W", "N"},
        {"QF56ODMD00", "radiobutton1", "radiobutton4", "E", "S"},
    };
    for (const auto &c : cases) {
        gtk_entry_set_text(GTK_ENTRY(Widget("entry8")), c.szLocator);
        gtk_button_clicked(GTK_BUTTON(Widget("button3")));
        EXPECT_EQ(WidgetText(Widget(c.szLongitudeRadio)), c.szLongitude);
        EXPECT_EQ(WidgetText(Widget(c.szLatitudeRadio)), c.szLatitude);
        EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(Widget("entry12"))), c.szLongitude)
            << c.szLocator;
        EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(Widget("entry16"))), c.szLatitude)
            << c.szLocator;
    }
}

// Refusals read in English under the English catalogue, the hemisphere
// they suggest with its English letter.
TEST_F(CatalogueTest, RefusalsReadInEnglish)
{
    LocaleGuard locale("en_US.UTF-8");
    ASSERT_TRUE(locale.ok()) << "en_US.UTF-8 is missing: scripts/test.sh generates it";
    const struct {
        const char *szTexts[6];
        int nLoDir, nLaDir;
        const char *szReason;
    } kDms[] = {
        {{"179.99", "0", "36.0000001", "", "", ""}, 0, 0,
         "Longitude seconds: with 36.0000001, the longitude exceeds 180°"},
        {{"", "", "", "90", "1", ""}, 0, 0, "Latitude minutes: with 1, the latitude exceeds 90°"},
        {{"-0", "0", "30", "", "", ""}, 0, 0,
         "Longitude degrees: a sign goes with the hemisphere: write 0 0 30 with W"},
        {{"", "", "", "-48", "48", "38"}, 0, 1,
         "Latitude degrees: a sign goes with the hemisphere: write 48 48 38 with N"},
        {{"1\t2", "", "", "", "", ""}, 0, 0, "Longitude degrees: “1<U+0009>2” is not a decimal number"},
    };
    for (const auto &row : kDms) {
        double tab[6];
        FieldRefusal refusal;
        EXPECT_FALSE(dms_fields_read(row.szTexts, row.nLoDir, row.nLaDir, tab, &refusal));
        EXPECT_EQ(refusal.reason, row.szReason);
    }
    const struct {
        const char *szText, *szReason;
    } kLocators[] = {
        {"JN18DT44LM", "Character 7 of JN18DT44LM: a letter A-X is expected; it is a Maidenhead "
                       "locator, and the extended QTH locator of the same cell is jn18dtkk78"},
        {"JN18DT44", "Character 7 of JN18DT44: a letter A-X is expected; it is a Maidenhead "
                     "locator, whose 8 characters name no cell of an extended QTH locator"},
    };
    for (const auto &row : kLocators) {
        FieldRefusal refusal;
        EXPECT_FALSE(locator_text_check(row.szText, std::strlen(row.szText), &refusal));
        EXPECT_EQ(refusal.reason, row.szReason);
    }
}

// The tables above and the template must cover every text of the window: a
// new widget text that is not in po/locx.pot would never be translated.
TEST_F(CatalogueTest, EveryWindowTextIsInTheTemplate)
{
    LocaleGuard locale("C");
    BuildWindow();
    std::vector<std::string> texts;
    CollectTexts(m_window, texts);

    const std::set<std::string> msgids = Msgids(ReadPoFile(kSourceDir + "/po/locx.pot"));
    std::multiset<std::string> walked, tabled;
    for (const std::string &text : texts) {
        if (text.empty())
            continue; // label9, which skips the catalogue
        walked.insert(text);
        EXPECT_EQ(msgids.count(text), 1u) << "not in po/locx.pot: " << text;
    }
    for (const TextRow &row : kTexts)
        tabled.insert(row.szFrench);
    EXPECT_EQ(walked, tabled);
}

// What complete_window1 tells screen readers and shows as tooltips: the
// entries' accessible names, the radio buttons' descriptions and every
// tooltip, in tree order.
void CollectAccessTexts(GtkWidget *widget, std::vector<std::string> &texts)
{
    AtkObject *accessible = gtk_widget_get_accessible(widget);
    const gchar *szAccess = GTK_IS_ENTRY(widget)          ? atk_object_get_name(accessible)
                            : GTK_IS_RADIO_BUTTON(widget) ? atk_object_get_description(accessible)
                                                          : nullptr;
    if (szAccess)
        texts.push_back(szAccess);
    if (gchar *szTooltip = gtk_widget_get_tooltip_text(widget)) {
        texts.push_back(szTooltip);
        g_free(szTooltip);
    }
    if (GTK_IS_CONTAINER(widget)) {
        GList *children = gtk_container_get_children(GTK_CONTAINER(widget));
        for (GList *child = children; child; child = child->next)
            CollectAccessTexts(GTK_WIDGET(child->data), texts);
        g_list_free(children);
    }
}

// Each of them is in the template, and under English each is the English
// catalogue's translation of the French one.
TEST_F(CatalogueTest, AccessibleNamesAndTooltipsComeFromTheCatalogue)
{
    std::vector<std::string> french, english;
    {
        LocaleGuard locale("C");
        complete_window1(BuildWindow());
        CollectAccessTexts(m_window, french);
        gtk_widget_destroy(m_window);
    }
    LocaleGuard locale("en_US.UTF-8");
    ASSERT_TRUE(locale.ok()) << "en_US.UTF-8 is missing: scripts/test.sh generates it";
    complete_window1(BuildWindow());
    CollectAccessTexts(m_window, english);

    // 16 entry names, 4 radio descriptions, their 4 tooltips, and those of
    // the six numbers and entry8.
    ASSERT_EQ(french.size(), 31u);
    const std::set<std::string> msgids = Msgids(ReadPoFile(kSourceDir + "/po/locx.pot"));
    std::map<std::string, std::string> translations;
    for (const PoEntry &entry : ReadPoFile(kSourceDir + "/po/en.po"))
        if (!entry.msgstr.empty())
            translations[entry.msgid] = entry.msgstr[0];
    ASSERT_EQ(english.size(), french.size());
    for (size_t i = 0; i < french.size(); i++) {
        EXPECT_EQ(msgids.count(french[i]), 1u) << "not in po/locx.pot: " << french[i];
        EXPECT_EQ(english[i], translations[french[i]]) << french[i];
    }
}

// The manual's two examples, run through the window: its DMS example must
// give its locator, and that locator the DMS it shows.
TEST_F(CatalogueTest, ManualExamplesAreWhatTheWindowComputes)
{
    LocaleGuard locale("C");
    BuildWindow();
    const std::string manual = ReadFile(kSourceDir + "/docs/tolka.1");

    // Example lines: "Longitude:  2   17   14   E" (input) and later
    // "Longitude:  2.00   17.00   13.75   E" (output), the same for latitude.
    std::map<std::string, std::vector<std::vector<std::string>>> rows;
    std::istringstream lines(manual);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string head, word;
        words >> head;
        if (head != "Longitude:" && head != "Latitude:")
            continue;
        std::vector<std::string> fields;
        while (words >> word)
            fields.push_back(word);
        ASSERT_EQ(fields.size(), 4u) << line;
        rows[head].push_back(fields);
    }
    ASSERT_EQ(rows["Longitude:"].size(), 2u);
    ASSERT_EQ(rows["Latitude:"].size(), 2u);

    const struct {
        const char *szHead;
        const char *szInputs[3];
        const char *szRadios[2];
        const char *szOutputs[4];
    } axes[] = {
        {"Longitude:", {"entry2", "entry3", "entry4"}, {"radiobutton1", "radiobutton2"},
         {"entry9", "entry10", "entry11", "entry12"}},
        {"Latitude:", {"entry5", "entry6", "entry7"}, {"radiobutton3", "radiobutton4"},
         {"entry13", "entry14", "entry15", "entry16"}},
    };
    for (const auto &axis : axes) {
        const std::vector<std::string> &input = rows[axis.szHead][0];
        for (int i = 0; i < 3; i++)
            gtk_entry_set_text(GTK_ENTRY(Widget(axis.szInputs[i])), input[i].c_str());
        // Switch both ways so the hemisphere handlers run whatever was active.
        GtkWidget *chosen = nullptr, *other = nullptr;
        for (const char *szRadio : axis.szRadios)
            (WidgetText(Widget(szRadio)) == input[3] ? chosen : other) = Widget(szRadio);
        ASSERT_NE(chosen, nullptr) << "no radio button reads " << input[3];
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(other), TRUE);
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(chosen), TRUE);
    }
    gtk_button_clicked(GTK_BUTTON(Widget("button2")));
    const std::string locator = gtk_entry_get_text(GTK_ENTRY(Widget("entry1")));
    EXPECT_NE(manual.find(".BR " + locator + " .\n"), std::string::npos)
        << "the manual does not give the locator " << locator;

    gtk_entry_set_text(GTK_ENTRY(Widget("entry8")), locator.c_str());
    gtk_button_clicked(GTK_BUTTON(Widget("button3")));
    for (const auto &axis : axes) {
        const std::vector<std::string> &output = rows[axis.szHead][1];
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(gtk_entry_get_text(GTK_ENTRY(Widget(axis.szOutputs[i]))), output[i])
                << axis.szOutputs[i];
    }
}

// The files themselves, no window needed.

// Every catalogue translates every text of the template. The French one
// gives each source text back as it is: it is there so that GLib, finding a
// catalogue of the program's own domain for a French locale, leaves the
// toolkit's translations ("Fermer", "Couper", ...) on.
TEST(CatalogueFiles, EveryCatalogueTranslatesEveryTemplateText)
{
    const std::vector<PoEntry> pot = ReadPoFile(kSourceDir + "/po/locx.pot");
    for (const char *szLanguage : {"en", "fr"}) {
        SCOPED_TRACE(szLanguage);
        const std::vector<PoEntry> po = ReadPoFile(kSourceDir + "/po/" + szLanguage + ".po");
        EXPECT_EQ(Msgids(po), Msgids(pot));
        for (const PoEntry &entry : po) {
            if (entry.msgid.empty())
                continue; // the header
            EXPECT_FALSE(entry.bObsolete) << entry.msgid;
            EXPECT_FALSE(entry.hasFlag("fuzzy")) << entry.msgid;
            ASSERT_EQ(entry.msgstr.size(), 1u) << entry.msgid;
            EXPECT_FALSE(entry.msgstr[0].empty()) << entry.msgid;
            if (std::string(szLanguage) == "fr") {
                EXPECT_EQ(entry.msgstr[0], entry.msgid);
            }
        }
    }
}

// Window texts go to the toolkit verbatim, so a translator must not see them
// as formats; the pixmap warning and the refusal reasons are, and msgfmt
// --check compares their directives only when the flag is there.
TEST(CatalogueFiles, ExactlyTheTextsWithDirectivesAreFormats)
{
    for (const char *szFile : {"/po/locx.pot", "/po/en.po", "/po/fr.po"}) {
        bool bFound = false;
        for (const PoEntry &entry : ReadPoFile(kSourceDir + szFile)) {
            bFound = bFound || entry.msgid == kPixmapWarning;
            const bool bDirective = entry.msgid.find('%') != std::string::npos;
            EXPECT_EQ(entry.hasFlag("c-format"), bDirective) << szFile << ": " << entry.msgid;
        }
        EXPECT_TRUE(bFound) << szFile << " lacks the pixmap warning";
    }
}

TEST(PoReader, ReadsEntriesAsMsgfmtDoes)
{
    std::istringstream po(
        "# header comment\n"
        "msgid \"\"\n"
        "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
        "\n"
        "#: src/a.cpp\n"
        "#, fuzzy, c-format\n"
        "msgid \"\"\n"
        "\"two\\n\"\n"
        "\"lines \\\"quoted\\\" \\\\ \\t\\101\\x42\"\n"
        "msgstr \"x\"\n"
        "msgctxt \"ctx\"\n"
        "msgid \"one\"\n"
        "msgid_plural \"many\"\n"
        "msgstr[0] \"un\"\n"
        "msgstr[1] \"plusieurs\"\n"
        "\n"
        "#~ msgid \"gone\"\n"
        "#~ msgstr \"parti\"\n");
    const std::vector<PoEntry> entries = ReadPo(po);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].msgid, "");
    EXPECT_EQ(entries[1].msgid, "two\nlines \"quoted\" \\ \tAB");
    EXPECT_EQ(entries[1].flags, (std::vector<std::string>{"fuzzy", "c-format"}));
    EXPECT_EQ(entries[2].msgctxt, "ctx");
    EXPECT_EQ(entries[2].msgidPlural, "many");
    EXPECT_EQ(entries[2].msgstr, (std::vector<std::string>{"un", "plusieurs"}));
    EXPECT_TRUE(entries[2].flags.empty());
    EXPECT_TRUE(entries[3].bObsolete);
    EXPECT_EQ(entries[3].msgid, "gone");
    EXPECT_THROW(PoUnquote("\"open"), std::runtime_error);
    EXPECT_THROW(PoUnquote("\"bad \\q\""), std::runtime_error);
}

} // namespace
