// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* What the window accepts in its fields, checked before any arithmetic: the
 * six DMS numbers and the locator to convert. Pure functions; a refusal's
 * reason comes from the catalogue, in the user's language, and names the
 * field and the value typed. */
#ifndef TOLKA_TYPED_INPUT_H
#define TOLKA_TYPED_INPUT_H

#include <stddef.h>

#include <string>

/* What a field's text holds: szText without the white space around it, as
 * a paste may bring it (blanks, tabs, line ends, the no-break spaces U+00A0
 * and U+202F, the ideographic space U+3000 and a byte-order mark; not inside
 * it). Returns its first byte and puts its length in bytes into *pnLength;
 * szText is not changed. */
const char *field_text_trimmed(const char *szText, size_t *pnLength);

/* Why a press converted nothing. */
struct FieldRefusal {
    int nField = -1;    /* the refused DMS field (0..5, order of tab), or -1 */
    std::string reason; /* translated, e.g. "Secondes de latitude : 75 n'est pas inférieur à 60" */
};

/* Reads the six DMS texts (longitude degrees, minutes, seconds, then the
 * latitude's) into tab. Blanks around a number are ignored and an empty text
 * is 0; otherwise a text must be a plain decimal number, '.' or ',' as its
 * separator whatever the locale, a sign on the degrees only, and a minus
 * there only when minutes and seconds are zero (-48 48 38 would add up to
 * 47 11 22: the reason suggests the other hemisphere instead, so nLoDir and
 * nLaDir are the hemispheres selected, 0 east / north); degrees within 180
 * (longitude) or 90 (latitude), minutes and seconds from 0 to under 60, and
 * the position they make within 180 or 90, all decided on the digits typed.
 * Each value is the double atof gives for the same number under a locale
 * whose separator is the one typed. False, with *pRefusal filled and tab
 * unspecified, for the first field refused. */
bool dms_fields_read(const char *const szTexts[6], int nLoDir, int nLaDir, double tab[6],
                     FieldRefusal *pRefusal);

/* Checks the locator text szText of nLength bytes (white space around it
 * already removed): 2, 4, 6, 8 or 10 characters, each in its level's range
 * (A-R, 0-9, A-X, A-X, 0-9) in either case. False, with pRefusal->reason
 * set, otherwise; a Maidenhead locator's reason says so, and gives the
 * extended locator of the same cell where there is one. */
bool locator_text_check(const char *szText, size_t nLength, FieldRefusal *pRefusal);

#endif
