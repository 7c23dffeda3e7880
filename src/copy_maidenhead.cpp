// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "copy_maidenhead.h"

#include "i18n.h"
#include "locator.h"
#include "support.h"
#include "typed_input.h"

namespace {

const char *const kLocatorFields[] = {"entry1", "entry8"};

void on_copy_maidenhead_activate(GtkMenuItem *item, gpointer user_data)
{
    (void)item;
    GtkWidget *entry = GTK_WIDGET(user_data);
    const std::string locator = maidenhead_of(gtk_entry_get_text(GTK_ENTRY(entry)));
    if (!locator.empty())
        gtk_clipboard_set_text(gtk_widget_get_clipboard(entry, GDK_SELECTION_CLIPBOARD),
                               locator.c_str(), static_cast<gint>(locator.size()));
}

/* The menu is built anew each time it opens: the item's state follows the
 * field's text of that moment. */
void on_locator_populate_popup(GtkEntry *entry, GtkMenu *menu, gpointer user_data)
{
    (void)user_data;
    GtkWidget *separator = gtk_separator_menu_item_new();
    GtkWidget *item = gtk_menu_item_new_with_label(_("Copier au format Maidenhead (ADIF)"));
    gtk_widget_set_name(item, "copy_maidenhead");
    gtk_widget_set_sensitive(item, !maidenhead_of(gtk_entry_get_text(entry)).empty());
    g_signal_connect(G_OBJECT(item), "activate", G_CALLBACK(on_copy_maidenhead_activate), entry);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), separator);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    gtk_widget_show(separator);
    gtk_widget_show(item);
}

} // namespace

std::string maidenhead_of(const char *szText)
{
    size_t length = 0;
    const char *szStart = field_text_trimmed(szText ? szText : "", &length);
    const std::string_view text(szStart, length);
    const Result<Cell> cell = parse_locator(text, LocatorSystem::Tolka);
    char szLocator[kMaxLocatorLength];
    if (!cell || !convert_locator(cell.value, text, LocatorSystem::Maidenhead, szLocator).empty())
        return {};
    return std::string(szLocator, static_cast<size_t>(cell.value.length));
}

void add_copy_maidenhead(GtkWidget *window1)
{
    for (const char *szField : kLocatorFields)
        g_signal_connect(G_OBJECT(lookup_widget(window1, szField)), "populate-popup",
                         G_CALLBACK(on_locator_populate_popup), NULL);
}
