// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Which language the window speaks when the user's has no catalogue. */
#ifndef TOLKA_WINDOW_LANGUAGE_H
#define TOLKA_WINDOW_LANGUAGE_H

/* Where the window's domain has no catalogue for the user's language (C,
 * German, ...), makes the whole program French, the toolkit's own texts
 * ("Fermer", the context menus) included, instead of French beside the
 * toolkit's English. Under the C locale, whose messages nothing can
 * translate, messages follow C.UTF-8 instead, so LANGUAGE counts there too.
 * Call after the locale is set and the domain bound, before the toolkit
 * starts, and tell the toolkit not to set the locale again. */
void choose_window_language(void);

#endif
