// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// RAII helpers shared by the tests: capture GLib log messages and standard
// error, switch the locale, and build the main window.
#ifndef TOLKA_TEST_GUARDS_H
#define TOLKA_TEST_GUARDS_H

#include <gtk/gtk.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

// Collects every message logged with no log domain while alive, instead of
// printing it. Messages of other domains go to the default handler.
class LogCapture {
public:
    struct Message {
        GLogLevelFlags level;
        std::string text;
    };

    LogCapture()
    {
        m_nHandler = g_log_set_handler(NULL, (GLogLevelFlags)(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL |
                                                              G_LOG_FLAG_RECURSION),
                                       &LogCapture::Handler, this);
    }
    ~LogCapture() { g_log_remove_handler(NULL, m_nHandler); }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    const std::vector<Message> &messages() const { return m_messages; }

private:
    static void Handler(const gchar *, GLogLevelFlags level, const gchar *text, gpointer self)
    {
        static_cast<LogCapture *>(self)->m_messages.push_back(
            {(GLogLevelFlags)(level & G_LOG_LEVEL_MASK), text ? text : ""});
    }

    guint m_nHandler;
    std::vector<Message> m_messages;
};

// Redirects file descriptor 2 into a temporary file while alive; text()
// returns what was written so far.
class StderrCapture {
public:
    StderrCapture()
    {
        std::fflush(stderr);
        m_file = std::tmpfile();
        m_nSaved = dup(2);
        dup2(fileno(m_file), 2);
    }
    ~StderrCapture()
    {
        restore();
        std::fclose(m_file);
    }
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    std::string text()
    {
        std::fflush(stderr);
        std::string result;
        std::rewind(m_file);
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
            result.append(buffer, n);
        return result;
    }

private:
    void restore()
    {
        if (m_nSaved >= 0) {
            std::fflush(stderr);
            dup2(m_nSaved, 2);
            close(m_nSaved);
            m_nSaved = -1;
        }
    }

    std::FILE *m_file;
    int m_nSaved;
};

// Sets LC_ALL to a locale for the guard's life, as start-up would take it
// from the environment; ok() tells whether the system has that locale.
class LocaleGuard {
public:
    explicit LocaleGuard(const char *szLocale)
    {
        m_previous = std::setlocale(LC_ALL, NULL);
        m_bOk = std::setlocale(LC_ALL, szLocale) != NULL;
    }
    ~LocaleGuard() { std::setlocale(LC_ALL, m_previous.c_str()); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

    bool ok() const { return m_bOk; }

private:
    std::string m_previous;
    bool m_bOk;
};

// Initialises the toolkit once per test program; fails the test when there
// is no display (the test set-up always provides one).
inline void RequireGtk()
{
    static bool bInit = false;
    if (!bInit) {
        int argc = 0;
        char **argv = NULL;
        ASSERT_TRUE(gtk_init_check(&argc, &argv)) << "no X display: run under tests/with-xvfb.sh";
        bInit = true;
    }
}

// Lets the toolkit handle everything queued (map, expose, focus, idle
// resizes) before the test looks at the window or measures memory.
inline void FlushEvents()
{
    while (gtk_events_pending())
        gtk_main_iteration();
}

#endif
