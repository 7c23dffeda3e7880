// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtk/gtk.h>

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "catalogue_dir.h"
#include "i18n.h"
#include "interface.h"
#include "support.h"
#include "text.h"
#include "window_language.h"
#include "window_setup.h"

namespace {

/* Writes text (UTF-8, as the catalogues and GLib give it) to out in the
 * locale's own encoding, so a Latin-1 terminal gets Latin-1: what the
 * encoding lacks is transliterated where the locale says how, or written
 * '?'. */
void put_in_locale(const char *text, FILE *out)
{
    const char *charset = NULL;
    if (g_get_charset(&charset)) {
        fputs(text, out);
        return;
    }
    const std::string translit = std::string(charset) + "//TRANSLIT";
    gchar *converted = g_convert(text, -1, translit.c_str(), "UTF-8", NULL, NULL, NULL);
    if (!converted)
        converted = g_convert_with_fallback(text, -1, charset, "UTF-8", "?", NULL, NULL, NULL);
    fputs(converted ? converted : text, out);
    g_free(converted);
}

/* A usage error: the reason (UTF-8) and the usage line on standard error,
 * exit status 2. */
[[noreturn]] void usage_error(GOptionContext *context, const std::string &reason)
{
    gchar *help = g_option_context_get_help(context, TRUE, NULL);
    /* The usage is the help's first paragraph. */
    std::string usage = help;
    g_free(help);
    const size_t end = usage.find("\n\n");
    if (end != std::string::npos)
        usage.erase(end + 1);
    put_in_locale(("tolka: " + reason + "\n" + usage).c_str(), stderr);
    g_option_context_free(context);
    exit(2);
}

/* Reads tolka's own options (--help, --version) and the toolkit's, without
 * opening the display: both answers need no window. Exits when one of them
 * was asked for, and on an unknown option or an operand (status 2). */
void read_options(int *pArgc, char ***pArgv)
{
    gboolean bHelp = FALSE, bVersion = FALSE;
    const GOptionEntry entries[] = {
        {"help", 'h', 0, G_OPTION_ARG_NONE, &bHelp, _("Affiche cette aide et quitte"), NULL},
        {"version", 0, 0, G_OPTION_ARG_NONE, &bVersion, _("Affiche la version et quitte"), NULL},
        {NULL, 0, 0, G_OPTION_ARG_NONE, NULL, NULL, NULL},
    };
    GOptionContext *context = g_option_context_new(NULL);
    g_option_context_set_summary(
        context, _("Convertit une position en degrés, minutes et secondes en QTH locator "
                   "étendu, et un QTH locator en la position du coin sud-ouest de sa case."));
    /* Our own --help lists the toolkit's options too, not just a pointer to
     * them. */
    g_option_context_set_help_enabled(context, FALSE);
    g_option_context_add_main_entries(context, entries, NULL);
    g_option_context_add_group(context, unseen_texts_group());
    g_option_context_add_group(context, gtk_get_option_group(FALSE));
    GError *error = NULL;
    if (!g_option_context_parse(context, pArgc, pArgv, &error)) {
        const std::string reason = error->message;
        g_error_free(error);
        usage_error(context, reason);
    }
    /* The window takes no operand: one would be silently ignored. */
    if (*pArgc > 1) {
        gchar *typed = g_locale_to_utf8((*pArgv)[1], -1, NULL, NULL, NULL);
        std::string value;
        append_escaped(value, typed ? typed : (*pArgv)[1]);
        g_free(typed);
        gchar *reason = g_strdup_printf(_("argument inattendu : « %s »"), value.c_str());
        const std::string text = reason;
        g_free(reason);
        usage_error(context, text);
    }
    if (bHelp) {
        gchar *szHelp = g_option_context_get_help(context, FALSE, NULL);
        put_in_locale(szHelp, stdout);
        g_free(szHelp);
    } else if (bVersion) {
        gchar *szVersion = g_strdup_printf("tolka %s\n", TOLKA_VERSION);
        put_in_locale(szVersion, stdout);
        g_free(szVersion);
    }
    g_option_context_free(context);
    leave_property_descriptions_untranslated();
    if (!bHelp && !bVersion)
        return;
    if (fflush(stdout) != 0 || ferror(stdout)) {
        fprintf(stderr, "tolka: %s\n", g_strerror(errno));
        exit(1);
    }
    exit(0);
}

} // namespace

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
    choose_window_language();
    gtk_disable_setlocale();
    read_options(&argc, &argv);
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
