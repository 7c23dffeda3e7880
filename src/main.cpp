// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtk/gtk.h>

#include "catalogue_dir.h"
#include "i18n.h"
#include "interface.h"
#include "support.h"
#include "window_setup.h"

int main(int argc, char *argv[])
{
    /* Beside this installation first: the build-time prefix is not where
     * a copy installed elsewhere keeps its catalogues. */
    const std::string szLocaleDir =
        catalogue_directory(TOLKA_LOCALEDIR_FROM_BINDIR, TOLKA_LOCALEDIR);
    bindtextdomain(TOLKA_DOMAIN, szLocaleDir.c_str());
    bind_textdomain_codeset(TOLKA_DOMAIN, "UTF-8");
    textdomain(TOLKA_DOMAIN);

    gtk_set_locale();
    gtk_init(&argc, &argv);
    /* The installed icon (share/icons/hicolor), for every window we open. */
    gtk_window_set_default_icon_name("tolka");

    add_pixmap_directory(TOLKA_PIXMAPDIR);

    GtkWidget *window1 = create_window1();
    complete_window1(window1);
    gtk_widget_show(window1);

    gtk_main();
    return 0;
}
