// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* What the main window needs beyond its widget table for daily use. */
#ifndef TOLKA_WINDOW_SETUP_H
#define TOLKA_WINDOW_SETUP_H

#include <gtk/gtk.h>

/* Completes window1 as create_window1 built it, connecting nothing that the
 * table connects: Tab and Shift+Tab go through the six DMS numbers in
 * reading order before the hemisphere and action buttons; Enter in a DMS
 * field or in the locator field runs that half's conversion; every field
 * has an accessible name, the labels that end in a line feed are named
 * without it, the input fields and hemisphere buttons have a tooltip that
 * screen readers read as their description; a change of an input (text or
 * hemisphere) clears the result of its half; the result fields are wide
 * enough for their longest text and the cursor; closing the window from the
 * window manager, Escape and Ctrl+Q end the program like the close button.
 * Texts come from the catalogue, so call it after the locale is set. */
void complete_window1(GtkWidget *window1);

#endif
