// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tolka-cli adif as the command runs it: the file, --check's summary.
#include <gtest/gtest.h>

#include <string>

#include "cli/commands.h"
#include "memory_io.h"

namespace {

constexpr char kPosition[] = "<LAT:11>N048 48.633 <LON:11>E002 17.233 ";

TEST(AdifRun, CheckWritesNoLogOnlyMessagesAndASummary)
{
    const char *const argv[] = {"tolka-cli", "adif", "--check", "--from", "JN18DT"};
    StringSource in("<CALL:4>W1AW <GRIDSQUARE:7>VARIOUS <EOR><CALL:4>K1AA" +
                    std::string(kPosition) + "<EOR>");
    StringSink out, err;
    EXPECT_EQ(run(parse_arguments(5, argv), in, out, err), 1);
    EXPECT_EQ(out.text, "");
    EXPECT_EQ(err.text, "tolka-cli: record 1 (W1AW): GRIDSQUARE VARIOUS is not a Maidenhead "
                        "locator of 2, 4, 6 or 8 characters\n"
                        "tolka-cli: records read: 2, locators filled: 1, distances filled: 1, "
                        "problems: 1\n");
}

} // namespace
