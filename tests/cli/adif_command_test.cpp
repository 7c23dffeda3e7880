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
    const std::string position = kPosition;
    static const struct {
        const char *what;
        bool from; // --from JN18DT
        std::string log;
        int status;
        const char *messages;
    } kRows[] = {
        {"a problem", true,
         "<CALL:4>W1AW <GRIDSQUARE:7>VARIOUS <EOR><CALL:4>K1AA" + position + "<EOR>", 1,
         "tolka-cli: record 1 (W1AW): GRIDSQUARE VARIOUS is not a Maidenhead locator of 2, 4, 6 "
         "or 8 characters\n"
         "tolka-cli: records read: 2, locators filled: 1, distances filled: 1, problems: 1\n"
         "tolka-cli: distances not filled: 1 in records left as they are\n"},
        {"distances not filled, by why", false,
         "<CALL:4>W1AW " + position + "<EOR>\n<CALL:4>K1AA <GRIDSQUARE:4>FN31 <EOR>\n"
         "<CALL:4>K1AB <LAT:11>N048 48.633 <MY_GRIDSQUARE:4>JN18 <EOR>\n"
         "<CALL:4>K1AC <MY_GRIDSQUARE:4>JN18 <EOR>\n<CALL:4>K1AD <DISTANCE:3>1.0 <EOR>\n",
         0,
         "tolka-cli: records read: 5, locators filled: 1, distances filled: 0, problems: 0\n"
         "tolka-cli: distances not filled: 1 with a LAT or a LON alone\n"
         "tolka-cli: distances not filled: 2 without the station's own position (--from)\n"
         "tolka-cli: distances not filled: 1 without the contacted station's position\n"},
    };
    for (const auto &row : kRows) {
        const char *const argv[] = {"tolka-cli", "adif", "--check", "--from", "JN18DT"};
        StringSource in(row.log);
        StringSink out, err;
        EXPECT_EQ(run(parse_arguments(row.from ? 5 : 3, argv), in, out, err), row.status)
            << row.what;
        EXPECT_EQ(out.text, "") << row.what;
        EXPECT_EQ(err.text, row.messages) << row.what;
    }
}

} // namespace
