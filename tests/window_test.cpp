// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window as built: its widget tree, the registry behind
// lookup_widget, the signal connections, the hemisphere radio groups and the
// close button.
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

enum Kind { kWindow, kHBox, kVBox, kLabel, kSeparator, kEntry, kRadio, kButton };

GType TypeOf(Kind kind)
{
    switch (kind) {
    case kWindow: return GTK_TYPE_WINDOW;
    case kHBox: return GTK_TYPE_HBOX;
    case kVBox: return GTK_TYPE_VBOX;
    case kLabel: return GTK_TYPE_LABEL;
    case kSeparator: return GTK_TYPE_HSEPARATOR;
    case kEntry: return GTK_TYPE_ENTRY;
    case kRadio: return GTK_TYPE_RADIO_BUTTON;
    case kButton: return GTK_TYPE_BUTTON;
    }
    return G_TYPE_INVALID;
}

// One row per widget, in creation order: kind, parent and how it is packed
// there (expand, fill; the padding is 0 everywhere).
struct TreeRow {
    const char *szName;
    Kind kind;
    const char *szParent;
    bool bExpand, bFill;
};

const TreeRow kTree[] = {
    {"window1", kWindow, nullptr, false, false},
    {"hbox1", kHBox, "window1", false, false},
    {"vbox2", kVBox, "hbox1", true, true},
    {"label1", kLabel, "vbox2", false, false},
    {"vbox3", kVBox, "vbox2", true, true},
    {"hseparator1", kSeparator, "vbox3", false, false},
    {"label2", kLabel, "vbox3", false, false},
    {"hbox2", kHBox, "vbox3", true, true},
    {"vbox5", kVBox, "hbox2", true, true},
    {"label4", kLabel, "vbox5", false, false},
    {"hbox4", kHBox, "vbox5", true, true},
    {"entry2", kEntry, "hbox4", true, true},
    {"entry3", kEntry, "hbox4", true, true},
    {"entry4", kEntry, "hbox4", true, true},
    {"vbox9", kVBox, "hbox4", true, true},
    {"radiobutton1", kRadio, "vbox9", false, false},
    {"radiobutton2", kRadio, "vbox9", false, false},
    {"button2", kButton, "vbox5", true, true},
    {"vbox6", kVBox, "hbox2", true, true},
    {"label5", kLabel, "vbox6", false, false},
    {"hbox5", kHBox, "vbox6", true, true},
    {"entry5", kEntry, "hbox5", true, true},
    {"entry6", kEntry, "hbox5", true, true},
    {"entry7", kEntry, "hbox5", true, true},
    {"vbox10", kVBox, "hbox5", true, true},
    {"radiobutton3", kRadio, "vbox10", false, false},
    {"radiobutton4", kRadio, "vbox10", false, false},
    {"entry1", kEntry, "vbox6", false, false},
    {"vbox4", kVBox, "vbox2", true, true},
    {"hseparator2", kSeparator, "vbox4", true, true},
    {"label3", kLabel, "vbox4", false, false},
    {"hbox3", kHBox, "vbox4", true, true},
    {"vbox7", kVBox, "hbox3", true, true},
    {"label6", kLabel, "vbox7", false, false},
    {"hbox8", kHBox, "vbox7", true, true},
    {"entry8", kEntry, "hbox8", true, true},
    {"label7", kLabel, "vbox7", false, false},
    {"hbox6", kHBox, "vbox7", true, true},
    {"entry9", kEntry, "hbox6", true, true},
    {"entry10", kEntry, "hbox6", true, true},
    {"entry11", kEntry, "hbox6", true, true},
    {"entry12", kEntry, "hbox6", true, true},
    {"vbox8", kVBox, "hbox3", true, true},
    {"label9", kLabel, "vbox8", false, false},
    {"button3", kButton, "vbox8", true, true},
    {"label8", kLabel, "vbox8", false, false},
    {"hbox7", kHBox, "vbox8", true, true},
    {"entry13", kEntry, "hbox7", true, true},
    {"entry14", kEntry, "hbox7", true, true},
    {"entry15", kEntry, "hbox7", true, true},
    {"entry16", kEntry, "hbox7", true, true},
    {"vbox1", kVBox, "hbox1", true, true},
    {"button1", kButton, "vbox1", true, false},
    {"label10", kLabel, "vbox1", false, false},
};
static_assert(sizeof kTree / sizeof kTree[0] == 54, "54 widgets");

