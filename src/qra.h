// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Locator arithmetic: degrees-minutes-seconds <-> ten-character extended
 * locator ("AA00AAAA00" .. "RR99XXXX99"). Pure functions over caller-owned
 * storage: no state, no allocation, no logging. */
#ifndef TOLKA_QRA_H
#define TOLKA_QRA_H

/* Decimal degrees of a DMS triple: degrees + minutes/60, then + seconds/3600.
 * Components are simply added; no sign handling. */
double KConvertDMS2Decimal(double degrees, double minutes, double seconds);

/* The character with code 65 + nCharacter (letter level of the grid), taken
 * in 8 bits: every int gives some character. */
char KAsciiCharFromNumber(int nCharacter);

/* The character with code 48 + nCharacter (digit level), taken in 8 bits. */
char KAsciiNumberFromNumber(int nCharacter);

/* Writes the extended locator of a position into szLOCX (exactly 11 bytes:
 * ten characters and a NUL; the caller's buffer must hold them).
 * tab: longitude degrees, minutes, seconds, then latitude degrees, minutes,
 * seconds, as magnitudes. nLoDir/nLaDir: 0 east/north, non-zero west/south.
 * A magnitude of at most 180 (longitude) or 90 (latitude) that the 1e-6
 * degree bias carries past the far edge of the grid gives the last column or
 * row ("R9XX9"); larger magnitudes give characters beyond the alphabets.
 * Where a grid index is not a finite value that fits an int, that position
 * and the finer ones of the same axis are written as '?'. Returns 0. */
int KLOCXFromDMSLoLaTab(const double *tab, char *szLOCX, int nLoDir, int nLaDir);

/* Code of cCharacter, read as a signed 8-bit value, minus 65. */
double KNumberFromAsciiChar(char cCharacter);

/* Code of cCharacter, read as a signed 8-bit value, minus 48. */
double KNumberFromAsciiNumber(char cCharacter);

/* One axis of the locator in szInput (its ten first bytes are read) as
 * decimal degrees of the cell's south-west corner: the even positions for
 * nFLoOrLa != 0 (longitude), the odd ones otherwise. Negated if dir != 0. */
double KCoordFromLoOrLa(const char *szInput, int nFLoOrLa, int dir);

/* Splits decimal degrees into degrees, minutes (whole, toward zero) and
 * seconds (unrounded) into dDMS[0..2]; all three carry the value's sign. */
void KConvertDecimal2DMS(double decimal, double *dDMS);

/* Decodes the ten first bytes of szInput into the latitude triple dDMSLa and
 * the longitude triple dDMSLo (signed: west and south negative). A non-zero
 * loDir/laDir negates that axis. */
void KDMSLoLaFromLOCX(const char *szInput, double *dDMSLa, double *dDMSLo, int loDir,
                      int laDir);

#endif
