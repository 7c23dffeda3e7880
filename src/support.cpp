// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support.h"

#include <libintl.h>
#include <stdio.h>
#include <string.h>

#include "i18n.h"

/* Directories searched for images, the one added last at the head. Lives,
 * with its strings, until the program ends. */
static GList *pixmaps_directories = NULL;

GtkWidget *lookup_widget(GtkWidget *widget, const gchar *widget_name)
{
    GtkWidget *parent;
    GtkWidget *found_widget;

    for (;;) {
        if (GTK_IS_MENU(widget))
            parent = gtk_menu_get_attach_widget(GTK_MENU(widget));
        else
            parent = widget->parent;
        if (!parent)
            parent = (GtkWidget *)g_object_get_data(G_OBJECT(widget), "GladeParentKey");
        if (parent == NULL)
            break;
        widget = parent;
    }

    found_widget = (GtkWidget *)g_object_get_data(G_OBJECT(widget), widget_name);
    if (!found_widget)
        g_log(NULL, G_LOG_LEVEL_WARNING, "Widget not found: %s", widget_name);
    return found_widget;
}

void add_pixmap_directory(const gchar *directory)
{
    pixmaps_directories = g_list_prepend(pixmaps_directories, g_strdup(directory));
}

/* Full path of filename in the first search directory that has it (any kind
 * of file system object counts), newly allocated; NULL if none has it. */
static gchar *find_pixmap_file(const gchar *filename)
{
    for (GList *elem = pixmaps_directories; elem; elem = elem->next) {
        gchar *pathname = g_strdup_printf("%s%s%s", (const gchar *)elem->data,
                                          G_DIR_SEPARATOR_S, filename);
        if (g_file_test(pathname, G_FILE_TEST_EXISTS))
            return pathname;
        g_free(pathname);
    }
    return NULL;
}

static void warn_pixmap_not_found(const gchar *filename)
{
    g_log(NULL, G_LOG_LEVEL_WARNING, _("Couldn't find pixmap file: %s"), filename);
}

GtkWidget *create_pixmap(GtkWidget *widget, const gchar *filename)
{
    (void)widget;
    if (!filename || !filename[0])
        return gtk_image_new();

    gchar *pathname = find_pixmap_file(filename);
    if (!pathname) {
        warn_pixmap_not_found(filename);
        return gtk_image_new();
    }

    GtkWidget *pixmap = gtk_image_new_from_file(pathname);
    g_free(pathname);
    return pixmap;
}

GdkPixbuf *create_pixbuf(const gchar *filename)
{
    if (!filename || !filename[0])
        return NULL;

    gchar *pathname = find_pixmap_file(filename);
    if (!pathname) {
        warn_pixmap_not_found(filename);
        return NULL;
    }

    GError *error = NULL;
    GdkPixbuf *pixbuf = gdk_pixbuf_new_from_file(pathname, &error);
    if (!pixbuf) {
        fprintf(stderr, "Failed to load pixbuf file: %s: %s\n", pathname,
                error ? error->message : "");
        if (error)
            g_error_free(error);
    }
    g_free(pathname);
    return pixbuf;
}

void glade_set_atk_action_description(AtkAction *action, const gchar *action_name,
                                      const gchar *description)
{
    gint n_actions = atk_action_get_n_actions(action);
    for (gint i = 0; i < n_actions; i++) {
        const gchar *name = atk_action_get_name(action, i);
        if (name && strcmp(name, action_name) == 0)
            atk_action_set_description(action, i, description);
    }
}
