// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* "Copier au format Maidenhead (ADIF)" in the right-click menu of the two
 * locator fields: the window writes Tolka's extended layout, which loggers
 * and ADIF do not read, so this puts the Maidenhead name of the same cell on
 * the clipboard. */
#ifndef TOLKA_COPY_MAIDENHEAD_H
#define TOLKA_COPY_MAIDENHEAD_H

#include <gtk/gtk.h>

#include <string>

/* Adds the item to the menus of entry1 (the encoder's result) and entry8
 * (the locator to convert) of window1. Its text comes from the catalogue
 * when a menu opens. */
void add_copy_maidenhead(GtkWidget *window1);

/* The Maidenhead locator, upper case, of the cell that szText names in the
 * extended layout (white space around it ignored, as the conversion ignores
 * it); empty when it names none, or has 8 characters, which have no
 * Maidenhead equivalent. */
std::string maidenhead_of(const char *szText);

#endif