struct BoxRow {
    const char *szName;
    bool bHomogeneous;
    int nSpacing;
    guint nBorder;
};

const BoxRow kBoxes[] = {
    {"hbox1", false, 0, 0}, {"vbox2", false, 4, 4}, {"vbox3", false, 0, 0},
    {"hbox2", true, 0, 0},  {"vbox5", false, 0, 0}, {"hbox4", true, 0, 0},
    {"vbox9", true, 0, 0},  {"vbox6", false, 0, 0}, {"hbox5", true, 0, 0},
    {"vbox10", true, 0, 0}, {"vbox4", false, 0, 0}, {"hbox3", true, 0, 0},
    {"vbox7", true, 0, 0},  {"hbox8", false, 0, 0}, {"hbox6", true, 0, 0},
    {"vbox8", true, 0, 0},  {"hbox7", true, 0, 0},  {"vbox1", true, 4, 4},
};

const struct {
    const char *szName;
    const char *szText;
} kLabels[] = {
    {"label1", "QTH locator étendu : de AA00AAAA00 jusqu'à RR99XXXX99"},
    {"label2", "DMS vers QTH locator étendu"},
    {"label4", "Longitude\n"},
    {"label5", "Latitude\n"},
    {"label3", "QTH locator étendu vers DMS\n"},
    {"label6", "QTH Locator étendu"},
    {"label7", "Longitude"},
    {"label9", ""},
    {"label8", "Latitude"},
};

const struct {
    const char *szName;
    const char *szLabel;
} kButtonLabels[] = {
    {"radiobutton1", "E"},
    {"radiobutton2", "O"},
    {"radiobutton3", "N"},
    {"radiobutton4", "S"},
    {"button2", "Calculer QTH locator étendu"},
    {"button3", "Calculer DMS"},
};

bool ReadOnly(const std::string &name)
{
    if (name == "entry1")
        return true;
    const int n = std::atoi(name.c_str() + 5);
    return n >= 9 && n <= 16;
}

} // namespace

TEST_F(WindowTest, EveryNameLooksUpFromEveryWidgetToItsOwnKind)
{
    for (const TreeRow &start : kTree) {
        GtkWidget *from = Widget(start.szName);
        ASSERT_NE(from, nullptr) << start.szName << " is not registered";
        for (const TreeRow &row : kTree) {
            GtkWidget *found = lookup_widget(from, row.szName);
            ASSERT_NE(found, nullptr) << row.szName << " from " << start.szName;
            EXPECT_EQ(G_OBJECT_TYPE(found), TypeOf(row.kind)) << row.szName;
            EXPECT_EQ(found, Widget(row.szName)) << row.szName << " from " << start.szName;
        }
    }
    EXPECT_EQ(lookup_widget(Widget("button2"), "window1"), m_window);
    EXPECT_EQ(lookup_widget(m_window, "window1"), m_window);
}

