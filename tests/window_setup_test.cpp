// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as main completes it after create_window1: the Tab order,
// Enter in the fields, and the locator fields' copy as Maidenhead. Names,
// tooltips and widths are checked through the accessibility layer by the
// end-to-end test, and against the catalogues by i18n_test.cpp.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <gdk/gdkkeysyms.h>

#include "window_fixture.h"
#include "window_setup.h"

namespace {

class CompletedWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        complete_window1(m_window);
        gtk_widget_show(m_window);
        FlushEvents();
    }

    // The registry name of the focused widget, "" for none or another.
    std::string Focused() const
    {
        GtkWidget *focus = gtk_window_get_focus(GTK_WINDOW(m_window));
        for (const char *szName : kOrder)
            if (focus && focus == Widget(szName))
                return szName;
        return "";
    }

    // What the Tab and Shift+Tab (or arrow) key bindings of the window do.
    void Move(GtkDirectionType direction) const
    {
        g_signal_emit_by_name(m_window, "move-focus", direction);
    }

    // Every keyboard stop, in the order Tab visits them with E and N selected.
    static const std::vector<const char *> kOrder;
};

const std::vector<const char *> CompletedWindowTest::kOrder = {
    "entry2",  "entry3",  "entry4",  "entry5",       "entry6",       "entry7",
    "radiobutton1", "radiobutton3", "button2", "entry1", "entry8", "button3",
    "entry9",  "entry10", "entry11", "entry12", "entry13", "entry14",
    "entry15", "entry16", "button1",
};

// The item that the field's menu gets when it opens, in a menu of its own.
GtkWidget *CopyItem(GtkWidget *entry, GtkWidget *menu)
{
    g_signal_emit_by_name(entry, "populate-popup", menu);
    GList *children = gtk_container_get_children(GTK_CONTAINER(menu));
    GtkWidget *item = nullptr;
    for (GList *l = children; l; l = l->next)
        if (std::string(gtk_widget_get_name(GTK_WIDGET(l->data))) == "copy_maidenhead")
            item = GTK_WIDGET(l->data);
    g_list_free(children);
    return item;
}

TEST_F(CompletedWindowTest, CopiesTheSameCellInMaidenheadAndIsInsensitiveWithoutOne)
{
    static const struct {
        const char *szField, *szText, *szCopied; // "": the item is insensitive
    } kRows[] = {
        {"entry1", "jn18dtkk78", "JN18DT44LM"}, {"entry1", "rr99xxxx99", "RR99XX99XX"},
        {"entry8", " jn18DT ", "JN18DT"},       {"entry8", "jn18dtkk", ""},
        {"entry8", "JN18DT44LM", ""},           {"entry8", "jn1", ""},
        {"entry8", "", ""},                     {"entry8", "\u00a0jn18dt\u202f", "JN18DT"},
    };
    GtkClipboard *clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
    for (const auto &row : kRows) {
        SetText(row.szField, row.szText);
        GtkWidget *menu = gtk_menu_new();
        g_object_ref_sink(menu);
        GtkWidget *item = CopyItem(Widget(row.szField), menu);
        ASSERT_NE(item, nullptr) << row.szField;
        const bool bSensitive = *row.szCopied != '\0';
        EXPECT_EQ(GTK_WIDGET_SENSITIVE(item) != 0, bSensitive) << row.szText;
        if (bSensitive) {
            gtk_clipboard_set_text(clipboard, "before", -1);
            gtk_menu_item_activate(GTK_MENU_ITEM(item));
            gchar *szCopied = gtk_clipboard_wait_for_text(clipboard);
            EXPECT_STREQ(szCopied, row.szCopied) << row.szText;
            g_free(szCopied);
        }
        gtk_widget_destroy(menu);
        g_object_unref(menu);
    }
}

} // namespace

