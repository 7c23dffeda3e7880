// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "callbacks.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "qra.h"
#include "support.h"

int m_nD2QLoDir = 0;
int m_nD2QLaDir = 0;

void on_button1_clicked(GtkButton *button, gpointer user_data)
{
    (void)button;
    (void)user_data;
    gtk_main_quit();
}

void locator_display_text(const char *szLOCX, char *szOut)
{
    static const char kReplacement[] = "\xEF\xBF\xBD"; /* U+FFFD */
    char *p = szOut;
    for (int i = 0; i < 10; i++) {
        unsigned char c = static_cast<unsigned char>(szLOCX[i]);
        /* Lower-cased byte by byte, not with g_strdown: absurd input can put
         * a NUL among the ten positions, and the letters after it count too. */
        if (c >= 'A' && c <= 'Z')
            c = static_cast<unsigned char>(c - 'A' + 'a');
        if (c >= 0x20 && c <= 0x7E) {
            *p++ = static_cast<char>(c);
        } else {
            memcpy(p, kReplacement, 3);
            p += 3;
        }
    }
    *p = '\0';
}

void on_button2_clicked(GtkButton *button, gpointer user_data)
{
    (void)user_data;
    GtkWidget *entry1 = lookup_widget(GTK_WIDGET(button), "entry1");
    GtkWidget *dmsEntries[6] = {
        lookup_widget(GTK_WIDGET(button), "entry2"), lookup_widget(GTK_WIDGET(button), "entry3"),
        lookup_widget(GTK_WIDGET(button), "entry4"), lookup_widget(GTK_WIDGET(button), "entry5"),
        lookup_widget(GTK_WIDGET(button), "entry6"), lookup_widget(GTK_WIDGET(button), "entry7"),
    };

    double tab[6];
    for (int i = 0; i < 6; i++)
        tab[i] = atof(gtk_entry_get_text(GTK_ENTRY(dmsEntries[i])));

    char szLOCX[256];
    KLOCXFromDMSLoLaTab(tab, szLOCX, m_nD2QLoDir, m_nD2QLaDir);

    char szShown[LOCATOR_DISPLAY_SIZE];
    locator_display_text(szLOCX, szShown);
    gtk_entry_set_text(GTK_ENTRY(entry1), szShown);
}

void locator_working_copy(const char *szText, size_t nLength, char *szOut)
{
    /* The south-west corner of the larger cell a short locator names. */
    static const char kLowest[] = "AA00AAAA00";
    memcpy(szOut, kLowest, sizeof kLowest);
    memcpy(szOut, szText, nLength);
    if (nLength == 9)
        szOut[9] = '\0';
    /* ASCII only: a locale's own case mapping must not touch other bytes. */
    for (size_t i = 0; i < nLength; i++)
        if (szOut[i] >= 'a' && szOut[i] <= 'z')
            szOut[i] = static_cast<char>(szOut[i] - 'a' + 'A');
}

void dms_component_text(double dValue, char *szOut, size_t nSize)
{
    snprintf(szOut, nSize, "%2.2lf", dValue);
}

/* Turns a signed triple into magnitudes; true if the coordinate was
 * negative (west or south). fabs also turns -0 into 0, so no field ever
 * shows a minus sign. */
static bool take_magnitudes(double *dDMS)
{
    const bool bNegative = dDMS[0] < 0 || dDMS[1] < 0 || dDMS[2] < 0;
    for (int i = 0; i < 3; i++)
        dDMS[i] = fabs(dDMS[i]);
    return bNegative;
}

static bool is_blank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

const char *locator_text_trimmed(const char *szText, size_t *pnLength)
{
    while (is_blank(*szText))
        szText++;
    size_t nLength = strlen(szText);
    while (nLength > 0 && is_blank(szText[nLength - 1]))
        nLength--;
    *pnLength = nLength;
    return szText;
}

