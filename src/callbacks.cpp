// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "callbacks.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "i18n.h"
#include "locator.h"
#include "qra.h"
#include "support.h"
#include "typed_input.h"

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

/* Entries a refusal can mark: the six DMS numbers, then the locator. */
const char *const kTypedFields[7] = {"entry2", "entry3", "entry4", "entry5",
                                     "entry6", "entry7", "entry8"};
const char kMarkKey[] = "tolka-refusal-previous-tooltip";
/* The window's data holding the popup that shows a refusal's reason. */
const char kReasonKey[] = "tolka-refusal-reason";

/* The next key press in the window takes the reason away; the key itself
 * goes on to the field. */
static gboolean on_key_press_hide_reason(GtkWidget *window1, GdkEventKey *event,
                                         gpointer user_data)
{
    (void)event;
    (void)user_data;
    g_object_set_data(G_OBJECT(window1), kReasonKey, NULL);
    return FALSE;
}

/* Shows reason just under field, in a small framed window, for whoever uses
 * the keyboard and never hovers the field; its label is in the
 * accessibility tree as any shown label is. Nothing shows for a field that
 * is not on screen. */
static void show_reason(GtkWidget *field, const std::string &reason)
{
    GtkWidget *window1 = lookup_widget(field, "window1");
    if (!GTK_WIDGET_DRAWABLE(field) || !field->window)
        return;
    GtkWidget *popup = gtk_window_new(GTK_WINDOW_POPUP);
    gtk_window_set_transient_for(GTK_WINDOW(popup), GTK_WINDOW(window1));
    /* An alert, which screen readers read out as it shows. Neither named
     * "gtk-tooltip" for the theme's colours nor a tool tip: the
     * accessibility layer leaves those out, label and all. A frame sets it
     * off from the window below. */
    atk_object_set_role(gtk_widget_get_accessible(popup), ATK_ROLE_ALERT);
    GtkWidget *frame = gtk_frame_new(NULL);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_OUT);
    gtk_container_add(GTK_CONTAINER(popup), frame);
    gtk_widget_show(frame);
    GtkWidget *label = gtk_label_new(reason.c_str());
    gtk_misc_set_padding(GTK_MISC(label), 4, 4);
    /* A long reason takes two lines rather than the width of the screen. */
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 60);
    gtk_container_add(GTK_CONTAINER(frame), label);
    gtk_widget_show(label);

    gint x = 0, y = 0;
    gdk_window_get_origin(field->window, &x, &y);
    if (GTK_WIDGET_NO_WINDOW(field)) {
        x += field->allocation.x;
        y += field->allocation.y;
    }
    y += field->allocation.height;
    /* On the screen, however near its right edge the field is. */
    GtkRequisition size;
    gtk_widget_size_request(popup, &size);
    const gint right = gdk_screen_get_width(gtk_widget_get_screen(field));
    gtk_window_move(GTK_WINDOW(popup), MAX(0, MIN(x, right - size.width)), y);

    /* The window's data owns the popup: replaced by the next one, destroyed
     * when taken away or with the window. The key handler lives as long. */
    g_object_set_data_full(G_OBJECT(window1), kReasonKey, popup,
                           (GDestroyNotify)gtk_widget_destroy);
    g_signal_connect_object(window1, "key-press-event", G_CALLBACK(on_key_press_hide_reason),
                            popup, GConnectFlags(0));
    gtk_widget_show(popup);
}

/* Puts back the tooltip and description of every field a refusal marked,
 * and its background, and takes the reason's popup away. */
static void clear_refusal_marks(GtkWidget *widget)
{
    g_object_set_data(G_OBJECT(lookup_widget(widget, "window1")), kReasonKey, NULL);
    for (const char *szName : kTypedFields) {
        GtkWidget *field = lookup_widget(widget, szName);
        const char *szPrevious =
            static_cast<const char *>(g_object_get_data(G_OBJECT(field), kMarkKey));
        if (!szPrevious)
            continue;
        /* "" stands for no tooltip at all. */
        gtk_widget_set_tooltip_text(field, *szPrevious ? szPrevious : NULL);
        atk_object_set_description(gtk_widget_get_accessible(field), szPrevious);
        gtk_widget_modify_base(field, GTK_STATE_NORMAL, NULL);
        g_object_set_data(G_OBJECT(field), kMarkKey, NULL);
    }
}

/* Shows why a press converted nothing, on the field at fault: it takes the
 * focus with its text selected and a tinted background, the reason shows
 * under it and is its tooltip and accessible description; a beep for
 * whoever looks away. */