TEST_F(CompletedWindowTest, TabGoesThroughTheSixNumbersBeforeTheButtonsAndRoundAgain)
{
    ASSERT_EQ(Focused(), "entry2") << "the first field takes the focus when the window shows";
    for (size_t i = 1; i <= kOrder.size(); i++) {
        Move(GTK_DIR_TAB_FORWARD);
        EXPECT_EQ(Focused(), kOrder[i % kOrder.size()]) << "Tab number " << i;
    }
    for (size_t i = kOrder.size(); i-- > 0;) {
        Move(GTK_DIR_TAB_BACKWARD);
        EXPECT_EQ(Focused(), kOrder[i]) << "Shift+Tab back to " << kOrder[i];
    }

    // Tab stops at the selected button of each group; the arrows, left to
    // the toolkit, move and select within it.
    Select("radiobutton4");
    gtk_widget_grab_focus(Widget("entry7"));
    Move(GTK_DIR_TAB_FORWARD);
    EXPECT_EQ(Focused(), "radiobutton1");
    Move(GTK_DIR_DOWN);
    EXPECT_TRUE(gtk_widget_is_focus(Widget("radiobutton2")));
    EXPECT_TRUE(Active("radiobutton2"));
    Move(GTK_DIR_TAB_FORWARD);
    EXPECT_TRUE(gtk_widget_is_focus(Widget("radiobutton4")));
    Move(GTK_DIR_TAB_FORWARD);
    EXPECT_EQ(Focused(), "button2");
}

TEST_F(CompletedWindowTest, EnterInAFieldRunsTheConversionOfItsHalfOnly)
{
    LocaleGuard locale("C");
    const char *const kDms[][2] = {{"entry2", "2"},  {"entry3", "17"}, {"entry4", "14"},
                                   {"entry5", "48"}, {"entry6", "48"}, {"entry7", "38"}};
    for (const auto &field : kDms)
        SetText(field[0], field[1]);
    SetText("entry8", "qf56odmd00");

    const struct {
        const char *szEntry;
        const char *szLocator;  // entry1 afterwards
        const char *szDegrees;  // entry9 afterwards
    } kCases[] = {
        {"entry2", "jn18dtkk78", ""}, {"entry3", "jn18dtkk78", ""}, {"entry4", "jn18dtkk78", ""},
        {"entry5", "jn18dtkk78", ""}, {"entry6", "jn18dtkk78", ""}, {"entry7", "jn18dtkk78", ""},
        {"entry8", "", "151.00"},
        // Enter in a result field does nothing.
        {"entry1", "", ""},           {"entry9", "", ""},           {"entry16", "", ""},
    };
    for (const auto &row : kCases) {
        SetText("entry1", "");
        SetText("entry9", "");
        gtk_widget_activate(Widget(row.szEntry));
        EXPECT_EQ(Text("entry1"), row.szLocator) << "Enter in " << row.szEntry;
        EXPECT_EQ(Text("entry9"), row.szDegrees) << "Enter in " << row.szEntry;
    }
}

namespace {

const char *const kEncoderInputs[] = {"entry2", "entry3", "entry4", "entry5",
                                      "entry6", "entry7"};
const char *const kDecoderOutputs[] = {"entry9",  "entry10", "entry11", "entry12",
                                       "entry13", "entry14", "entry15", "entry16"};

// Runs the main loop until done() holds or five seconds have passed; its
// last answer.
bool Eventually(const std::function<bool()> &done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return done();
        if (gtk_events_pending())
            gtk_main_iteration();
        else
            g_usleep(2000);
    }
    return true;
}

// The text of every shown popup window of the program: where a reason shows.
std::vector<std::string> PopupTexts()
{
    std::vector<std::string> texts;
    GList *windows = gtk_window_list_toplevels();
    for (GList *p = windows; p; p = p->next) {
        GtkWidget *window = GTK_WIDGET(p->data);
        GtkWidget *child = gtk_bin_get_child(GTK_BIN(window));
        while (child && GTK_IS_BIN(child))
            child = gtk_bin_get_child(GTK_BIN(child));
        if (GTK_WINDOW(window)->type == GTK_WINDOW_POPUP && GTK_WIDGET_VISIBLE(window) && child &&
            GTK_IS_LABEL(child))
            texts.push_back(gtk_label_get_text(GTK_LABEL(child)));
    }
    g_list_free(windows);
    return texts;
}

} // namespace

