/* The message catalogue of the window's texts. */
#ifndef TOLKA_I18N_H
#define TOLKA_I18N_H

#include <libintl.h>
#include <locale.h>

#define TOLKA_DOMAIN "locx"
#define TOLKA_LOCALEDIR "/usr/local/share/locale"
#define TOLKA_PIXMAPDIR "/usr/local/share/locx/pixmaps"

/* Looked up in our own domain, whatever the default domain is. */
#define _(String) dcgettext(TOLKA_DOMAIN, String, LC_MESSAGES)
/* Marks a text for extraction where it is looked up later. */
#define N_(String) (String)

#endif