static void mark_refusal(GtkWidget *field, const std::string &reason)
{
    gchar *szPrevious = gtk_widget_get_tooltip_text(field);
    g_object_set_data_full(G_OBJECT(field), kMarkKey, g_strdup(szPrevious ? szPrevious : ""),
                           g_free);
    g_free(szPrevious);
    gtk_widget_set_tooltip_text(field, reason.c_str());
    atk_object_set_description(gtk_widget_get_accessible(field), reason.c_str());
    static const GdkColor kTint = {0, 0xFFFF, 0xD8D8, 0xD8D8};
    gtk_widget_modify_base(field, GTK_STATE_NORMAL, &kTint);
    gtk_widget_grab_focus(field);
    gtk_editable_select_region(GTK_EDITABLE(field), 0, -1);
    show_reason(field, reason);
    gdk_beep();
}

void on_button2_clicked(GtkButton *button, gpointer user_data)
{
    (void)user_data;
    GtkWidget *entry1 = lookup_widget(GTK_WIDGET(button), "entry1");
    GtkWidget *dmsEntries[6];
    const char *szTexts[6];
    for (int i = 0; i < 6; i++) {
        dmsEntries[i] = lookup_widget(GTK_WIDGET(button), kTypedFields[i]);
        szTexts[i] = gtk_entry_get_text(GTK_ENTRY(dmsEntries[i]));
    }

    clear_refusal_marks(GTK_WIDGET(button));
    double tab[6];
    FieldRefusal refusal;
    if (!dms_fields_read(szTexts, m_nD2QLoDir, m_nD2QLaDir, tab, &refusal)) {
        /* An earlier locator left in place would read as this position's. */
        gtk_entry_set_text(GTK_ENTRY(entry1), "");
        mark_refusal(dmsEntries[refusal.nField], refusal.reason);
        return;
    }

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

void carry_rounded_seconds(double *dDMS)
{
    /* Rounded as the field shows them ("%.2f" on the very double); only the
     * whole part of that text matters, whatever the decimal separator. */
    char szSeconds[64];
    snprintf(szSeconds, sizeof szSeconds, "%.2f", dDMS[2]);
    if (strtol(szSeconds, NULL, 10) < 60)
        return;
    dDMS[2] = 0;
    dDMS[1] += 1;
    if (dDMS[1] >= 60) {
        dDMS[1] = 0;
        dDMS[0] += 1;
    }
}

void round_tie_inward(int64_t corner, double *dDMS)
{
    const int64_t magnitude = corner < 0 ? -corner : corner;
    const int64_t seconds = magnitude % 600000; /* within its minute */
    if (seconds % 100 != 50)
        return;
    /* Halves never lie near a whole minute, so the decoded minutes stand. */
    dDMS[2] = static_cast<double>((seconds + (corner < 0 ? -50 : 50)) / 100) / 100;
}

bool locator_dms_texts(const char *szText, LocatorDmsTexts *pTexts)
{
    size_t nLength;
    const char *szLocator = field_text_trimmed(szText, &nLength);
    FieldRefusal refusal;
    if (!locator_text_check(szLocator, nLength, &refusal)) {
        *pTexts = LocatorDmsTexts{};
        pTexts->szLoHemisphere = pTexts->szLaHemisphere = "";
        pTexts->reason = refusal.reason;
        return false;
    }

    char szInput[11];
    locator_working_copy(szLocator, nLength, szInput);

    double dDMSLa[3], dDMSLo[3];
    KDMSLoLaFromLOCX(szInput, dDMSLa, dDMSLo, 0, 0);

    /* The radio buttons' letters, so a result reads as it is typed back. */
    pTexts->szLoHemisphere = take_magnitudes(dDMSLo) ? _("O") : _("E");
    pTexts->szLaHemisphere = take_magnitudes(dDMSLa) ? _("S") : _("N");
    const Result<Cell> cell =
        parse_locator(std::string_view(szLocator, nLength), LocatorSystem::Tolka);
    round_tie_inward(cell_longitude_e4(cell.value, false), dDMSLo);
    round_tie_inward(cell_latitude_e4(cell.value, false), dDMSLa);
    carry_rounded_seconds(dDMSLo);
    carry_rounded_seconds(dDMSLa);
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
    clear_refusal_marks(GTK_WIDGET(button));
    LocatorDmsTexts texts;
    const bool bDecoded = locator_dms_texts(gtk_entry_get_text(GTK_ENTRY(entry8)), &texts);

    gtk_entry_set_text(GTK_ENTRY(entry12), texts.szLoHemisphere);
    gtk_entry_set_text(GTK_ENTRY(entry16), texts.szLaHemisphere);
    gtk_entry_set_text(GTK_ENTRY(entry9), texts.m_dQ2DLoD);
    gtk_entry_set_text(GTK_ENTRY(entry10), texts.m_dQ2DLoM);
    gtk_entry_set_text(GTK_ENTRY(entry11), texts.m_dQ2DLoS);
    gtk_entry_set_text(GTK_ENTRY(entry13), texts.m_dQ2DLaD);
    gtk_entry_set_text(GTK_ENTRY(entry14), texts.m_dQ2DLaM);
    gtk_entry_set_text(GTK_ENTRY(entry15), texts.m_dQ2DLaS);
    if (!bDecoded)
        mark_refusal(entry8, texts.reason);
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
