// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_setup.h"

#include <gdk/gdkkeysyms.h>

#include <locale.h>

#include <string>

#include "copy_maidenhead.h"
#include "i18n.h"
#include "support.h"

namespace {

/* The longest text a result field shows, one character per position:
 * '0' any digit, '.' the locale's decimal separator, 'a' a locator letter
 * (lower case), 'E' a hemisphere letter (W in English). */
const char kLongitudeDegrees[] = "000.00"; /* 180.00 */
const char kOtherNumber[] = "00.00";       /* 90.00, 59.00, 60.00 */
const char kHemisphere[] = "E";
const char kLocator[] = "aa00aaaa00";

/* What a change of a field or a hemisphere leaves stale: the result of its
 * half, which would read as the new input's. */
enum class Stale { Nothing, Locator, Dms };

/* The window's keyboard stops in Tab order (Shift+Tab goes up the table),
 * with what each tells a screen reader, what Enter in it does and what a
 * change of it clears. */
struct FieldRow {
    const char *szWidget;
    const char *szName;       /* accessible name; nullptr keeps the widget's label */
    const char *szHint;       /* tooltip and accessible description, or nullptr */
    const char *szEnter;      /* the button Enter in the field presses, or nullptr */
    const char *szLongest;    /* the longest text of a result field, or nullptr */
    Stale stale = Stale::Nothing;
};

const FieldRow kFields[] = {
    {"entry2", N_("Longitude, degrés"), N_("degrés de longitude, 0 à 180"), "button2", nullptr,
     Stale::Locator},
    {"entry3", N_("Longitude, minutes"), N_("minutes de longitude, 0 à moins de 60"), "button2",
     nullptr, Stale::Locator},
    {"entry4", N_("Longitude, secondes"), N_("secondes de longitude, 0 à moins de 60"),
     "button2", nullptr, Stale::Locator},
    {"entry5", N_("Latitude, degrés"), N_("degrés de latitude, 0 à 90"), "button2", nullptr,
     Stale::Locator},
    {"entry6", N_("Latitude, minutes"), N_("minutes de latitude, 0 à moins de 60"), "button2",
     nullptr, Stale::Locator},
    {"entry7", N_("Latitude, secondes"), N_("secondes de latitude, 0 à moins de 60"), "button2",
     nullptr, Stale::Locator},
    /* Tab stops only at the selected button of each group; the arrow keys
     * move within it. */
    {"radiobutton1", nullptr, N_("Longitude est"), nullptr, nullptr, Stale::Locator},
    {"radiobutton2", nullptr, N_("Longitude ouest"), nullptr, nullptr, Stale::Locator},
    {"radiobutton3", nullptr, N_("Latitude nord"), nullptr, nullptr, Stale::Locator},
    {"radiobutton4", nullptr, N_("Latitude sud"), nullptr, nullptr, Stale::Locator},
    {"button2", nullptr, nullptr, nullptr, nullptr},
    {"entry1", N_("QTH locator étendu calculé"), nullptr, nullptr, kLocator},
    {"entry8", N_("QTH locator étendu à convertir"),
     N_("2, 4, 6, 8 ou 10 caractères, de AA00AAAA00 à RR99XXXX99, en majuscules ou "
        "en minuscules (par exemple jn18dt). Les blancs autour sont ignorés ; tout autre "
        "texte est refusé, avec la raison."),
     "button3", nullptr, Stale::Dms},
    {"button3", nullptr, nullptr, nullptr, nullptr},
    {"entry9", N_("Longitude calculée, degrés"), nullptr, nullptr, kLongitudeDegrees},
    {"entry10", N_("Longitude calculée, minutes"), nullptr, nullptr, kOtherNumber},
    {"entry11", N_("Longitude calculée, secondes"), nullptr, nullptr, kOtherNumber},
    {"entry12", N_("Longitude calculée, hémisphère"), nullptr, nullptr, kHemisphere},
    {"entry13", N_("Latitude calculée, degrés"), nullptr, nullptr, kOtherNumber},
    {"entry14", N_("Latitude calculée, minutes"), nullptr, nullptr, kOtherNumber},
    {"entry15", N_("Latitude calculée, secondes"), nullptr, nullptr, kOtherNumber},
    {"entry16", N_("Latitude calculée, hémisphère"), nullptr, nullptr, kHemisphere},
    {"button1", nullptr, nullptr, nullptr, nullptr},
};
constexpr int kFieldCount = sizeof kFields / sizeof kFields[0];

/* Closing the window from the window manager ends the program like the close
 * button does, instead of leaving a process with no window behind. */
gboolean on_window1_delete_event(GtkWidget *widget, GdkEvent *event, gpointer user_data)
{
    (void)widget;
    (void)event;
    (void)user_data;
    gtk_main_quit();
    return TRUE;
}

/* Escape and Ctrl+Q: the close button's own click, so they end the program
 * exactly as it does. */
gboolean on_close_key(GtkAccelGroup *group, GObject *window1, guint nKey,
                      GdkModifierType modifiers, gpointer user_data)
{
    (void)group;
    (void)nKey;
    (void)modifiers;
    (void)user_data;
    gtk_button_clicked(GTK_BUTTON(lookup_widget(GTK_WIDGET(window1), "button1")));
    return TRUE;
}

/* Tab and Shift+Tab: the next stop of kFields after the focused widget that
 * takes the focus, round the end of the table; the toolkit's own order
 * would visit each box of the window in turn. Other directions (the arrow
 * keys) are left to the toolkit. */
gboolean on_window1_focus(GtkWidget *window1, GtkDirectionType direction, gpointer user_data)
{
    (void)user_data;
    if (direction != GTK_DIR_TAB_FORWARD && direction != GTK_DIR_TAB_BACKWARD)
        return FALSE;
    const int nStep = direction == GTK_DIR_TAB_FORWARD ? 1 : kFieldCount - 1;
    GtkWidget *focus = gtk_window_get_focus(GTK_WINDOW(window1));
    int nCurrent = direction == GTK_DIR_TAB_FORWARD ? kFieldCount - 1 : 0;
    for (int i = 0; i < kFieldCount; i++)
        if (focus && focus == lookup_widget(window1, kFields[i].szWidget))
            nCurrent = i;
    for (int n = 1, i = nCurrent; n <= kFieldCount; n++) {
        i = (i + nStep) % kFieldCount;
        /* A stop takes the focus unless it has it already or, for a radio
         * button, another of its group is selected. */
        GtkWidget *stop = lookup_widget(window1, kFields[i].szWidget);
        if (GTK_WIDGET_DRAWABLE(stop) && gtk_widget_child_focus(stop, direction))
            return TRUE;
    }
    return FALSE;
}

/* Pixel width, in entry's font, of the widest of the characters of szSet. */
int widest_character(GtkWidget *entry, const char *szSet)
{
    PangoLayout *layout = gtk_widget_create_pango_layout(entry, NULL);
    int nWidest = 0;
    for (const char *p = szSet; *p; p = g_utf8_next_char(p)) {
        int nWidth = 0;
        pango_layout_set_text(layout, p, g_utf8_next_char(p) - p);
        pango_layout_get_pixel_size(layout, &nWidth, NULL);
        nWidest = MAX(nWidest, nWidth);
    }
    g_object_unref(layout);
    return nWidest;
}

/* Widens entry to show szLongest (see kLocator ...) in full, measured in its
 * own font, in the current locale; its height stays. */
void fit_width(GtkWidget *entry, const char *szLongest)
{
    int nText = 0;
    for (const char *p = szLongest; *p; p++) {
        switch (*p) {
        case '0': nText += widest_character(entry, "0123456789"); break;
        case '.': nText += widest_character(entry, localeconv()->decimal_point); break;
        case 'a': nText += widest_character(entry, "abcdefghijklmnopqrstuvwx"); break;
        default: nText += widest_character(entry, "EONSW"); break;
        }
    }
    /* What the entry asks for around no character at all: its frame and
     * inner border. */
    gint nHeight = -1;
    gtk_widget_get_size_request(entry, NULL, &nHeight);
    gtk_widget_set_size_request(entry, -1, nHeight);
    gtk_entry_set_width_chars(GTK_ENTRY(entry), 0);
    GtkRequisition frame;
    gtk_widget_size_request(entry, &frame);
    gtk_entry_set_width_chars(GTK_ENTRY(entry), -1);
    /* One pixel more for the cursor after the last character. */
    gtk_widget_set_size_request(entry, frame.width + nText + 1, nHeight);
}

/* The results each kind of change clears. */
const char *const kLocatorResult[] = {"entry1", nullptr};
const char *const kDmsResults[] = {"entry9",  "entry10", "entry11", "entry12", "entry13",
                                   "entry14", "entry15", "entry16", nullptr};

/* "changed" of an entry, "toggled" of a radio button: user_data is the list
 * of results to clear. */
void on_input_changed(GtkWidget *widget, gpointer user_data)
{
    for (const char *const *p = static_cast<const char *const *>(user_data); *p; p++)
        gtk_entry_set_text(GTK_ENTRY(lookup_widget(widget, *p)), "");
}

/* A label's accessible name is its text; the ones that end in a line feed
 * for spacing ("Longitude\n") are named without it. */
void name_without_line_feed(GtkWidget *widget, gpointer user_data)
{
    if (GTK_IS_LABEL(widget)) {
        const std::string text = gtk_label_get_text(GTK_LABEL(widget));
        const size_t length = text.find_last_not_of('\n') + 1; /* 0 when all are */
        if (length < text.size())
            atk_object_set_name(gtk_widget_get_accessible(widget), text.substr(0, length).c_str());
    } else if (GTK_IS_CONTAINER(widget)) {
        gtk_container_forall(GTK_CONTAINER(widget), name_without_line_feed, user_data);
    }
}

} // namespace

