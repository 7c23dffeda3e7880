// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "interface.h"

#include <string.h>

#include "callbacks.h"
#include "i18n.h"

namespace {

enum class Kind { Window, HBox, VBox, Label, Separator, Entry, Radio, Button, StockButton };

/* How a widget goes into its parent: gtk_box_pack_start(expand, fill,
 * padding), or plain gtk_container_add for the window's one child. */
struct Packing {
    bool bContainerAdd;
    gboolean bExpand;
    gboolean bFill;
    guint nPadding;
};
constexpr Packing kAdd = {true, FALSE, FALSE, 0};
constexpr Packing kNoNo = {false, FALSE, FALSE, 0};
constexpr Packing kYesYes = {false, TRUE, TRUE, 0};
constexpr Packing kYesNo = {false, TRUE, FALSE, 0};

enum class Justify { Unset, Left };
enum class Text { Catalogue, Verbatim };
enum class Editable { Yes, ReadOnly };
enum class Group { None, Longitude, Latitude };

struct WidgetRow {
    const char *szName = nullptr;
    Kind kind = Kind::Window;
    const char *szParent = nullptr;      /* nullptr for the window */
    Packing packing = kNoNo;
    const char *szText = nullptr;        /* title, label, button text or stock id */
    Text text = Text::Catalogue;
    gboolean bHomogeneous = FALSE;       /* boxes */
    gint nSpacing = 0;                   /* boxes */
    guint nBorder = 0;                   /* containers; 0 leaves it unset */
    Justify justify = Justify::Unset;    /* labels */
    gint nWidth = 0, nHeight = 0;        /* size request; 0 leaves it unset */
    Editable editable = Editable::Yes;   /* entries */
    Group group = Group::None;           /* radio buttons */
};

/* One constructor per kind of row, so the table below reads like a table. */
constexpr WidgetRow Row(const char *szName, Kind kind, const char *szParent, Packing packing,
                        const char *szText = nullptr)
{
    WidgetRow row;
    row.szName = szName;
    row.kind = kind;
    row.szParent = szParent;
    row.packing = packing;
    row.szText = szText;
    return row;
}

constexpr WidgetRow Window(const char *szName, const char *szTitle)
{
    return Row(szName, Kind::Window, nullptr, kNoNo, szTitle);
}

constexpr WidgetRow Box(const char *szName, Kind kind, gboolean bHomogeneous, gint nSpacing,
                        const char *szParent, Packing packing, guint nBorder = 0)
{
    WidgetRow row = Row(szName, kind, szParent, packing);
    row.bHomogeneous = bHomogeneous;
    row.nSpacing = nSpacing;
    row.nBorder = nBorder;
    return row;
}

constexpr WidgetRow Label(const char *szName, const char *szParent, Packing packing,
                          const char *szText, Justify justify, Text text = Text::Catalogue)
{
    WidgetRow row = Row(szName, Kind::Label, szParent, packing, szText);
    row.justify = justify;
    row.text = text;
    return row;
}

constexpr WidgetRow Separator(const char *szName, const char *szParent, Packing packing)
{
    return Row(szName, Kind::Separator, szParent, packing);
}

constexpr WidgetRow Entry(const char *szName, const char *szParent, Packing packing,
                          gint nWidth, Editable editable)
{
    WidgetRow row = Row(szName, Kind::Entry, szParent, packing);
    row.nWidth = nWidth;
    row.nHeight = 24;
    row.editable = editable;
    return row;
}

constexpr WidgetRow Radio(const char *szName, const char *szParent, Packing packing,
                          const char *szText, Group group)
{
    WidgetRow row = Row(szName, Kind::Radio, szParent, packing, szText);
    row.group = group;
    return row;
}

constexpr WidgetRow Button(const char *szName, Kind kind, const char *szParent,
                           Packing packing, const char *szText)
{
    return Row(szName, kind, szParent, packing, szText);
}

constexpr Kind HBox = Kind::HBox;
constexpr Kind VBox = Kind::VBox;
constexpr Justify kLeft = Justify::Left;

/* The window, in creation order: a parent always comes before its children,
 * and children are packed in this order. */
const WidgetRow kWidgets[] = {
    Window("window1", N_("Tolka")),
    Box("hbox1", HBox, FALSE, 0, "window1", kAdd),
    Box("vbox2", VBox, FALSE, 4, "hbox1", kYesYes, 4),
    Label("label1", "vbox2", kNoNo,
          N_("QTH locator étendu : de AA00AAAA00 jusqu'à RR99XXXX99"), kLeft),
    Box("vbox3", VBox, FALSE, 0, "vbox2", kYesYes),
    Separator("hseparator1", "vbox3", kNoNo),
    Label("label2", "vbox3", kNoNo, N_("DMS vers QTH locator étendu"), kLeft),
    Box("hbox2", HBox, TRUE, 0, "vbox3", kYesYes),
    Box("vbox5", VBox, FALSE, 0, "hbox2", kYesYes),
    Label("label4", "vbox5", kNoNo, N_("Longitude\n"), kLeft),
    Box("hbox4", HBox, TRUE, 0, "vbox5", kYesYes),
    Entry("entry2", "hbox4", kYesYes, 30, Editable::Yes),
    Entry("entry3", "hbox4", kYesYes, 30, Editable::Yes),
    Entry("entry4", "hbox4", kYesYes, 30, Editable::Yes),
    Box("vbox9", VBox, TRUE, 0, "hbox4", kYesYes),
    Radio("radiobutton1", "vbox9", kNoNo, N_("E"), Group::Longitude),
    Radio("radiobutton2", "vbox9", kNoNo, N_("O"), Group::Longitude),
    Button("button2", Kind::Button, "vbox5", kYesYes, N_("Calculer QTH locator étendu")),
    Box("vbox6", VBox, FALSE, 0, "hbox2", kYesYes),
    Label("label5", "vbox6", kNoNo, N_("Latitude\n"), kLeft),
    Box("hbox5", HBox, TRUE, 0, "vbox6", kYesYes),
    Entry("entry5", "hbox5", kYesYes, 30, Editable::Yes),
    Entry("entry6", "hbox5", kYesYes, 30, Editable::Yes),
    Entry("entry7", "hbox5", kYesYes, 30, Editable::Yes),
    Box("vbox10", VBox, TRUE, 0, "hbox5", kYesYes),
    Radio("radiobutton3", "vbox10", kNoNo, N_("N"), Group::Latitude),
    Radio("radiobutton4", "vbox10", kNoNo, N_("S"), Group::Latitude),
    Entry("entry1", "vbox6", kNoNo, 30, Editable::ReadOnly),
    Box("vbox4", VBox, FALSE, 0, "vbox2", kYesYes),
    Separator("hseparator2", "vbox4", kYesYes),
    Label("label3", "vbox4", kNoNo, N_("QTH locator étendu vers DMS\n"), kLeft),
    Box("hbox3", HBox, TRUE, 0, "vbox4", kYesYes),
    Box("vbox7", VBox, TRUE, 0, "hbox3", kYesYes),
    Label("label6", "vbox7", kNoNo, N_("QTH Locator étendu"), kLeft),
    Box("hbox8", HBox, FALSE, 0, "vbox7", kYesYes),
    Entry("entry8", "hbox8", kYesYes, 100, Editable::Yes),
    Label("label7", "vbox7", kNoNo, N_("Longitude"), kLeft),
    Box("hbox6", HBox, TRUE, 0, "vbox7", kYesYes),
    Entry("entry9", "hbox6", kYesYes, 30, Editable::ReadOnly),
    Entry("entry10", "hbox6", kYesYes, 30, Editable::ReadOnly),
    Entry("entry11", "hbox6", kYesYes, 30, Editable::ReadOnly),
    Entry("entry12", "hbox6", kYesYes, 30, Editable::ReadOnly),
    Box("vbox8", VBox, TRUE, 0, "hbox3", kYesYes),
    Label("label9", "vbox8", kNoNo, "", kLeft, Text::Verbatim),
    Button("button3", Kind::Button, "vbox8", kYesYes, N_("Calculer DMS")),
    Label("label8", "vbox8", kNoNo, N_("Latitude"), kLeft),
    Box("hbox7", HBox, TRUE, 0, "vbox8", kYesYes),
    Entry("entry13", "hbox7", kYesYes, 30, Editable::ReadOnly),
    Entry("entry14", "hbox7", kYesYes, 30, Editable::ReadOnly),
    Entry("entry15", "hbox7", kYesYes, 30, Editable::ReadOnly),
    Entry("entry16", "hbox7", kYesYes, 30, Editable::ReadOnly),
    Box("vbox1", VBox, TRUE, 4, "hbox1", kYesYes, 4),
    Button("button1", Kind::StockButton, "vbox1", kYesNo, "gtk-close"),
    Label("label10", "vbox1", kNoNo, N_("Tolka\nPar les développeurs de Tolka\n2026"),
          Justify::Unset),
};
constexpr int kWidgetCount = sizeof kWidgets / sizeof kWidgets[0];
static_assert(kWidgetCount == 54, "the window has 54 widgets");

struct SignalRow {
    const char *szWidget;
    const char *szSignal;
    GCallback handler;
};

const SignalRow kSignals[] = {
    {"radiobutton1", "toggled", G_CALLBACK(on_radiobutton1_toggled)},
    {"radiobutton2", "toggled", G_CALLBACK(on_radiobutton2_toggled)},
    {"button2", "clicked", G_CALLBACK(on_button2_clicked)},
    {"radiobutton3", "toggled", G_CALLBACK(on_radiobutton3_toggled)},
    {"radiobutton4", "toggled", G_CALLBACK(on_radiobutton4_toggled)},
    {"button3", "clicked", G_CALLBACK(on_button3_clicked)},
    {"button1", "clicked", G_CALLBACK(on_button1_clicked)},
};

const gchar *RowText(const WidgetRow &row)
{
    return row.text == Text::Verbatim ? row.szText : _(row.szText);
}

GtkWidget *NewWidget(const WidgetRow &row)
{
    switch (row.kind) {
    case Kind::Window: return gtk_window_new(GTK_WINDOW_TOPLEVEL);
    case Kind::HBox: return gtk_hbox_new(row.bHomogeneous, row.nSpacing);
    case Kind::VBox: return gtk_vbox_new(row.bHomogeneous, row.nSpacing);
    case Kind::Label: return gtk_label_new(RowText(row));
    case Kind::Separator: return gtk_hseparator_new();
    case Kind::Entry: return gtk_entry_new();
    case Kind::Radio: return gtk_radio_button_new_with_mnemonic(NULL, RowText(row));
    case Kind::Button: return gtk_button_new_with_mnemonic(RowText(row));
    case Kind::StockButton: return gtk_button_new_from_stock(row.szText);
    }
    return NULL;
}

/* Index of the row named szName among the rows before nBefore. */
int RowIndex(const char *szName, int nBefore)
{
    for (int i = 0; i < nBefore; i++)
        if (strcmp(kWidgets[i].szName, szName) == 0)
            return i;
    g_error("window table: %s is used before it is created", szName);
    return -1;
}

} // namespace

