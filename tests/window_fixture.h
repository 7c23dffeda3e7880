// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The fixture of the window tests: a fresh main window per test, the
// hemisphere flags back at their start values around it, and short ways to
// reach, fill, read and press the window's widgets by name.
#ifndef TOLKA_WINDOW_FIXTURE_H
#define TOLKA_WINDOW_FIXTURE_H

#include <gtk/gtk.h>

#include <string>

#include <gtest/gtest.h>

#include "callbacks.h"
#include "guards.h"
#include "interface.h"
#include "support.h"

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RequireGtk();
        if (HasFatalFailure())
            return;
        m_nD2QLoDir = 0;
        m_nD2QLaDir = 0;
        m_window = create_window1();
    }

    void TearDown() override
    {
        if (m_window)
            gtk_widget_destroy(m_window);
        m_window = nullptr;
        m_nD2QLoDir = 0;
        m_nD2QLaDir = 0;
    }

    // The widget registered as szName, read straight from the window's data
    // so that a failing lookup_widget cannot hide behind it.
    GtkWidget *Widget(const char *szName) const
    {
        return static_cast<GtkWidget *>(g_object_get_data(G_OBJECT(m_window), szName));
    }

    std::string Text(const char *szEntry) const
    {
        return gtk_entry_get_text(GTK_ENTRY(Widget(szEntry)));
    }

    void SetText(const char *szEntry, const std::string &text) const
    {
        gtk_entry_set_text(GTK_ENTRY(Widget(szEntry)), text.c_str());
    }

    void Click(const char *szButton) const { gtk_button_clicked(GTK_BUTTON(Widget(szButton))); }

    void Select(const char *szRadio) const
    {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(Widget(szRadio)), TRUE);
    }

    bool Active(const char *szRadio) const
    {
        return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Widget(szRadio)));
    }

    GtkWidget *m_window = nullptr;
};

#endif