TEST_F(WindowTest, ChildrenSitInTheirParentsInTableOrderWithTheirPacking)
{
    for (const TreeRow &row : kTree) {
        GtkWidget *widget = Widget(row.szName);
        ASSERT_NE(widget, nullptr) << row.szName;
        if (!row.szParent) {
            EXPECT_EQ(widget->parent, nullptr);
            continue;
        }
        GtkWidget *parent = Widget(row.szParent);
        ASSERT_EQ(widget->parent, parent) << row.szName << " should sit in " << row.szParent;
        if (!GTK_IS_BOX(parent))
            continue;
        gboolean bExpand, bFill;
        guint nPadding;
        GtkPackType packType;
        gtk_box_query_child_packing(GTK_BOX(parent), widget, &bExpand, &bFill, &nPadding,
                                    &packType);
        EXPECT_EQ(bool(bExpand), row.bExpand) << row.szName;
        EXPECT_EQ(bool(bFill), row.bFill) << row.szName;
        EXPECT_EQ(nPadding, 0u) << row.szName;
        EXPECT_EQ(packType, GTK_PACK_START) << row.szName;
    }

    // Each container holds exactly the rows naming it as parent, in row order.
    for (const TreeRow &parentRow : kTree) {
        std::vector<GtkWidget *> expected;
        for (const TreeRow &row : kTree)
            if (row.szParent && std::strcmp(row.szParent, parentRow.szName) == 0)
                expected.push_back(Widget(row.szName));
        if (parentRow.kind != kWindow && parentRow.kind != kHBox && parentRow.kind != kVBox)
            continue;
        std::vector<GtkWidget *> actual;
        GList *list = gtk_container_get_children(GTK_CONTAINER(Widget(parentRow.szName)));
        for (GList *p = list; p; p = p->next)
            actual.push_back(GTK_WIDGET(p->data));
        g_list_free(list);
        EXPECT_EQ(actual, expected) << "children of " << parentRow.szName;
    }
}

TEST_F(WindowTest, BoxesHaveTheirHomogeneitySpacingAndBorders)
{
    std::set<std::string> boxes;
    for (const BoxRow &row : kBoxes) {
        GtkWidget *box = Widget(row.szName);
        ASSERT_TRUE(GTK_IS_BOX(box)) << row.szName;
        EXPECT_EQ(bool(gtk_box_get_homogeneous(GTK_BOX(box))), row.bHomogeneous) << row.szName;
        EXPECT_EQ(gtk_box_get_spacing(GTK_BOX(box)), row.nSpacing) << row.szName;
        EXPECT_EQ(gtk_container_get_border_width(GTK_CONTAINER(box)), row.nBorder) << row.szName;
        boxes.insert(row.szName);
    }
    // Every other container of the window, the window included, keeps border 0.
    for (const TreeRow &row : kTree) {
        GtkWidget *widget = Widget(row.szName);
        if (GTK_IS_CONTAINER(widget) && !boxes.count(row.szName)) {
            EXPECT_EQ(gtk_container_get_border_width(GTK_CONTAINER(widget)), 0u) << row.szName;
        }
    }
}

TEST_F(WindowTest, LabelsAndButtonsShowTheirTexts)
{
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(m_window)), "Tolka");
    for (const auto &row : kLabels)
        EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(Widget(row.szName))), row.szText)
            << row.szName;
    for (const auto &row : kButtonLabels) {
        GtkButton *button = GTK_BUTTON(Widget(row.szName));
        EXPECT_STREQ(gtk_button_get_label(button), row.szLabel) << row.szName;
        EXPECT_TRUE(gtk_button_get_use_underline(button)) << row.szName;
        EXPECT_FALSE(gtk_button_get_use_stock(button)) << row.szName;
    }

    GtkButton *close = GTK_BUTTON(Widget("button1"));
    EXPECT_TRUE(gtk_button_get_use_stock(close));
    EXPECT_STREQ(gtk_button_get_label(close), GTK_STOCK_CLOSE);

    // Credits: the program's name, an author line, and a year.
    gchar **lines = g_strsplit(gtk_label_get_label(GTK_LABEL(Widget("label10"))), "\n", -1);
    ASSERT_EQ(g_strv_length(lines), 3u);
    EXPECT_STREQ(lines[0], "Tolka");
    EXPECT_GT(std::strlen(lines[1]), 0u);
    EXPECT_EQ(std::strlen(lines[2]), 4u);
    EXPECT_EQ(std::strspn(lines[2], "0123456789"), 4u) << lines[2];
    g_strfreev(lines);
}

