// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Nothing lost, nothing kept: building the window as main does and
// destroying it releases every widget, and neither window lifecycles nor
// conversions make resident memory grow. Under AddressSanitizer the
// resident size mostly measures the sanitizer's quarantine and shadow
// memory, so the growth bounds are not checked there; the reference counts
// are.
#include <algorithm>
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "guards.h"
#include "interface.h"
#include "support.h"
#include "window_setup.h"

#if defined(__SANITIZE_ADDRESS__)
#define TOLKA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLKA_ASAN 1
#endif
#endif

namespace {

// The 54 registered names, window first.
const char *const kWidgets[] = {
    "window1",      "hbox1",        "vbox2",       "label1",  "vbox3",   "hseparator1",
    "label2",       "hbox2",        "vbox5",       "label4",  "hbox4",   "entry2",
    "entry3",       "entry4",       "vbox9",       "radiobutton1",       "radiobutton2",
    "button2",      "vbox6",        "label5",      "hbox5",   "entry5",  "entry6",
    "entry7",       "vbox10",       "radiobutton3", "radiobutton4",      "entry1",
    "vbox4",        "hseparator2",  "label3",      "hbox3",   "vbox7",   "label6",
    "hbox8",        "entry8",       "label7",      "hbox6",   "entry9",  "entry10",
    "entry11",      "entry12",      "vbox8",       "label9",  "button3", "label8",
    "hbox7",        "entry13",      "entry14",     "entry15", "entry16", "vbox1",
    "button1",      "label10",
};
constexpr int kWidgetCount = sizeof kWidgets / sizeof kWidgets[0];
static_assert(kWidgetCount == 54, "every widget of the window");

// Resident set size of this process in KiB.
long ResidentKiB()
{
    FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char szLine[256];
    long nKiB = -1;
    while (std::fgets(szLine, sizeof szLine, f))
        if (std::strncmp(szLine, "VmRSS:", 6) == 0)
            std::sscanf(szLine + 6, "%ld", &nKiB);
    std::fclose(f);
    return nKiB;
}

// Growth allowed over the measured rounds: far below what a leaked window
// (tens of KiB each, a thousand times) or a leaked 256-byte buffer per
// conversion (ten thousand times) would add, above the allocator's noise.
constexpr long kGrowthBoundKiB = 1024;

void ExpectNoGrowth(long nBefore, long nAfter, const char *szWhat)
{
    ASSERT_GT(nBefore, 0) << "no VmRSS in /proc/self/status";
#ifdef TOLKA_ASAN
    (void)nAfter;
    std::printf("%s: resident size bound not checked under AddressSanitizer\n", szWhat);
#else
    std::printf("%s: resident size %ld KiB -> %ld KiB\n", szWhat, nBefore, nAfter);
    EXPECT_LT(nAfter - nBefore, kGrowthBoundKiB) << szWhat;
#endif
}

void DropFinalized(gpointer pbFinalized, GObject *)
{
    *static_cast<bool *>(pbFinalized) = true;
}

// One build-show-destroy round. Holds a reference on each of the 54 widgets
// from before the destruction; once the window is destroyed, the widgets
// inside it are still held by ours and the window's registry only, and once
// our reference on the window goes, it is finalized and ours is the last on
// every other widget.
void BuildAndDestroyOnce(int nRound)
{
    GtkWidget *window1 = create_window1();
    complete_window1(window1);
    gtk_widget_show(window1);
    FlushEvents();
    GObject *held[kWidgetCount];
    for (int i = 0; i < kWidgetCount; i++) {
        GtkWidget *w = lookup_widget(window1, kWidgets[i]);
        ASSERT_NE(w, nullptr) << kWidgets[i];
        held[i] = G_OBJECT(g_object_ref(w));
    }
    bool bFinalized = false;
    g_object_weak_ref(held[0], DropFinalized, &bFinalized);

    gtk_widget_destroy(window1);
    FlushEvents();
    EXPECT_EQ(held[0]->ref_count, 1u) << "window1 kept after destroy, round " << nRound;
    for (int i = 1; i < kWidgetCount; i++)
        EXPECT_EQ(held[i]->ref_count, 2u)
            << kWidgets[i] << ": held by more than the registry, round " << nRound;

    g_object_unref(held[0]);
    EXPECT_TRUE(bFinalized) << "window1 not finalized, round " << nRound;
    if (!bFinalized)
        g_object_weak_unref(held[0], DropFinalized, &bFinalized);
    for (int i = 1; i < kWidgetCount; i++) {
        EXPECT_EQ(held[i]->ref_count, 1u)
            << kWidgets[i] << ": still held after the window went, round " << nRound;
        g_object_unref(held[i]);
    }
}

class Memory : public ::testing::Test {
protected:
    void SetUp() override { RequireGtk(); }
};

TEST_F(Memory, AThousandWindowsReleaseEveryWidgetAndStopGrowing)
{
    for (int nRound = 0; nRound < 100; nRound++) {
        BuildAndDestroyOnce(nRound);
        if (HasFailure())
            return;
    }
    const long nBefore = ResidentKiB();
    for (int nRound = 100; nRound < 1100; nRound++) {
        BuildAndDestroyOnce(nRound);
        if (HasFailure())
            return;
    }
    ExpectNoGrowth(nBefore, ResidentKiB(), "1000 windows");
}

// Presses both conversion buttons nCount times with inputs that change on
// every press: positions over the whole grid and both hemispheres, and
// locators of every valid length plus refused ones.
void Convert(GtkWidget *window1, int nFirst, int nCount)
{
    static const char *const kDmsFields[6] = {"entry2", "entry3", "entry4",
                                              "entry5", "entry6", "entry7"};
    static const char *const kLocators[] = {"jn18dtkk78", "AA00AAAA00", "RR99XXXX99",
                                            "qf56odmd0",  "fn30",       "",
                                            "JN18DTKK78X", "\xc3\xa9\xc3\xa9"};
    GtkWidget *button2 = lookup_widget(window1, "button2");
    GtkWidget *button3 = lookup_widget(window1, "button3");
    GtkWidget *entry8 = lookup_widget(window1, "entry8");
    for (int n = nFirst; n < nFirst + nCount; n++) {
        const double values[6] = {n % 180 * 1.0, n % 60 * 1.0, n % 6000 / 100.0,
                                  n % 90 * 1.0, (n / 7) % 60 * 1.0, n % 3600 / 60.0};
        for (int i = 0; i < 6; i++) {
            char szText[32];
            std::snprintf(szText, sizeof szText, "%g", values[i]);
            gtk_entry_set_text(GTK_ENTRY(lookup_widget(window1, kDmsFields[i])), szText);
        }
        gtk_toggle_button_set_active(
            GTK_TOGGLE_BUTTON(lookup_widget(window1, n % 2 ? "radiobutton2" : "radiobutton1")),
            TRUE);
        gtk_toggle_button_set_active(
            GTK_TOGGLE_BUTTON(lookup_widget(window1, n % 3 ? "radiobutton3" : "radiobutton4")),
            TRUE);
        gtk_button_clicked(GTK_BUTTON(button2));

        std::string locator = kLocators[n % (sizeof kLocators / sizeof kLocators[0])];
        if (locator.size() >= 4 && n % 5 == 0)
            locator.resize(std::min<size_t>(1 + n % 10, locator.size()));
        gtk_entry_set_text(GTK_ENTRY(entry8), locator.c_str());
        gtk_button_clicked(GTK_BUTTON(button3));
        if (n % 500 == 0)
            FlushEvents();
    }
    FlushEvents();
}

TEST_F(Memory, TenThousandConversionsEachWayDoNotGrow)
{
    GtkWidget *window1 = create_window1();
    complete_window1(window1);
    gtk_widget_show(window1);
    FlushEvents();
    Convert(window1, 0, 1000);
    const long nBefore = ResidentKiB();
    Convert(window1, 1000, 10000);
    ExpectNoGrowth(nBefore, ResidentKiB(), "10000 conversions each way");

    // The conversions really ran: the last locator is a well-formed result.
    const char *szLast = gtk_entry_get_text(GTK_ENTRY(lookup_widget(window1, "entry1")));
    EXPECT_EQ(std::strlen(szLast), 10u) << szLast;
    gtk_widget_destroy(window1);
}

} // namespace