// A result beside inputs it no longer belongs to would read as theirs: any
// change of an input of a half, text or hemisphere, clears that half's
// results, and only those.
TEST_F(CompletedWindowTest, ChangingAnInputClearsTheResultOfItsHalfOnly)
{
    LocaleGuard locale("C");
    const struct {
        const char *szWidget;
        const char *szText; // nullptr: select the radio button
        bool bClearsLocator, bClearsDms;
    } kChanges[] = {
        {"entry2", "3", true, false},       {"entry3", "", true, false},
        {"entry4", "14.5", true, false},    {"entry5", "47", true, false},
        {"entry6", "48 ", true, false},     {"entry7", "", true, false},
        {"radiobutton2", nullptr, true, false}, {"radiobutton4", nullptr, true, false},
        {"entry8", "jn18dt", false, true},  {"entry8", "", false, true},
        // Neither an already selected button nor the same text is a change.
        {"radiobutton1", nullptr, false, false}, {"entry2", "2", false, false},
        {"entry8", "qf56odmd00", false, false},
        // The results are no input.
        {"entry1", "x", false, false},      {"entry9", "x", false, false},
    };
    for (const auto &row : kChanges) {
        const char *const kDms[] = {"2", "17", "14", "48", "48", "38"};
        for (int i = 0; i < 6; i++)
            SetText(kEncoderInputs[i], kDms[i]);
        Select("radiobutton1");
        Select("radiobutton3");
        SetText("entry8", "qf56odmd00");
        Click("button2");
        Click("button3");
        ASSERT_EQ(Text("entry1"), "jn18dtkk78");
        ASSERT_EQ(Text("entry9"), "151.00");

        if (row.szText)
            SetText(row.szWidget, row.szText);
        else
            Select(row.szWidget);
        if (std::string(row.szWidget) != "entry1") {
            EXPECT_EQ(Text("entry1"), row.bClearsLocator ? "" : "jn18dtkk78") << row.szWidget;
        }
        for (const char *szOutput : kDecoderOutputs) {
            if (std::string(row.szWidget) != szOutput) {
                EXPECT_EQ(Text(szOutput).empty(), row.bClearsDms)
                    << row.szWidget << " then " << szOutput;
            }
        }
    }
}

// From the keyboard the reason must be readable without the pointer: it
// shows under the field at the refusal, as the field's description says
// it, and goes at the next key press.
TEST_F(CompletedWindowTest, ARefusalShowsItsReasonUnderTheFieldUntilTheNextKey)
{
    const struct {
        const char *szField;
        const char *szText;
        const char *szButton;
        const char *szReason;
    } kRefusals[] = {
        {"entry7", "75", "button2", "Secondes de latitude : 75 n'est pas inférieur à 60"},
        {"entry8", "JN18DT44", "button3",
         "Caractère 7 de JN18DT44 : une lettre de A à X est attendue ; c'est un locator "
         "Maidenhead, dont les 8 caractères ne nomment aucune case d'un QTH locator étendu"},
    };
    for (const auto &row : kRefusals) {
        SetText(row.szField, row.szText);
        Click(row.szButton);
        GtkWidget *field = Widget(row.szField);
        ASSERT_TRUE(Eventually([] { return PopupTexts().size() == 1; })) << row.szField;
        EXPECT_EQ(PopupTexts().front(), row.szReason);
        EXPECT_STREQ(atk_object_get_description(gtk_widget_get_accessible(field)), row.szReason);

        // Just under the field.
        GList *windows = gtk_window_list_toplevels();
        for (GList *p = windows; p; p = p->next) {
            if (GTK_WINDOW(p->data)->type != GTK_WINDOW_POPUP || !GTK_WIDGET_VISIBLE(p->data))
                continue;
            gint x = 0, y = 0, nFieldX = 0, nFieldY = 0;
            gtk_window_get_position(GTK_WINDOW(p->data), &x, &y);
            gdk_window_get_origin(field->window, &nFieldX, &nFieldY);
            EXPECT_EQ(y, nFieldY + field->allocation.height) << row.szField;
            // From its left edge, unless that would pass the screen's.
            const gint nRight = gdk_screen_get_width(gtk_widget_get_screen(field));
            EXPECT_TRUE(x == nFieldX || (x < nFieldX && x + GTK_WIDGET(p->data)->allocation.width == nRight))
                << row.szField << ": at " << x << ", the field at " << nFieldX;
            EXPECT_LE(x + GTK_WIDGET(p->data)->allocation.width, nRight) << row.szField;
        }
        g_list_free(windows);

        // Another refusal replaces it; the next key takes it away, and the
        // key still reaches the field.
        Click(row.szButton);
        ASSERT_TRUE(Eventually([] { return PopupTexts().size() == 1; }));
        ASSERT_TRUE(gdk_test_simulate_key(m_window->window, -1, -1, GDK_End, GdkModifierType(0),
                                          GDK_KEY_PRESS));
        EXPECT_TRUE(Eventually([] { return PopupTexts().empty(); })) << row.szField;
        EXPECT_TRUE(Eventually([field] {
            return gtk_editable_get_position(GTK_EDITABLE(field)) ==
                   static_cast<gint>(g_utf8_strlen(gtk_entry_get_text(GTK_ENTRY(field)), -1));
        })) << "End did not reach " << row.szField;
    }

    // An accepted press takes it away too, as it puts the tooltip back.
    SetText("entry7", "75");
    Click("button2");
    ASSERT_TRUE(Eventually([] { return PopupTexts().size() == 1; }));
    SetText("entry7", "38");
    Click("button2");
    EXPECT_TRUE(Eventually([] { return PopupTexts().empty(); }));
}

