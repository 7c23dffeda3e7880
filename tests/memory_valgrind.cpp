// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A short life of the window for valgrind's leak check: build and complete
// it as main does, show it, convert both ways with a few inputs (refused ones
// included), destroy it; three times over. Kept small so memcheck finishes
// in seconds. Exits 1 if the toolkit cannot start.
#include <gtk/gtk.h>

#include <cstdio>

#include "interface.h"
#include "support.h"
#include "window_setup.h"

namespace {

void SetText(GtkWidget *window, const char *szName, const char *szText)
{
    gtk_entry_set_text(GTK_ENTRY(lookup_widget(window, szName)), szText);
}

void Flush()
{
    while (gtk_events_pending())
        gtk_main_iteration();
}

} // namespace

int main(int argc, char **argv)
{
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    static const char *const kDms[][6] = {
        {"4", "21", "11", "50", "50", "51"},
        {"", "abc", "  12abc", "-5", "nan", "1e999"},
        {"1e300", "-inf", "+", "0x1p3", "\t7", "1e9"},
    };
    static const char *const kLocators[] = {"jn18dtkk78", "", "JJ00AAAA0", "\xc3\xa9x",
                                            "JN18DTKK78X", "\x01\x7f"};
    for (int nRound = 0; nRound < 3; nRound++) {
        GtkWidget *window1 = create_window1();
        complete_window1(window1);
        gtk_widget_show(window1);
        Flush();
        GtkWidget *button2 = lookup_widget(window1, "button2");
        GtkWidget *button3 = lookup_widget(window1, "button3");
        for (const auto &row : kDms) {
            static const char *const kFields[] = {"entry2", "entry3", "entry4",
                                                  "entry5", "entry6", "entry7"};
            for (int i = 0; i < 6; i++)
                SetText(window1, kFields[i], row[i]);
            gtk_toggle_button_set_active(
                GTK_TOGGLE_BUTTON(lookup_widget(window1, nRound % 2 ? "radiobutton2" : "radiobutton1")),
                TRUE);
            gtk_button_clicked(GTK_BUTTON(button2));
        }
        for (const char *szLocator : kLocators) {
            SetText(window1, "entry8", szLocator);
            gtk_button_clicked(GTK_BUTTON(button3));
        }
        Flush();
        gtk_widget_destroy(window1);
        Flush();
    }
    return 0;
}
