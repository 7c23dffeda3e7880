// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Construction of the main window. */
#ifndef TOLKA_INTERFACE_H
#define TOLKA_INTERFACE_H

#include <gtk/gtk.h>

/* Builds the main window: all its widgets (shown, the window itself not yet),
 * the seven signal connections, and the registry that lookup_widget reads,
 * one entry per widget under its name. */
GtkWidget *create_window1(void);

#endif
