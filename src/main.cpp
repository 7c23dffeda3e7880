#include <gtk/gtk.h>

#include "i18n.h"
#include "interface.h"
#include "support.h"

/* Closing the window from the window manager ends the program like the close
 * button does, instead of leaving a process with no window behind. */
static gboolean on_window1_delete_event(GtkWidget *widget, GdkEvent *event, gpointer user_data)
{
    (void)widget;
    (void)event;
    (void)user_data;
    gtk_main_quit();
    return TRUE;
}

int main(int argc, char *argv[])
{
    bindtextdomain(TOLKA_DOMAIN, TOLKA_LOCALEDIR);
    bind_textdomain_codeset(TOLKA_DOMAIN, "UTF-8");
    textdomain(TOLKA_DOMAIN);

    gtk_set_locale();
    gtk_init(&argc, &argv);

    add_pixmap_directory(TOLKA_PIXMAPDIR);

    GtkWidget *window1 = create_window1();
    g_signal_connect(G_OBJECT(window1), "delete-event", G_CALLBACK(on_window1_delete_event),
                     NULL);
    gtk_widget_show(window1);

    gtk_main();
    return 0;
}
