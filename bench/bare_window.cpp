// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reference for Tolka's start-up cost: a window with the same tree of
// widgets (1 window, 8 hboxes, 10 vboxes, 10 labels, 2 separators, 16
// entries, 2 radio groups of 2, 2 buttons, 1 stock close button: 54 in all),
// written out by hand with no message catalogue, no widget table and no
// registry. Titled "Bare"; scripts/bench-startup.sh times it against Tolka.
#include <gtk/gtk.h>

namespace {

GtkWidget *Box(GtkWidget *box, GtkWidget *parent, gboolean bExpand = TRUE,
               gboolean bFill = TRUE)
{
    gtk_widget_show(box);
    gtk_box_pack_start(GTK_BOX(parent), box, bExpand, bFill, 0);
    return box;
}

void Label(const char *szText, GtkWidget *parent, bool bJustify = true)
{
    GtkWidget *label = gtk_label_new(szText);
    gtk_widget_show(label);
    gtk_box_pack_start(GTK_BOX(parent), label, FALSE, FALSE, 0);
    if (bJustify)
        gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_LEFT);
}

void Entry(GtkWidget *parent, int nWidth, bool bReadOnly, gboolean bExpand = TRUE)
{
    GtkWidget *entry = gtk_entry_new();
    gtk_widget_show(entry);
    gtk_box_pack_start(GTK_BOX(parent), entry, bExpand, bExpand, 0);
    gtk_widget_set_size_request(entry, nWidth, 24);
    if (bReadOnly)
        gtk_editable_set_editable(GTK_EDITABLE(entry), FALSE);
}

void Separator(GtkWidget *parent, gboolean bExpand)
{
    GtkWidget *separator = gtk_hseparator_new();
    gtk_widget_show(separator);
    gtk_box_pack_start(GTK_BOX(parent), separator, bExpand, bExpand, 0);
}

void RadioPair(const char *szFirst, const char *szSecond, GtkWidget *parent)
{
    GtkWidget *first = gtk_radio_button_new_with_mnemonic(NULL, szFirst);
    gtk_widget_show(first);
    gtk_box_pack_start(GTK_BOX(parent), first, FALSE, FALSE, 0);
    GtkWidget *second = gtk_radio_button_new_with_mnemonic(
        gtk_radio_button_get_group(GTK_RADIO_BUTTON(first)), szSecond);
    gtk_widget_show(second);
    gtk_box_pack_start(GTK_BOX(parent), second, FALSE, FALSE, 0);
}

void Button(const char *szText, GtkWidget *parent)
{
    GtkWidget *button = gtk_button_new_with_mnemonic(szText);
    gtk_widget_show(button);
    gtk_box_pack_start(GTK_BOX(parent), button, TRUE, TRUE, 0);
}

} // namespace

int main(int argc, char *argv[])
{
    gtk_init(&argc, &argv);

    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Bare");

    GtkWidget *hbox1 = gtk_hbox_new(FALSE, 0);
    gtk_widget_show(hbox1);
    gtk_container_add(GTK_CONTAINER(window), hbox1);

    GtkWidget *left = Box(gtk_vbox_new(FALSE, 4), hbox1);
    gtk_container_set_border_width(GTK_CONTAINER(left), 4);
    Label("QTH locator étendu : de AA00AAAA00 jusqu'à RR99XXXX99", left);

    GtkWidget *upper = Box(gtk_vbox_new(FALSE, 0), left);
    Separator(upper, FALSE);
    Label("DMS vers QTH locator étendu", upper);
    GtkWidget *halves = Box(gtk_hbox_new(TRUE, 0), upper);
    const char *szHalf[2] = {"Longitude\n", "Latitude\n"};
    const char *szRadio[2][2] = {{"E", "O"}, {"N", "S"}};
    for (int h = 0; h < 2; h++) {
        GtkWidget *half = Box(gtk_vbox_new(FALSE, 0), halves);
        Label(szHalf[h], half);
        GtkWidget *row = Box(gtk_hbox_new(TRUE, 0), half);
        for (int i = 0; i < 3; i++)
            Entry(row, 30, false);
        RadioPair(szRadio[h][0], szRadio[h][1], Box(gtk_vbox_new(TRUE, 0), row));
        if (h == 0)
            Button("Calculer QTH locator étendu", half);
        else
            Entry(half, 30, true, FALSE);
    }

    GtkWidget *lower = Box(gtk_vbox_new(FALSE, 0), left);
    Separator(lower, TRUE);
    Label("QTH locator étendu vers DMS\n", lower);
    GtkWidget *columns = Box(gtk_hbox_new(TRUE, 0), lower);
    GtkWidget *lo = Box(gtk_vbox_new(TRUE, 0), columns);
    Label("QTH Locator étendu", lo);
    Entry(Box(gtk_hbox_new(FALSE, 0), lo), 100, false);
    Label("Longitude", lo);
    GtkWidget *loRow = Box(gtk_hbox_new(TRUE, 0), lo);
    for (int i = 0; i < 4; i++)
        Entry(loRow, 30, true);
    GtkWidget *la = Box(gtk_vbox_new(TRUE, 0), columns);
    Label("", la);
    Button("Calculer DMS", la);
    Label("Latitude", la);
    GtkWidget *laRow = Box(gtk_hbox_new(TRUE, 0), la);
    for (int i = 0; i < 4; i++)
        Entry(laRow, 30, true);

    GtkWidget *right = Box(gtk_vbox_new(TRUE, 4), hbox1);
    gtk_container_set_border_width(GTK_CONTAINER(right), 4);
    GtkWidget *close = gtk_button_new_from_stock("gtk-close");
    gtk_widget_show(close);
    gtk_box_pack_start(GTK_BOX(right), close, TRUE, FALSE, 0);
    g_signal_connect(close, "clicked", G_CALLBACK(gtk_main_quit), NULL);
    Label("Tolka\nPar les développeurs de Tolka\n2026", right, false);

    gtk_widget_show(window);
    gtk_main();
    return 0;
}
