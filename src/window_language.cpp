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

namespace {

/* No catalogue can be found under a directory that is a file. */
const char kNoCatalogue[] = "/dev/null";
const char kLibcDomain[] = "libc";
gchar *g_szLibcDirectory = NULL;

gboolean hide_libc_catalogue(GOptionContext *, GOptionGroup *, gpointer, GError **)
{
    g_free(g_szLibcDirectory);
    g_szLibcDirectory = g_strdup(bindtextdomain(kLibcDomain, NULL));
    bindtextdomain(kLibcDomain, kNoCatalogue);
    return TRUE;
}

gboolean restore_libc_catalogue(GOptionContext *, GOptionGroup *, gpointer, GError **)
{
    if (g_szLibcDirectory) {
        bindtextdomain(kLibcDomain, g_szLibcDirectory);
        g_free(g_szLibcDirectory);
        g_szLibcDirectory = NULL;
    }
    return TRUE;
}

} // namespace

GOptionGroup *unseen_texts_group(void)
{
    GOptionGroup *group = g_option_group_new("unseen-texts", "", "", NULL, NULL);
    g_option_group_set_parse_hooks(group, hide_libc_catalogue, restore_libc_catalogue);
    return group;
}

void leave_property_descriptions_untranslated(void)
{
    bindtextdomain("gtk20-properties", kNoCatalogue);
}