TEST_F(CompletedWindowTest, LabelsAreNamedWithoutTheirLineFeedsAndNumbersSayWhatTheyTake)
{
    const struct {
        const char *szWidget, *szName;
    } kLabels[] = {
        {"label4", "Longitude"}, {"label5", "Latitude"}, {"label3", "QTH locator étendu vers DMS"},
    };
    for (const auto &row : kLabels) {
        const char *szName = atk_object_get_name(gtk_widget_get_accessible(Widget(row.szWidget)));
        EXPECT_STREQ(szName, row.szName) << row.szWidget;
    }
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(Widget("label4"))), "Longitude\n")
        << "the visible text stays";
    const struct {
        const char *szWidget, *szDescription;
    } kNumbers[] = {
        {"entry2", "degrés de longitude, 0 à 180"},
        {"entry3", "minutes de longitude, 0 à moins de 60"},
        {"entry4", "secondes de longitude, 0 à moins de 60"},
        {"entry5", "degrés de latitude, 0 à 90"},
        {"entry6", "minutes de latitude, 0 à moins de 60"},
        {"entry7", "secondes de latitude, 0 à moins de 60"},
    };
    for (const auto &row : kNumbers)
        EXPECT_STREQ(atk_object_get_description(gtk_widget_get_accessible(Widget(row.szWidget))),
                     row.szDescription);
}

// A result field as narrow as it asks to be still shows its longest text
// and the cursor after it, inside equal margins, whichever letters and
// digits the text has.
TEST_F(CompletedWindowTest, ResultFieldsHoldTheirLongestTextAndTheCursor)
{
    LocaleGuard locale("C");
    const std::string kLetters = "abcdefghijklmnopqrstuvwx", kDigits = "0123456789";
    const struct {
        const char *szField;
        const char *szShape; // 'a' each letter in turn, '0' each digit in turn
    } kFields[] = {
        {"entry1", "aa00aaaa00"}, {"entry9", "000.00"}, {"entry10", "00.00"},
        {"entry11", "00.00"},     {"entry15", "00.00"},
    };
    for (const auto &row : kFields) {
        GtkWidget *entry = Widget(row.szField);
        GtkRequisition request;
        gtk_widget_size_request(entry, &request);
        GtkAllocation narrowest = entry->allocation;
        narrowest.width = request.width;
        gtk_widget_size_allocate(entry, &narrowest);
        gint nTextX = 0, nTextWidth = 0, nTextHeight = 0;
        GdkWindow *textWindow = gtk_entry_get_text_window(GTK_ENTRY(entry));
        gdk_window_get_position(textWindow, &nTextX, NULL);
        gdk_drawable_get_size(textWindow, &nTextWidth, &nTextHeight);
        for (size_t k = 0; k < kLetters.size(); k++) {
            std::string text = row.szShape;
            for (char &c : text)
                c = c == 'a' ? kLetters[k] : c == '0' ? kDigits[k % kDigits.size()] : c;
            SetText(row.szField, text);
            gtk_editable_set_position(GTK_EDITABLE(entry), -1);
            int nWidth = 0;
            pango_layout_get_pixel_size(gtk_entry_get_layout(GTK_ENTRY(entry)), &nWidth, NULL);
            gint nLayoutX = 0;
            gtk_entry_get_layout_offsets(GTK_ENTRY(entry), &nLayoutX, NULL);
            const int nMargin = nLayoutX - nTextX;
            EXPECT_LE(nMargin + nWidth + 1 + nMargin, nTextWidth)
                << row.szField << " " << text << ": " << nWidth << " pixels and the cursor in "
                << nTextWidth - 2 * nMargin;
        }
    }
}
