// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Contest rules: rules files read and refused, rings of large squares and
// the points they give worked by hand, a log's total by the formula, the
// station a call names, and which contacts count, in the order the reasons
// are tried.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "contest/counting.h"
#include "contest/report.h"
#include "contest/rules.h"
#include "contest/scoring.h"
#include "contest/station.h"

namespace {

const std::string kMinimal = "name = \"test\"\npoints = \"km\"\n";

TEST(RulesFile, EveryKeyIsReadIntoTheRules)
{
    Rules rules;
    const RulesRefusal why = read_rules(
        kMinimal + "band_factor = { \"432 MHz\" = 2, \"1.3 GHz\" = 3 }\nsquare_bonus = 100\n"
                   "square_multiplier = false\nhours = \"07:30-10:59\"\ntolerance_minutes = 3\n",
        rules);
    ASSERT_TRUE(why.empty()) << why.format;
    EXPECT_EQ(rules.name, "test");
    EXPECT_EQ(rules.points, PointsBy::kKilometres);
    ASSERT_EQ(rules.band_factor.size(), 2u);
    EXPECT_EQ(band_factor(rules, "432 MHz"), 2);
    EXPECT_EQ(band_factor(rules, "1,3 GHz"), 3);
    EXPECT_EQ(rules.square_bonus, 100);
    EXPECT_FALSE(rules.square_multiplier);
    EXPECT_TRUE(rules.hours);
    EXPECT_EQ(rules.first_minute, 7 * 60 + 30);
    EXPECT_EQ(rules.last_minute, 10 * 60 + 59);
    EXPECT_EQ(rules.tolerance_minutes, 3);

    // What is left out takes its default.
    ASSERT_TRUE(read_rules(kMinimal, rules).empty());
    EXPECT_TRUE(rules.band_factor.empty());
    EXPECT_EQ(rules.square_bonus, 0);
    EXPECT_FALSE(rules.hours);
    EXPECT_EQ(rules.tolerance_minutes, 10);
}

// Each kind of mistake, with the line it is on and the key it names; of
// two, the earlier line.
TEST(RulesFile, EachMistakeIsRefusedWithItsLineAndKey)
{
    const struct {
        std::string text;
        uint64_t line;
        const char *message;
    } cases[] = {
        {kMinimal + "colour = 3\n", 3, "unknown key colour"},
        {kMinimal + "[scoring]\nbonus = 1\n", 3, "unknown key scoring"},
        {kMinimal + "square_bonus = \"ten\"\n", 3, "square_bonus must be a whole number"},
        {kMinimal + "square_bonus = 1.5\n", 3, "square_bonus must be a whole number"},
        {kMinimal + "square_multiplier = 1\n", 3, "square_multiplier must be true or false"},
        {kMinimal + "band_factor = 2\n", 3,
         "band_factor must be a table of bands and their factors"},
        {kMinimal + "band_factor = { \"432 MHz\" = 1.5 }\n", 3,
         "band_factor.\"432 MHz\" must be a whole number"},
        {kMinimal + "[band_factor]\n\"144 MHz\" = 1\n\"432 MHz\" = 0\n", 5,
         "band_factor.\"432 MHz\" = 0 is out of range (1 to 1000)"},
        {kMinimal + "hours = 8\n", 3, "hours must be a string"},
        {"name = 7\npoints = \"km\"\n", 1, "name must be a string"},
        {"name = \" \"\npoints = \"km\"\n", 1, "name is empty"},
        {"name = \"x\"\npoints = \"miles\"\n", 2, "points = miles is not \"km\" or \"rings\""},
        {kMinimal + "square_bonus = -1\n", 3, "square_bonus = -1 is out of range (0 to 10000)"},
        {kMinimal + "tolerance_minutes = 1441\n", 3,
         "tolerance_minutes = 1441 is out of range (0 to 1440)"},
        {kMinimal + "hours = \"11:00-08:00\"\n", 3,
         "hours = 11:00-08:00 is not a UTC window HH:MM-HH:MM within a day, the first time no "
         "later than the second"},
        {kMinimal + "hours = \"8:00-11:00\"\n", 3,
         "hours = 8:00-11:00 is not a UTC window HH:MM-HH:MM within a day, the first time no "
         "later than the second"},
        {kMinimal + "hours = \"08:00-24:00\"\n", 3,
         "hours = 08:00-24:00 is not a UTC window HH:MM-HH:MM within a day, the first time no "
         "later than the second"},
        {"points = \"km\"\n", 0, "the key name is missing"},
        {"name = \"x\"\n", 0, "the key points is missing"},
        {"zeta = 1\n" + kMinimal + "alpha = 2\n", 1, "unknown key zeta"},
        // A key's text is quoted, not passed to the terminal.
        {kMinimal + "\"a\\u001Bb\" = 1\n", 3, "unknown key a\\x1Bb"},
    };
    for (const auto &c : cases) {
        Rules rules;
        const RulesRefusal why = read_rules(c.text, rules);
        ASSERT_FALSE(why.empty()) << c.text;
        EXPECT_EQ(why.line, c.line) << c.text;
        EXPECT_EQ(reason_text(why.reason()), c.message) << c.text;
    }
    // Not TOML at all: toml++'s own words, on the line of the mistake.
    Rules rules;
    const RulesRefusal why = read_rules(kMinimal + "points = \n", rules);
    EXPECT_EQ(why.line, 3u);
    EXPECT_EQ(reason_text(why.reason()).rfind("not a TOML text: ", 0), 0u);
}

// The built-in rules are texts of the same format, and the manual shows
// okpa's as it stands.
TEST(RulesFile, TheBuiltInRulesReadAndTheManualShowsOkpa)
{
    ASSERT_EQ(kBuiltinRulesCount, builtin_rules().size());
    for (size_t i = 0; i < kBuiltinRulesCount; i++) {
        Rules rules;
        EXPECT_TRUE(read_rules(kBuiltinRules[i].text, rules).empty()) << kBuiltinRules[i].name;
        EXPECT_EQ(rules.name, kBuiltinRules[i].name);
    }
    const Rules &iaru = builtin_rules()[0], &okpa = builtin_rules()[1];
    EXPECT_EQ(iaru.points, PointsBy::kKilometres);
    EXPECT_FALSE(iaru.hours || iaru.square_multiplier || iaru.square_bonus != 0);
    EXPECT_EQ(okpa.points, PointsBy::kRings);
    EXPECT_TRUE(okpa.square_multiplier);
    EXPECT_EQ(okpa.first_minute, 8 * 60);
    EXPECT_EQ(okpa.last_minute, 11 * 60);

    // The manual's example: the .EX block that names okpa, roff's \- read as -.
    std::ifstream in(TOLKA_SOURCE_DIR "/docs/tolka-cli.1");
    std::stringstream manual;
    manual << in.rdbuf();
    const std::string text = manual.str();
    const size_t name = text.find("name = \"okpa\"");
    ASSERT_NE(name, std::string::npos);
    const size_t start = text.rfind(".EX\n", name) + 4, end = text.find(".EE\n", name);
    std::string example = text.substr(start, end - start);
    for (size_t at; (at = example.find("\\-")) != std::string::npos;)
        example.erase(at, 1);
    EXPECT_EQ(example, kBuiltinRules[1].text);
}

TEST(RulesFile, TheRulesArgumentIsABuiltInNameOrAFile)
{
    Rules rules;
    std::string place;
    EXPECT_TRUE(load_rules("okpa", rules, place).empty());
    EXPECT_EQ(rules.name, "okpa");
    EXPECT_EQ(place, "okpa");

    const std::string path = testing::TempDir() + "tolka-rules.toml";
    std::ofstream(path) << kMinimal << "square_bonus = 5\n";
    EXPECT_TRUE(load_rules(path, rules, place).empty());
    EXPECT_EQ(rules.name, "test");
    EXPECT_EQ(rules.square_bonus, 5);
    EXPECT_EQ(place, path);
    std::ofstream(path) << kMinimal << "square_bonus = 5.5\n";
    EXPECT_EQ(load_rules(path, rules, place).line, 3u);
    std::remove(path.c_str());

    const RulesRefusal why = load_rules(path, rules, place);
    EXPECT_EQ(why.line, 0u);
    EXPECT_EQ(reason_text(why.reason()),
              "not a built-in rule (iaru, okpa), and cannot read the file: No such file or "
              "directory");
}

// Large squares as columns and rows; a ring is the larger of the two
// differences, columns taken the short way round.
TEST(Rings, LargeSquaresGiveTheHandWorkedRingAndPoints)
{
    const struct {
        const char *from, *to;
        int ring;
    } cases[] = {
        {"JO70FD", "jo70xx", 0},
        // Across a field's edge: JN99 is column 99, row 139.
        {"JN99AA", "JO90AA", 1},
        {"JN99AA", "KN09AA", 1},
        {"JN99AA", "KO00AA", 1},
        {"JN99XX", "JN88AA", 1},
        {"JO70FD", "JN87AA", 3},
        {"JO70FD", "IO91AA", 8},
        {"JO70FD", "JO62AA", 2},
        // Round the date line: columns 0 and 179 are neighbours.
        {"AA00AA", "RA90AA", 1},
        {"AJ05AA", "RJ85AA", 2},
        // Rows do not wrap: the poles are 179 rows apart.
        {"JA00AA", "JR09AA", 179},
    };
    Rules rings;
    rings.points = PointsBy::kRings;
    for (const auto &c : cases) {
        const Result<ContestPlace> from = contest_place(c.from), to = contest_place(c.to);
        ASSERT_TRUE(from && to) << c.from << ' ' << c.to;
        EXPECT_EQ(ring_between(from.value, to.value), c.ring) << c.from << ' ' << c.to;
        EXPECT_EQ(ring_between(to.value, from.value), c.ring) << c.to << ' ' << c.from;
        const ContactScore score = score_contact(rings, from.value, to.value);
        EXPECT_EQ(score.points, 2 + c.ring) << c.from << ' ' << c.to;
        EXPECT_EQ(score.ring, c.ring);
    }
}

// Total = (points x band factor + bonus x squares) x (squares if multiplied).
TEST(LogScore, TheTotalFollowsTheFormula)
{
    const struct {
        int64_t bonus;
        bool multiplier;
        int64_t factor, points, squares, total;
    } cases[] = {
        {0, false, 1, 443, 3, 443},     {0, true, 1, 106, 7, 742},
        {0, true, 2, 21, 6, 252},       {100, false, 2, 219, 1, 538},
        {100, true, 1, 10, 3, 930},     {0, true, 1, 0, 1, 0},
    };
    for (const auto &c : cases) {
        Rules rules;
        rules.square_bonus = c.bonus;
        rules.square_multiplier = c.multiplier;
        const LogScore score = log_score(rules, c.factor, c.points, c.squares);
        EXPECT_EQ(score.total, c.total) << c.points << " x " << c.factor << " + " << c.bonus;
        EXPECT_EQ(score.points, c.points);
        EXPECT_EQ(score.squares, c.squares);
    }
    // Squares are counted once each.
    LargeSquares squares;
    for (const char *locator : {"JO70FD", "JO70XX", "jo70aa", "JN99AA", "JO70FD", "RR99XX"})
        squares.add(contest_place(locator).value);
    EXPECT_EQ(squares.count(), 3);
}

TEST(BandFactor, BandsMatchByFrequencyElseByName)
{
    const struct {
        const char *band;
        std::optional<int64_t> kilohertz;
    } frequencies[] = {{"144 MHz", 144000},     {"1,3 GHz", 1300000}, {"1.3GHz", 1300000},
                       {"10368.1 MHz", 10368100}, {" 24 ghz ", 24000000}, {"2 m", std::nullopt},
                       {"", std::nullopt},      {"MHz", std::nullopt},  {"144", std::nullopt}};
    for (const auto &f : frequencies)
        EXPECT_EQ(band_kilohertz(f.band), f.kilohertz) << f.band;

    Rules rules;
    rules.band_factor = {{"432 MHz", 2}, {"1.3 GHz", 3}, {"2 m", 4}};
    const struct {
        const char *band;
        int64_t factor;
    } cases[] = {{"432MHz", 2}, {"0,432 GHz", 2}, {"1300 MHz", 3}, {"1296 MHz", 1},
                 {"2M", 4},     {"144 MHz", 1},   {"", 1}};
    for (const auto &c : cases)
        EXPECT_EQ(band_factor(rules, c.band), c.factor) << c.band;
}

TEST(Station, ShortPartsOfACallAreDropped)
{
    const struct {
        const char *call, *station;
    } cases[] = {
        {"OK1ABC", "OK1ABC"},      {"ok1abc/p", "OK1ABC"},  {"OK1ABC/9", "OK1ABC"},
        {"OK/OK1ABC", "OK1ABC"},   {"DL/OK1ABC/MM", "OK1ABC"}, {" OK1ABC ", "OK1ABC"},
        {"K1A", "K1A"},            {"F/K1A", "K1A"},        {"OK1ABC/DL0ABC", "OK1ABC/DL0ABC"},
        {"", ""},
    };
    std::string buffer;
    for (const auto &c : cases)
        EXPECT_EQ(station_of(c.call, buffer), c.station) << c.call;
}

// One contest day, 2026-01-18, 08:00 to 11:00; each line tests one reason,
// or which of two comes first.
TEST(Counting, TheFirstReasonFoundIsTheOneGiven)
{
    Rules rules;
    rules.hours = true;
    rules.first_minute = 8 * 60;
    rules.last_minute = 11 * 60;
    const std::string text = "[REG1TEST;1]\nTDate=20260118;20260118\n[QSORecords;1]\n"
                             "260118;0800;OK1XYZ;1;59;001;59;001;;JO70GE;2;;;;\n"
                             "260118;1100;DL0ABC;1;59;002;59;002;;JO60XX;3;;;;\n"
                             "260118;0759;OK2XYZ;1;59;003;59;003;;JO70GE;2;;;;\n"
                             "260118;1101;OK3XYZ;1;59;004;59;004;;JO70GE;2;;;;\n"
                             "260117;0900;OK4XYZ;1;59;005;59;005;;JO70GE;2;;;;\n"
                             "260118;09;OK5XYZ;1;59;006;59;006;;JO70GE;2;;;;\n"
                             "260118;0900;OK6XYZ;1;59;007;;;;JO70GE;2;;;;\n"
                             "260117;0900;OK7XYZ;1;59;008;59;;;JO70GE;2;;;;\n"
                             "260117;0900;OK8XYZ;1;59;009;59;009;;JO70;2;;;;\n"
                             "260118;0900;OK9XYZ;1;59;010;59;010;;JO70;2;;;;\n"
                             "260118;0900;OK1XYZ/P;1;59;011;59;011;;JO70;2;;;;\n"
                             "260118;0900;dl0abc;1;59;012;59;012;;JO60XX;0;;;;\n"
                             "260118;0900;ERROR;1;59;013;59;013;;JO60XX;0;;;;\n";
    const struct {
        Verdict verdict;
        const char *detail;
        size_t first;
    } expected[] = {
        {Verdict::kUnverified, "", kNoContact},
        {Verdict::kUnverified, "", kNoContact},
        {Verdict::kOutside, "", kNoContact},
        {Verdict::kOutside, "", kNoContact},
        {Verdict::kOutside, "", kNoContact},
        {Verdict::kOutside, "", kNoContact},
        {Verdict::kIncomplete, "no received report", kNoContact},
        {Verdict::kIncomplete, "no received number", kNoContact},
        {Verdict::kOutside, "", kNoContact},
        {Verdict::kInvalidLocator, "JO70 is not a 6-character locator", kNoContact},
        {Verdict::kInvalidLocator, "JO70 is not a 6-character locator", kNoContact},
        {Verdict::kDuplicate, "", 1},
        {Verdict::kIncomplete, "the call is ERROR", kNoContact},
    };
    const EdiLog log = read_edi(text);
    const std::vector<Count> counts = count_contacts(log, rules, read_contest_dates(log.dates.value));
    ASSERT_EQ(counts.size(), std::size(expected));
    for (size_t i = 0; i < counts.size(); i++) {
        EXPECT_EQ(verdict_name(counts[i].verdict).column, verdict_name(expected[i].verdict).column)
            << "contact " << i + 1;
        EXPECT_EQ(counts[i].detail.empty() ? "" : reason_text(counts[i].detail), expected[i].detail)
            << "contact " << i + 1;
        EXPECT_EQ(counts[i].first, expected[i].first) << "contact " << i + 1;
    }
    // Without hours and dates, every time and day counts.
    const std::vector<Count> any = count_contacts(log, Rules{}, std::nullopt);
    for (size_t i : {2, 3, 4, 5})
        EXPECT_EQ(any[i].verdict, Verdict::kUnverified) << "contact " << i + 1;
}

TEST(Counting, TheContestDatesRead)
{
    const struct {
        const char *value;
        std::optional<std::pair<uint32_t, uint32_t>> dates;
    } cases[] = {{"20260905;20260906", {{20260905, 20260906}}},
                 {" 20260118 ; 20260118 ", {{20260118, 20260118}}},
                 {"20260118", {{20260118, 20260118}}},
                 {"20260906;20260905", std::nullopt},
                 {"2026-01-18", std::nullopt},
                 {"260118;260118", std::nullopt},
                 {"", std::nullopt}};
    for (const auto &c : cases) {
        const std::optional<ContestDates> dates = read_contest_dates(c.value);
        ASSERT_EQ(dates.has_value(), c.dates.has_value()) << c.value;
        if (dates) {
            EXPECT_EQ(dates->first, c.dates->first);
            EXPECT_EQ(dates->last, c.dates->second);
        }
    }
}

} // namespace
