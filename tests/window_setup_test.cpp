// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The window as main completes it after create_window1: the Tab order,
// Enter in the fields, and the locator fields' copy as Maidenhead. Names,
// tooltips and widths are checked through the accessibility layer by the
// end-to-end test, and against the catalogues by i18n_test.cpp.
#include <string>
#include <vector>

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