TEST_F(WindowTest, EntriesStartEmptyWithTheirSizesAndOnlyOutputsReadOnly)
{
    int nEntries = 0;
    for (const TreeRow &row : kTree) {
        if (row.kind != kEntry)
            continue;
        nEntries++;
        GtkEntry *entry = GTK_ENTRY(Widget(row.szName));
        EXPECT_STREQ(gtk_entry_get_text(entry), "") << row.szName;
        EXPECT_EQ(gtk_entry_get_max_length(entry), 0) << row.szName;
        EXPECT_EQ(bool(gtk_editable_get_editable(GTK_EDITABLE(entry))), !ReadOnly(row.szName))
            << row.szName;
        gint nWidth = -2, nHeight = -2;
        gtk_widget_get_size_request(GTK_WIDGET(entry), &nWidth, &nHeight);
        EXPECT_EQ(nWidth, std::strcmp(row.szName, "entry8") == 0 ? 100 : 30) << row.szName;
        EXPECT_EQ(nHeight, 24) << row.szName;
    }
    EXPECT_EQ(nEntries, 16);

    // No other widget asks for a size of its own.
    for (const TreeRow &row : kTree) {
        if (row.kind == kEntry)
            continue;
        gint nWidth = -2, nHeight = -2;
        gtk_widget_get_size_request(Widget(row.szName), &nWidth, &nHeight);
        EXPECT_EQ(nWidth, -1) << row.szName;
        EXPECT_EQ(nHeight, -1) << row.szName;
    }
}

TEST_F(WindowTest, EveryWidgetButTheWindowIsShown)
{
    for (const TreeRow &row : kTree)
        EXPECT_EQ(bool(GTK_WIDGET_VISIBLE(Widget(row.szName))), row.kind != kWindow) << row.szName;
}

TEST_F(WindowTest, UnknownNameWarnsWithTheNameAndYieldsNull)
{
    for (const char *szName : {"entry17", "Entry1", "", "hbox9"}) {
        LogCapture log;
        EXPECT_EQ(lookup_widget(Widget("button3"), szName), nullptr) << szName;
        ASSERT_EQ(log.messages().size(), 1u) << szName;
        EXPECT_EQ(log.messages()[0].level, G_LOG_LEVEL_WARNING);
        EXPECT_EQ(log.messages()[0].text, std::string("Widget not found: ") + szName);
    }
}

TEST_F(WindowTest, KnownNamesLookUpWithoutAnyMessage)
{
    LogCapture log;
    for (const TreeRow &row : kTree)
        lookup_widget(Widget("label10"), row.szName);
    EXPECT_TRUE(log.messages().empty());
}

// The registry holds a reference of its own to every widget but the window,
// and gives them all back when the window goes.
TEST_F(WindowTest, RegistryKeepsWidgetsAliveUntilTheWindowGoes)
{
    std::set<std::string> finalized;
    struct Watch {
        std::set<std::string> *pSet;
        std::string name;
    };
    std::vector<Watch> watches(sizeof kTree / sizeof kTree[0]);
    for (size_t i = 0; i < watches.size(); i++) {
        watches[i] = {&finalized, kTree[i].szName};
        g_object_weak_ref(
            G_OBJECT(Widget(kTree[i].szName)),
            [](gpointer data, GObject *) {
                Watch *watch = static_cast<Watch *>(data);
                watch->pSet->insert(watch->name);
            },
            &watches[i]);
    }

    // Out of its box, entry8 lives on in the registry.
    GtkWidget *entry8 = Widget("entry8");
    gtk_container_remove(GTK_CONTAINER(Widget("hbox8")), entry8);
    EXPECT_EQ(finalized.count("entry8"), 0u);
    EXPECT_EQ(lookup_widget(m_window, "entry8"), entry8);
    EXPECT_TRUE(GTK_IS_ENTRY(entry8));

    gtk_widget_destroy(m_window);
    m_window = nullptr;
    EXPECT_EQ(finalized.size(), watches.size());
}

