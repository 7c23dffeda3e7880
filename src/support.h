// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Toolkit support: the widget registry lookup, the pixmap search path, image
 * loading along it and accessible-action descriptions. */
#ifndef TOLKA_SUPPORT_H
#define TOLKA_SUPPORT_H

#include <gtk/gtk.h>

/* The widget registered as widget_name on the top-level widget that widget
 * belongs to, or NULL (with the warning "Widget not found: %s"). */
GtkWidget *lookup_widget(GtkWidget *widget, const gchar *widget_name);

/* Puts a copy of directory at the head of the pixmap search path: the
 * directory added last is searched first. */
void add_pixmap_directory(const gchar *directory);

/* A new image widget showing filename from the search path; an empty one if
 * the name is empty or the file is not found (the latter with a warning). */
GtkWidget *create_pixmap(GtkWidget *widget, const gchar *filename);

/* A new pixbuf (one reference, the caller's) loaded from filename on the
 * search path, or NULL if the name is empty, not found, or not loadable. */
GdkPixbuf *create_pixbuf(const gchar *filename);

/* Sets description on every action of action named exactly action_name. */
void glade_set_atk_action_description(AtkAction *action, const gchar *action_name,
                                      const gchar *description);

#endif