GtkWidget *create_window1(void)
{
    GtkWidget *widgets[kWidgetCount];
    GSList *groups[3] = {NULL, NULL, NULL};

    for (int i = 0; i < kWidgetCount; i++) {
        const WidgetRow &row = kWidgets[i];
        GtkWidget *widget = widgets[i] = NewWidget(row);

        if (row.kind == Kind::Window) {
            gtk_window_set_title(GTK_WINDOW(widget), RowText(row));
            continue;
        }
        gtk_widget_show(widget);

        GtkWidget *parent = widgets[RowIndex(row.szParent, i)];
        if (row.packing.bContainerAdd)
            gtk_container_add(GTK_CONTAINER(parent), widget);
        else
            gtk_box_pack_start(GTK_BOX(parent), widget, row.packing.bExpand,
                               row.packing.bFill, row.packing.nPadding);

        if (row.nBorder)
            gtk_container_set_border_width(GTK_CONTAINER(widget), row.nBorder);
        if (row.justify == Justify::Left)
            gtk_label_set_justify(GTK_LABEL(widget), GTK_JUSTIFY_LEFT);
        if (row.nWidth)
            gtk_widget_set_size_request(widget, row.nWidth, row.nHeight);
        if (row.editable == Editable::ReadOnly)
            gtk_editable_set_editable(GTK_EDITABLE(widget), FALSE);
        if (row.group != Group::None) {
            GSList *&group = groups[static_cast<int>(row.group)];
            gtk_radio_button_set_group(GTK_RADIO_BUTTON(widget), group);
            group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(widget));
        }
    }

    for (const SignalRow &signal : kSignals)
        g_signal_connect_data(G_OBJECT(widgets[RowIndex(signal.szWidget, kWidgetCount)]),
                              signal.szSignal, signal.handler, NULL, NULL, (GConnectFlags)0);

    /* The registry: the window under its own name without a reference (it
     * would keep itself alive), every other widget with one. */
    GtkWidget *window1 = widgets[0];
    g_object_set_data(G_OBJECT(window1), kWidgets[0].szName, window1);
    for (int i = 1; i < kWidgetCount; i++)
        g_object_set_data_full(G_OBJECT(window1), kWidgets[i].szName,
                               gtk_widget_ref(widgets[i]), (GDestroyNotify)gtk_widget_unref);

    return window1;
}