namespace {

// Signals of a type, its ancestors and its interfaces.
std::vector<guint> SignalsOf(GType type)
{
    std::vector<guint> ids;
    for (GType t = type; t; t = g_type_parent(t)) {
        guint n = 0;
        guint *list = g_signal_list_ids(t, &n);
        ids.insert(ids.end(), list, list + n);
        g_free(list);
        GType *interfaces = g_type_interfaces(t, &n);
        for (guint i = 0; i < n; i++) {
            guint m = 0;
            guint *more = g_signal_list_ids(interfaces[i], &m);
            ids.insert(ids.end(), more, more + m);
            g_free(more);
        }
        g_free(interfaces);
    }
    return ids;
}

// Handlers connected to instance for signal id, any detail; with bNullData
// only those connected with no user data. Each one found is blocked so the
// next search passes it, then all are unblocked again.
guint HandlerCount(gpointer instance, guint id, bool bNullData = false)
{
    const GSignalMatchType match = (GSignalMatchType)(
        G_SIGNAL_MATCH_ID | G_SIGNAL_MATCH_UNBLOCKED | (bNullData ? G_SIGNAL_MATCH_DATA : 0));
    std::vector<gulong> handlers;
    while (const gulong nHandler =
               g_signal_handler_find(instance, match, id, 0, nullptr, nullptr, nullptr)) {
        handlers.push_back(nHandler);
        g_signal_handler_block(instance, nHandler);
    }
    for (gulong nHandler : handlers)
        g_signal_handler_unblock(instance, nHandler);
    return handlers.size();
}

const struct {
    const char *szWidget;
    const char *szSignal;
    GCallback handler;
} kConnections[] = {
    {"radiobutton1", "toggled", G_CALLBACK(on_radiobutton1_toggled)},
    {"radiobutton2", "toggled", G_CALLBACK(on_radiobutton2_toggled)},
    {"button2", "clicked", G_CALLBACK(on_button2_clicked)},
    {"radiobutton3", "toggled", G_CALLBACK(on_radiobutton3_toggled)},
    {"radiobutton4", "toggled", G_CALLBACK(on_radiobutton4_toggled)},
    {"button3", "clicked", G_CALLBACK(on_button3_clicked)},
    {"button1", "clicked", G_CALLBACK(on_button1_clicked)},
};

} // namespace

TEST_F(WindowTest, SevenHandlersAreConnectedInOrderAndNothingElse)
{
    gulong nPrevious = 0;
    for (const auto &row : kConnections) {
        GObject *object = G_OBJECT(Widget(row.szWidget));
        const guint id = g_signal_lookup(row.szSignal, G_OBJECT_TYPE(object));
        ASSERT_NE(id, 0u);
        EXPECT_EQ(HandlerCount(object, id), 1u) << row.szWidget << " " << row.szSignal;
        const gulong nHandler =
            g_signal_handler_find(object, (GSignalMatchType)(G_SIGNAL_MATCH_ID |
                                                             G_SIGNAL_MATCH_FUNC |
                                                             G_SIGNAL_MATCH_DATA),
                                  id, 0, nullptr, (gpointer)row.handler, nullptr);
        EXPECT_NE(nHandler, 0u) << row.szWidget << " lacks its handler";
        // Handler ids grow with each connection: this is the connection order.
        EXPECT_GT(nHandler, nPrevious) << row.szWidget;
        nPrevious = nHandler;
    }

    // The toolkit connects handlers of its own to some widgets, always with
    // user data; the program's connections carry none.
    guint nTotal = 0;
    for (const TreeRow &row : kTree) {
        GtkWidget *widget = Widget(row.szName);
        for (guint id : SignalsOf(G_OBJECT_TYPE(widget)))
            nTotal += HandlerCount(widget, id, true);
        for (const char *szSignal : {"clicked", "toggled", "activate"}) {
            const guint id = g_signal_lookup(szSignal, G_OBJECT_TYPE(widget));
            if (!id)
                continue;
            bool bExpected = false;
            for (const auto &connection : kConnections)
                bExpected |= std::strcmp(connection.szWidget, row.szName) == 0 &&
                             std::strcmp(connection.szSignal, szSignal) == 0;
            EXPECT_EQ(bool(g_signal_has_handler_pending(widget, id, 0, TRUE)), bExpected)
                << row.szName << " " << szSignal;
        }
    }
    EXPECT_EQ(nTotal, 7u);
}

// --- The hemisphere radio groups ---