bool locator_dms_texts(const char *szText, LocatorDmsTexts *pTexts)
{
    size_t nLength;
    const char *szLocator = locator_text_trimmed(szText, &nLength);
    if (nLength < 1 || nLength > 10) {
        *pTexts = LocatorDmsTexts{};
        pTexts->szLoHemisphere = pTexts->szLaHemisphere = "";
        return false;
    }

    char szInput[11];
    locator_working_copy(szLocator, nLength, szInput);

    double dDMSLa[3], dDMSLo[3];
    KDMSLoLaFromLOCX(szInput, dDMSLa, dDMSLo, 0, 0);

    pTexts->szLoHemisphere = take_magnitudes(dDMSLo) ? "O" : "E";
    pTexts->szLaHemisphere = take_magnitudes(dDMSLa) ? "S" : "N";
    dms_component_text(dDMSLo[0], pTexts->m_dQ2DLoD, sizeof pTexts->m_dQ2DLoD);
    dms_component_text(dDMSLo[1], pTexts->m_dQ2DLoM, sizeof pTexts->m_dQ2DLoM);
    dms_component_text(dDMSLo[2], pTexts->m_dQ2DLoS, sizeof pTexts->m_dQ2DLoS);
    dms_component_text(dDMSLa[0], pTexts->m_dQ2DLaD, sizeof pTexts->m_dQ2DLaD);
    dms_component_text(dDMSLa[1], pTexts->m_dQ2DLaM, sizeof pTexts->m_dQ2DLaM);
    dms_component_text(dDMSLa[2], pTexts->m_dQ2DLaS, sizeof pTexts->m_dQ2DLaS);
    return true;
}

void on_button3_clicked(GtkButton *button, gpointer user_data)
{
    (void)user_data;
    GtkWidget *entry8 = lookup_widget(GTK_WIDGET(button), "entry8");
    GtkWidget *entry9 = lookup_widget(GTK_WIDGET(button), "entry9");
    GtkWidget *entry10 = lookup_widget(GTK_WIDGET(button), "entry10");
    GtkWidget *entry11 = lookup_widget(GTK_WIDGET(button), "entry11");
    GtkWidget *entry12 = lookup_widget(GTK_WIDGET(button), "entry12");
    GtkWidget *entry13 = lookup_widget(GTK_WIDGET(button), "entry13");
    GtkWidget *entry14 = lookup_widget(GTK_WIDGET(button), "entry14");
    GtkWidget *entry15 = lookup_widget(GTK_WIDGET(button), "entry15");
    GtkWidget *entry16 = lookup_widget(GTK_WIDGET(button), "entry16");

    /* A refused text gives eight empty texts: results left from an earlier
     * locator would read as this one's. */
    LocatorDmsTexts texts;
    locator_dms_texts(gtk_entry_get_text(GTK_ENTRY(entry8)), &texts);

    gtk_entry_set_text(GTK_ENTRY(entry12), texts.szLoHemisphere);
    gtk_entry_set_text(GTK_ENTRY(entry16), texts.szLaHemisphere);
    gtk_entry_set_text(GTK_ENTRY(entry9), texts.m_dQ2DLoD);
    gtk_entry_set_text(GTK_ENTRY(entry10), texts.m_dQ2DLoM);
    gtk_entry_set_text(GTK_ENTRY(entry11), texts.m_dQ2DLoS);
    gtk_entry_set_text(GTK_ENTRY(entry13), texts.m_dQ2DLaD);
    gtk_entry_set_text(GTK_ENTRY(entry14), texts.m_dQ2DLaM);
    gtk_entry_set_text(GTK_ENTRY(entry15), texts.m_dQ2DLaS);
}

void on_radiobutton1_toggled(GtkToggleButton *togglebutton, gpointer user_data)
{
    (void)togglebutton;
    (void)user_data;
    m_nD2QLoDir = 0;
}

void on_radiobutton2_toggled(GtkToggleButton *togglebutton, gpointer user_data)
{
    (void)togglebutton;
    (void)user_data;
    m_nD2QLoDir = 1;
}

void on_radiobutton3_toggled(GtkToggleButton *togglebutton, gpointer user_data)
{
    (void)togglebutton;
    (void)user_data;
    m_nD2QLaDir = 0;
}

void on_radiobutton4_toggled(GtkToggleButton *togglebutton, gpointer user_data)
{
    (void)togglebutton;
    (void)user_data;
    m_nD2QLaDir = 1;
}
