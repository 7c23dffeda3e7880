// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Which language the window speaks when the user's has no catalogue. */
#ifndef TOLKA_WINDOW_LANGUAGE_H
#define TOLKA_WINDOW_LANGUAGE_H

#include <glib.h>

/* Where the window's domain has no catalogue for the user's language (C,
 * German, ...), makes the whole program French, the toolkit's own texts
 * ("Fermer", the context menus) included, instead of French beside the
 * toolkit's English. Under the C locale, whose messages nothing can
 * translate, messages follow C.UTF-8 instead, so LANGUAGE counts there too.
 * Call after the locale is set and the domain bound, before the toolkit
 * starts, and tell the toolkit not to set the locale again. */
void choose_window_language(void);

/* While it starts, the toolkit looks up texts that no one ever sees: the
 * message of a symbol it probes for and does not find (in the C library's
 * catalogue), and the descriptions of its widgets' properties (their own
 * catalogue). Each maps its catalogue, some hundred kB, for nothing.
 *
 * An option group with no options, to add before the toolkit's: it keeps
 * the C library's catalogue away while the toolkit's group prepares, and
 * gives it back before the toolkit opens the display (its messages, from
 * strerror, are shown). */
GOptionGroup *unseen_texts_group(void);

/* Makes the property descriptions untranslated from now on; call after the
 * toolkit has read its options (it binds their domain then), before the
 * widgets are made. */
void leave_property_descriptions_untranslated(void);

#endif
