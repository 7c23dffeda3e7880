// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_language.h"

#include <stdlib.h>
#include <string.h>

#include "i18n.h"

void choose_window_language(void)
{
    const char *szMessages = setlocale(LC_MESSAGES, NULL);
    if (szMessages && (strcmp(szMessages, "C") == 0 || strcmp(szMessages, "POSIX") == 0))
        setlocale(LC_MESSAGES, "C.UTF-8");
    /* A catalogue's header is its translation of "": empty when the domain
     * has none for this language. (Not a literal, which the template would
     * take for a text to translate.) */
    const char *const szHeader = "";
    if (*dcgettext(TOLKA_DOMAIN, szHeader, LC_MESSAGES))
        return;
    setenv("LANGUAGE", "fr", 1);
    /* Setting the domain again makes gettext drop what it looked up under
     * the old LANGUAGE. */
    textdomain(textdomain(NULL));
    /* No French catalogue either (a build tree): GLib translates the
     * toolkit's texts only for a program whose default domain has a
     * catalogue, or that has none of its own; the window's texts, French in
     * the source, need none. */
    if (!*dcgettext(TOLKA_DOMAIN, szHeader, LC_MESSAGES))
        textdomain("messages");
}