void complete_window1(GtkWidget *window1)
{
    for (const FieldRow &row : kFields) {
        GtkWidget *widget = lookup_widget(window1, row.szWidget);
        AtkObject *accessible = gtk_widget_get_accessible(widget);
        if (row.szName)
            atk_object_set_name(accessible, _(row.szName));
        if (row.szHint) {
            gtk_widget_set_tooltip_text(widget, _(row.szHint));
            atk_object_set_description(accessible, _(row.szHint));
        }
        if (row.szEnter)
            g_signal_connect_swapped(G_OBJECT(widget), "activate", G_CALLBACK(gtk_button_clicked),
                                     lookup_widget(window1, row.szEnter));
        if (row.szLongest)
            fit_width(widget, row.szLongest);
        if (row.stale != Stale::Nothing)
            g_signal_connect(G_OBJECT(widget), GTK_IS_ENTRY(widget) ? "changed" : "toggled",
                             G_CALLBACK(on_input_changed),
                             const_cast<void *>(static_cast<const void *>(
                                 row.stale == Stale::Locator ? kLocatorResult : kDmsResults)));
    }
    name_without_line_feed(window1, NULL);
    GtkAccelGroup *keys = gtk_accel_group_new();
    gtk_accel_group_connect(keys, GDK_Escape, GdkModifierType(0), GtkAccelFlags(0),
                            g_cclosure_new(G_CALLBACK(on_close_key), NULL, NULL));
    gtk_accel_group_connect(keys, GDK_q, GDK_CONTROL_MASK, GtkAccelFlags(0),
                            g_cclosure_new(G_CALLBACK(on_close_key), NULL, NULL));
    gtk_window_add_accel_group(GTK_WINDOW(window1), keys);
    g_object_unref(keys);
    g_signal_connect(G_OBJECT(window1), "focus", G_CALLBACK(on_window1_focus), NULL);
    g_signal_connect(G_OBJECT(window1), "delete-event", G_CALLBACK(on_window1_delete_event),
                     NULL);
    add_copy_maidenhead(window1);
}
