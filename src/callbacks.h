// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Signal handlers of the main window, and the hemisphere choice they share. */
#ifndef TOLKA_CALLBACKS_H
#define TOLKA_CALLBACKS_H

#include <stddef.h>
#include <stdint.h>

#include <string>

#include <gtk/gtk.h>

#include "typed_input.h"

/* Hemisphere flags for the DMS-to-locator conversion: 0 east / north,
 * 1 west / south. Written by the radio handlers, read by button2's. */
extern int m_nD2QLoDir;
extern int m_nD2QLaDir;

/* Close button: leaves the main loop. */
void on_button1_clicked(GtkButton *button, gpointer user_data);

/* "Calculer QTH locator étendu": entry2..entry7 and the flags to entry1.
 * A refused field gets the focus and the reason as its tooltip and
 * description (until the next press), shown under it until the next key
 * press, and entry1 is cleared. */
void on_button2_clicked(GtkButton *button, gpointer user_data);

/* "Calculer DMS": the locator of entry8 to entry9..entry16; a refused text
 * clears them and marks entry8 as a refused DMS field is marked. */
void on_button3_clicked(GtkButton *button, gpointer user_data);

/* Radio buttons E, O, N, S: each stores its hemisphere into its flag. */
void on_radiobutton1_toggled(GtkToggleButton *togglebutton, gpointer user_data);
void on_radiobutton2_toggled(GtkToggleButton *togglebutton, gpointer user_data);
void on_radiobutton3_toggled(GtkToggleButton *togglebutton, gpointer user_data);
void on_radiobutton4_toggled(GtkToggleButton *togglebutton, gpointer user_data);

/* Size of a locator shown for display: ten characters of up to three bytes
 * (U+FFFD) and a NUL. */
enum { LOCATOR_DISPLAY_SIZE = 10 * 3 + 1 };

/* The encoder's ten characters as the window shows them, into szOut: letters
 * in lower case, every byte outside printable ASCII as U+FFFD, so the text is
 * always valid UTF-8 and never cut short by a NUL. */
void locator_display_text(const char *szLOCX, char *szOut);

/* Working copy of a typed locator of nLength bytes (0 to 10) for the
 * decoder, into szOut (11 bytes): ASCII letters upper-cased, no other byte
 * changed; positions after a shorter text take the lowest symbol of their
 * level ('A' or '0'), so it names the south-west corner of its cell. */
void locator_working_copy(const char *szText, size_t nLength, char *szOut);

/* One decoded DMS component as the window shows it ("%2.2lf" in the current
 * locale) into szOut of nSize bytes; the text is cut, never overrun. */
void dms_component_text(double dValue, char *szOut, size_t nSize);

/* A decoded triple's magnitudes as the fields show them: when the seconds
 * round to 60.00 they become 0 and carry into the minutes, and 60 minutes
 * into the degrees (151 9 59.999... shows as 151 10 0.00). */
void carry_rounded_seconds(double *dDMS);

/* A decoded triple's magnitudes dDMS as the fields show them, when the
 * exact corner (signed, in ten-thousandths of a second of arc) lies halfway
 * between two hundredths of a second: its seconds become the hundredth on
 * the cell's inside, north or east ("%.2f" would round to even), so that a
 * north or east corner typed back falls in its own cell; 9.375" S shows as
 * 9.37, 33.125" N as 33.13. Any other corner is left as it is. */
void round_tie_inward(int64_t corner, double *dDMS);

/* The eight texts the locator-to-DMS action shows: the magnitudes of the
 * decoded corner and the hemisphere letters of the radio buttons, from the
 * catalogue. */
struct LocatorDmsTexts {
    char m_dQ2DLoD[256], m_dQ2DLoM[256], m_dQ2DLoS[256];
    char m_dQ2DLaD[256], m_dQ2DLaM[256], m_dQ2DLaS[256];
    const char *szLoHemisphere; /* "E" or "O" ("W" in English) */
    const char *szLaHemisphere; /* "N" or "S" */
    std::string reason;         /* why the text was refused, or empty */
};

/* Decodes the locator in the typed text szText (white space around it is
 * ignored) into *pTexts. When what is left is not a locator of 2, 4, 6, 8
 * or 10 characters, each in its level's range (either case), all eight texts
 * are empty, reason says why, and the result is false: the window then shows
 * no result rather than an earlier locator's. */
bool locator_dms_texts(const char *szText, LocatorDmsTexts *pTexts);

#endif