TEST_F(WindowTest, EastAndNorthStartSelectedInTwoSeparateGroups)
{
    EXPECT_TRUE(Active("radiobutton1"));
    EXPECT_FALSE(Active("radiobutton2"));
    EXPECT_TRUE(Active("radiobutton3"));
    EXPECT_FALSE(Active("radiobutton4"));
    EXPECT_EQ(m_nD2QLoDir, 0);
    EXPECT_EQ(m_nD2QLaDir, 0);

    auto members = [this](const char *szRadio) {
        std::set<GtkWidget *> set;
        for (GSList *p = gtk_radio_button_get_group(GTK_RADIO_BUTTON(Widget(szRadio))); p;
             p = p->next)
            set.insert(GTK_WIDGET(p->data));
        return set;
    };
    const std::set<GtkWidget *> longitude = {Widget("radiobutton1"), Widget("radiobutton2")};
    const std::set<GtkWidget *> latitude = {Widget("radiobutton3"), Widget("radiobutton4")};
    EXPECT_EQ(members("radiobutton1"), longitude);
    EXPECT_EQ(members("radiobutton2"), longitude);
    EXPECT_EQ(members("radiobutton3"), latitude);
    EXPECT_EQ(members("radiobutton4"), latitude);
}

// Each step selects one button (as a click does) and gives the state after
// it: the four buttons' active states and the two flags.
TEST_F(WindowTest, HemisphereFlagsFollowTheSelectedButtons)
{
    const struct {
        const char *szSelect;
        bool bE, bO, bN, bS;
        int nLoDir, nLaDir;
    } kSteps[] = {
        {"radiobutton2", false, true, true, false, 1, 0},  // O
        {"radiobutton4", false, true, false, true, 1, 1},  // S keeps O
        {"radiobutton1", true, false, false, true, 0, 1},  // E keeps S
        {"radiobutton3", true, false, true, false, 0, 0},  // N
        {"radiobutton4", true, false, false, true, 0, 1},  // S keeps E
        {"radiobutton2", false, true, false, true, 1, 1},
    };
    for (const auto &step : kSteps) {
        Click(step.szSelect);
        EXPECT_EQ(Active("radiobutton1"), step.bE) << "after " << step.szSelect;
        EXPECT_EQ(Active("radiobutton2"), step.bO) << "after " << step.szSelect;
        EXPECT_EQ(Active("radiobutton3"), step.bN) << "after " << step.szSelect;
        EXPECT_EQ(Active("radiobutton4"), step.bS) << "after " << step.szSelect;
        EXPECT_EQ(m_nD2QLoDir, step.nLoDir) << "after " << step.szSelect;
        EXPECT_EQ(m_nD2QLaDir, step.nLaDir) << "after " << step.szSelect;
    }
}

TEST_F(WindowTest, SelectingTheActiveButtonChangesNothing)
{
    Select("radiobutton2");
    Select("radiobutton4");
    int nToggles = 0;
    for (const char *szRadio : {"radiobutton1", "radiobutton2", "radiobutton3", "radiobutton4"})
        g_signal_connect_swapped(Widget(szRadio), "toggled",
                                 G_CALLBACK(+[](int *pn) { ++*pn; }), &nToggles);

    for (const char *szRadio : {"radiobutton2", "radiobutton4"}) {
        Click(szRadio);
        Select(szRadio);
    }
    EXPECT_EQ(nToggles, 0);
    EXPECT_TRUE(Active("radiobutton2"));
    EXPECT_TRUE(Active("radiobutton4"));
    EXPECT_EQ(m_nD2QLoDir, 1);
    EXPECT_EQ(m_nD2QLaDir, 1);
}

// --- Quitting ---

TEST_F(WindowTest, CloseButtonEndsTheMainLoop)
{
    gtk_widget_show(m_window);
    struct Run {
        GtkWidget *button;
        bool bTimedOut = false;
    } run{Widget("button1")};

    g_idle_add(
        [](gpointer data) -> gboolean {
            gtk_button_clicked(GTK_BUTTON(static_cast<Run *>(data)->button));
            return FALSE;
        },
        &run);
    const guint nGuard = g_timeout_add(
        5000,
        [](gpointer data) -> gboolean {
            static_cast<Run *>(data)->bTimedOut = true;
            gtk_main_quit();
            return FALSE;
        },
        &run);
    gtk_main();
    EXPECT_FALSE(run.bTimedOut) << "the close button did not end gtk_main";
    if (!run.bTimedOut)
        g_source_remove(nGuard);
}
