// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* The message catalogue of the window's texts. */
#ifndef TOLKA_I18N_H
#define TOLKA_I18N_H

#include <libintl.h>
#include <locale.h>

#define TOLKA_DOMAIN "locx"
/* TOLKA_LOCALEDIR (the catalogue directory of the configured prefix),
 * TOLKA_LOCALEDIR_FROM_BINDIR (the same, relative to the programs'
 * directory) and TOLKA_PIXMAPDIR come from the build. */

/* Looked up in our own domain, whatever the default domain is. */
#define _(String) dcgettext(TOLKA_DOMAIN, String, LC_MESSAGES)
/* Marks a text for extraction where it is looked up later. */
#define N_(String) (String)

#endif
