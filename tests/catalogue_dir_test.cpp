// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where an installed program looks for its catalogues, worked out from the
// path of its executable.
#include <cstdlib>
#include <limits.h>

#include <gtest/gtest.h>

#include "catalogue_dir.h"

TEST(CatalogueDirectory, IsFoundUnderTheExecutablesOwnPrefix)
{
    const struct {
        const char *szExecutable, *szFromBinDir, *szExpected;
    } kCases[] = {
        {"/usr/bin/tolka", "../share/locale", "/usr/share/locale"},
        {"/home/ada/.local/bin/tolka-cli", "../share/locale", "/home/ada/.local/share/locale"},
        {"/opt/tolka/bin/tolka", "../../share/locale", "/opt/share/locale"},
        {"/opt/tolka/bin/tolka", "../lib/locale", "/opt/tolka/lib/locale"},
        {"/opt/tolka/bin/tolka", "locale", "/opt/tolka/bin/locale"},
        {"/tolka", "../share/locale", "/share/locale"},
        {"/usr/bin/tolka", "..", "/usr"},
        {"tolka", "../share/locale", ""},
        {"", "../share/locale", ""},
    };
    for (const auto &c : kCases)
        EXPECT_EQ(catalogue_directory_beside(c.szExecutable, c.szFromBinDir), c.szExpected)
            << c.szExecutable << " with " << c.szFromBinDir;
}

TEST(CatalogueDirectory, FallsBackToTheConfiguredOneWhenNothingLiesBesideTheProgram)
{
    // The test binary lies in the build tree, with no catalogue directory
    // at this relative place.
    EXPECT_EQ(catalogue_directory("../no-such-dir/locale", "/configured/locale"),
              "/configured/locale");
}

TEST(CatalogueDirectory, PrefersAnExistingDirectoryBesideTheRealExecutable)
{
    // ".." from the directory of this test binary: its parent, which exists.
    char *szSelf = realpath("/proc/self/exe", nullptr);
    ASSERT_NE(szSelf, nullptr);
    const std::string szExpected = catalogue_directory_beside(szSelf, "..");
    free(szSelf);
    EXPECT_EQ(catalogue_directory("..", "/configured/locale"), szExpected);
}
