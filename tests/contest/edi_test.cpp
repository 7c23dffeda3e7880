// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Contest logs (EDI): the rule on locator pairs worked by hand, one contact
// line at a time, a small log with wrong claims and its report, and the
// corrected log byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "contest/edi_check.h"
#include "contest/edi_log.h"
#include "contest/rules.h"
#include "grid/distance.h"

namespace {

const Rules &kIaru = builtin_rules()[0];

// Subsquare centres (1/24 degree of longitude by 1/48 of latitude past the
// corner); d from the law of cosines, 111.2 km a degree; points truncated,
// plus one.
TEST(EdiRule, LocatorPairsGiveTheHandWorkedKilometresAndPoints)
{
    const struct {
        const char *from, *to;
        double kilometres;
        int points;
    } cases[] = {
        // One meridian: d is the latitudes' difference.
        {"JJ00AA", "JJ00AB", 1.0 / 24 * 111.2, 5},   // 4.633: rounding would give 6
        {"JJ00AA", "jj00ax", 23.0 / 24 * 111.2, 107}, // 106.567
        {"JN18DT", "JN18DA", 19.0 / 24 * 111.2, 89},  // 88.033
        // One parallel at 1/48 degree: d is within 1e-7 of the longitudes'.
        {"JJ00AA", "JJ00XA", 23.0 / 12 * 111.2, 214}, // 213.133
        // Across the date line, 179.958 E to 179.958 W.
        {"RJ90XA", "AJ00AA", 1.0 / 12 * 111.2, 10},   // 9.267
        {"JN18DT", "jn18dt", 0, 1},
    };
    for (const auto &c : cases) {
        const Result<LatLon> from = subsquare_centre(c.from), to = subsquare_centre(c.to);
        ASSERT_TRUE(from && to) << c.from << ' ' << c.to;
        const ContestDistance d = iaru_distance(from.value, to.value);
        EXPECT_NEAR(d.kilometres, c.kilometres, 1e-3) << c.from << ' ' << c.to;
        EXPECT_EQ(d.points, c.points) << c.from << ' ' << c.to;
    }
    for (const char *refused : {"JN18", "JN18DT72", "JN18D", "ZZ18DT", ""})
        EXPECT_FALSE(subsquare_centre(refused)) << refused;
}

// Every header field the contest code reads, the first of each, and every
// field of a contact line by its place, blanks kept.
TEST(EdiReader, EveryFieldComesWithItsLine)
{
    const std::string text = "[REG1TEST;1]\nPCall=OK1XYZ/P\npwwlo=JO70NR\nPBand=144 MHz\n"
                             "PSect=SINGLE\nTDate=20260118;20260118\nCQSOs=2;1\nCQSOP=5\n"
                             "CWWLs=1;0;1\nCToSc=5\nCODXC=DL0ABC;JO70NS;4\nPWWLo=JJ00AA\n"
                             "[Remarks]\nPCall=NOT1\n[QSORecords;1]\n"
                             "260118;0812;DL0ABC;1;59;001;57;012;X; JO70NS;2;N1;N2;N3; D \n";
    const EdiLog log = read_edi(text);
    const struct {
        const EdiField &field;
        const char *value;
        uint64_t line;
    } fields[] = {{log.call, "OK1XYZ/P", 2},     {log.own_locator, "JO70NR", 3},
                  {log.band, "144 MHz", 4},      {log.section, "SINGLE", 5},
                  {log.dates, "20260118;20260118", 6}, {log.valid_count, "2;1", 7},
                  {log.total, "5", 8},           {log.squares, "1;0;1", 9},
                  {log.score, "5", 10},          {log.longest, "DL0ABC;JO70NS;4", 11}};
    for (const auto &f : fields) {
        EXPECT_EQ(f.field.value, f.value);
        EXPECT_EQ(f.field.line, f.line) << f.value;
    }
    ASSERT_EQ(log.contacts.size(), 1u);
    const EdiContact &c = log.contacts[0];
    EXPECT_EQ(c.line, 16u);
    const std::string_view got[] = {c.date, c.time, c.call, c.mode, c.sent_report, c.sent_number,
                                    c.received_report, c.received_number, c.received_exchange,
                                    c.locator, c.points, c.new_exchange, c.new_locator,
                                    c.new_dxcc, c.duplicate};
    const char *const want[] = {"260118", "0812", "DL0ABC", "1", "59", "001", "57", "012", "X",
                                " JO70NS", "2", "N1", "N2", "N3", " D "};
    for (size_t i = 0; i < std::size(want); i++)
        EXPECT_EQ(got[i], want[i]) << "field " << i + 1;
    EXPECT_EQ(first_part(log.squares.value), "1");
    EXPECT_EQ(after_first_part(log.squares.value), "0;1");
}

const std::string kHeader = "[REG1TEST;1]\nPWWLo=JJ00AA\n[QSORecords;1]\n";

// The first line of the report on a log of one or two contacts from line 4:
// the first that disagrees, or the summary when all agree.
TEST(EdiContactLine, EachLineScoresByTheRuleOrSaysWhyNot)
{
    const std::string kFirst = "260905;1400;F1AB;1;59;001;59;011;;JJ00AB;5;;;;\n";
    const struct {
        std::string lines;
        const char *report;
    } cases[] = {
        {"260905;1405;F1AB;1;59;001;59;012;;JJ00AB;5;;N;N;", ""},
        {"260905;1405;F1AB;1;59;001;59;012;;jj00ab; 5 ;;;;", ""},
        {"260905;1405;F1AB;1;59;001;59;012;;JJ00AB;5", ""},
        {"260905;1405;F1AB;1;59;001;59;012;;JJ00AB;6;;N;N;",
         "t:4: F1AB JJ00AB: claimed 6, the rule gives 5 (4.63 km)"},
        {"260905;1405;F1AB;1;59;001;59;012;;JJ00AB;;;;;",
         "t:4: F1AB JJ00AB: claimed nothing, the rule gives 5 (4.63 km)"},
        // A duplicate by the calls, portable or not, marked D or " D ".
        {kFirst + "260905;1405;f1ab/p;1;59;001;59;012;;JJ00AB;0;;;;D", ""},
        {kFirst + "260905;1405;F1AB;1;59;001;59;012;;JJ00AB;0;;;; D ", ""},
        {kFirst + "260905;1405;F1AB;1;59;001;59;012;;JJ00AB;5;;;;d",
         "t:5: F1AB JJ00AB: claimed 5, the rule gives 0 (duplicate: line 4 counts it)"},
        {kFirst + "260905;1405;F1AB;1;59;001;59;012;;JJ00AB;0;;;;",
         "t:5: F1AB JJ00AB: a duplicate of line 4, not marked D"},
        // D is not obeyed: the first contact with a station counts.
        {"260905;1405;F1AB;1;59;001;59;012;;JJ00AB;5;;;;D",
         "t:4: F1AB JJ00AB: marked D, but no earlier contact with F1AB counts"},
        // A contact that does not count is no first contact for a duplicate.
        {"260905;1400;F1AB;1;59;001;59;011;;JJ00;0;;;;\n"
         "260905;1405;F1AB;1;59;001;59;012;;JJ00AB;5;;;;",
         ""},
        {"260905;1405;ERROR;1;59;001;;;;;0;;;;", ""},
        {"260905;1405;ERROR;1;59;001;59;012;;JJ00AB;5;;;;",
         "t:4: ERROR JJ00AB: claimed 5, the rule gives 0 (incomplete exchange: the call is "
         "ERROR)"},
        {"260905;1405; ;1;59;001;59;012;;JJ00AB;5;;;;",
         "t:4: JJ00AB: claimed 5, the rule gives 0 (incomplete exchange: no call)"},
        {"260905;1405;F1AB;1;59;001;;012;;JJ00AB;5;;;;",
         "t:4: F1AB JJ00AB: claimed 5, the rule gives 0 (incomplete exchange: no received "
         "report)"},
        {"260905;1405;F1AB;1;59;001;59; ;;JJ00AB;5;;;;",
         "t:4: F1AB JJ00AB: claimed 5, the rule gives 0 (incomplete exchange: no received "
         "number)"},
        {"260905;1405;F1AB;1;59;001;59;012;;;1;;;;",
         "t:4: F1AB: claimed 1, the rule gives 0 (incomplete exchange: no received locator)"},
        {"260905;1405;F1AB;1;59;001;59;012;;JJ00;5;;;;",
         "t:4: F1AB JJ00: claimed 5, the rule gives 0 (invalid locator: JJ00 is not a "
         "6-character locator)"},
        // One message for every length but 6, whatever character 7 is.
        {"260905;1405;F1AB;1;59;001;59;012;;JO31LK44;5;;;;",
         "t:4: F1AB JO31LK44: claimed 5, the rule gives 0 (invalid locator: JO31LK44 is not a "
         "6-character locator)"},
        {"260905;1405;F1AB;1;59;001;59;012;;JO31LKKK78;5;;;;",
         "t:4: F1AB JO31LKKK78: claimed 5, the rule gives 0 (invalid locator: JO31LKKK78 is "
         "not a 6-character locator)"},
        {"260905;1405;F1AB;1;59;001;59;012;;JJ00AB",
         "t:4: a contact has its points in the 11th field, after 10 ';'"},
        // What a log holds is quoted, never passed to the terminal.
        {"260905;1405;F1\x1b" "AB;1;59;001;59;012;;JJ00AB;6;;;;",
         "t:4: F1\\x1BAB JJ00AB: claimed 6, the rule gives 5 (4.63 km)"},
    };
    for (const auto &c : cases) {
        std::string report;
        const bool agrees = check_edi("t", kHeader + c.lines + "\n", kIaru, report, nullptr);
        const std::string first = report.substr(0, report.find('\n'));
        if (*c.report) {
            EXPECT_FALSE(agrees) << c.lines;
            EXPECT_EQ(first, c.report);
        } else {
            EXPECT_TRUE(agrees) << c.lines << ": " << report;
            EXPECT_EQ(first.rfind("t: contacts ", 0), 0u) << first;
        }
    }
}

// A byte order mark, CR LF, a byte that is not UTF-8 in the remarks, a
// wrong count N, a blank line, no line end at the end; CQSOs and CToSc right,
// CQSOP and CODXC wrong.
const std::string kLog = "\xEF\xBB\xBF[REG1TEST;1]\r\n"
                         "TName=Test\r\n"
                         "PWWLo=jn18dt\r\n"
                         "PBand=144 MHz\r\n"
                         "CQSOs=4;1\r\n"
                         "CQSOP=1000\r\n"
                         "CToSc=1138\r\n"
                         "CODXC=G4XYZ;IO91WM;346\r\n"
                         "[Remarks]\r\n"
                         "Caf\xe9\r\n"
                         "[QSORecords;9]\r\n"
                         "260905;1405;DL1ABC;1;59;001;59;012;;JO31LK;442;;N;N;\r\n"
                         "260905;1406;G4XYZ;1;59;002;59;013;;IO91WM;347;;N;N;\r\n"
                         "260905;1407;G4XYZ;1;59;003;59;014;;IO91WM;0;;;;D\r\n"
                         "260905;1408;F5XYZ;1;59;004;59;015;;IO91WM;348;;;;\r\n"
                         "260905;1409;F1AAA;1;59;005;59;016;;JN18;120;;;;\r\n"
                         "\r\n"
                         "260905;1410;F5CCC;1;59;006;59;017;;JN18DT;1;;;;";

TEST(EdiLog, WrongClaimsAreReportedInLineOrderThenTheHeaderThenTheSummary)
{
    std::string report;
    EXPECT_FALSE(check_edi("log.edi", kLog, kIaru, report, nullptr));
    EXPECT_EQ(report,
              "log.edi:12: DL1ABC JO31LK: claimed 442, the rule gives 443 (442.44 km)\n"
              "log.edi:15: F5XYZ IO91WM: claimed 348, the rule gives 347 (346.84 km)\n"
              "log.edi:16: F1AAA JN18: claimed 120, the rule gives 0 (invalid locator: JN18 is "
              "not a 6-character locator)\n"
              "log.edi:6: CQSOP claims 1000, the rule gives 1138\n"
              "log.edi:8: CODXC claims G4XYZ;IO91WM;346, the rule gives DL1ABC;JO31LK;442\n"
              "log.edi: contacts 6, counted 4, duplicates 1, not counted 1; points claimed 1258, "
              "by the rule 1138; score 1138; longest DL1ABC JO31LK 442 km\n");
}

TEST(EdiLog, WriteChangesTheWrongFieldsAndNotOneByteMore)
{
    std::string expected = kLog, report, corrected;
    for (const auto &change : {std::pair<std::string, std::string>{"CQSOP=1000", "CQSOP=1138"},
                               {"CODXC=G4XYZ;IO91WM;346", "CODXC=DL1ABC;JO31LK;442"},
                               {";JO31LK;442;", ";JO31LK;443;"},
                               {"F5XYZ;1;59;004;59;015;;IO91WM;348", "F5XYZ;1;59;004;59;015;;IO91WM;347"},
                               {";JN18;120;", ";JN18;0;"}})
        expected.replace(expected.find(change.first), change.first.size(), change.second);
    check_edi("log.edi", kLog, kIaru, report, &corrected);
    EXPECT_EQ(corrected, expected);
    // Corrected, it agrees, and writes itself back unchanged.
    report.clear();
    std::string again;
    EXPECT_TRUE(check_edi("log.edi", corrected, kIaru, report, &again)) << report;
    EXPECT_EQ(again, corrected);
}

// Two contacts 1/24 degree north and south of PWWLo: 4.63 km, 5 points.
TEST(EdiLog, TheLongestContactIsAnyOfATieInWholeKilometres)
{
    const struct {
        const char *claim;
        bool agrees;
    } cases[] = {{"F1A;JJ00AA;4", true}, {"f2b;jj00ac;4", true}, {"F2B;JJ00AC;5", false},
                 {"F1A;JJ00AC;4", false}, {"", false}};
    for (const auto &c : cases) {
        const std::string log = std::string("[REG1TEST;1]\nPWWLo=JJ00AB\nCODXC=") + c.claim +
                                "\n[QSORecords;2]\n1;1;F1A;1;;;59;1;;JJ00AA;5\n1;1;F2B;1;;;59;2;;JJ00AC;5\n";
        std::string report;
        EXPECT_EQ(check_edi("t", log, kIaru, report, nullptr), c.agrees) << c.claim << ": " << report;
    }
}

// The kilometre rule does not score above 10 GHz; rings score on any band.
TEST(EdiLog, AMissingOrBadOwnLocatorRefusesTheLogAndHighBandsAreNotScored)
{
    const Rules &okpa = builtin_rules()[1];
    const struct {
        const char *header;
        const Rules &rules;
        const char *report;
        bool agrees;
    } cases[] = {
        {"[REG1TEST;1]\nPCall=F6ABC\n", kIaru,
         "t: no PWWLo, the own locator, in the header: the log is not checked\n", false},
        {"[REG1TEST;1]\nPWWLo=JN18\n", kIaru,
         "t:2: PWWLo JN18: JN18 is not a 6-character locator; the log is not checked\n", false},
        {"[REG1TEST;1]\nPWWLo=JN18DT\nPBand=24 GHz\n", kIaru,
         "t:3: PBand 24 GHz is above 10 GHz, where other rules score: no points checked\n", true},
        {"[REG1TEST;1]\nPWWLo=JN18DT\nPBand=24 GHz\n", okpa,
         "t:5: F1AB JJ00AB: claimed 9, the rule gives 50 (ring 48)\n", false},
    };
    for (const auto &c : cases) {
        const std::string log = c.header + std::string("[QSORecords;1]\n") +
                                "260905;0905;F1AB;1;59;001;59;012;;JJ00AB;9;;N;N;\n";
        std::string report, corrected;
        EXPECT_EQ(check_edi("t", log, c.rules, report, &corrected), c.agrees) << c.header;
        EXPECT_EQ(report.substr(0, report.find('\n') + 1), c.report);
        if (c.agrees)
            EXPECT_EQ(corrected, log);
        else
            EXPECT_EQ(corrected.empty(), c.rules.name == "iaru");
    }
    const struct {
        const char *band;
        bool above;
    } bands[] = {{"144 MHz", false}, {"1,3 GHz", false}, {"10 GHz", false},
                 {"10368 MHz", false}, {"24 GHz", true}, {"47GHz", true},
                 {" 76 ghz", true}, {"122250 MHz", true}, {"", false}, {"24 cm", false}};
    for (const auto &b : bands)
        EXPECT_EQ(band_above_10_ghz(b.band), b.above) << b.band;
}

} // namespace

namespace {

// An OK Activity log worked by hand, from JO70FD (large square column 97,
// row 140) on 2026-01-18: rings 0, 1, 1, 2, two duplicates (OK2ABC/P is
// OK2ABC), one after 11:00, ring 2 at 11:00 sharp, a square alone, no
// received number, one before 08:00, ring 3. Points 2+3+3+4+4+5 = 21; the
// squares JO70, JO60, JN89, JO90, JO62 and JN87; 21 x 6 = 126. The farthest
// counted, by the law of cosines between the centres: JN87AA, 366.48 km.
const std::string kOkpaHeader = "[REG1TEST;1]\n"
                                "PCall=OK2TLK\n"
                                "PWWLo=JO70FD\n"
                                "PBand=144 MHz\n"
                                "TDate=20260118;20260118\n"
                                "CQSOs=6;1\n"
                                "CQSOP=21\n"
                                "CWWLs=6;0;1\n"
                                "CToSc=126\n"
                                "CODXC=HA1XYZ;JN87AA;366\n"
                                "[QSORecords;12]\n";
// The contacts, %d standing for the claimed points.
const char *const kOkpaContacts[] = {
    "260118;0800;OK1XYZ;1;59;001;59;001;;JO70GE;%d;;;;",
    "260118;0815;DL0ABC;1;59;002;59;002;;JO60XX;%d;;;;",
    "260118;0830;OK2ABC/P;1;59;003;59;003;;JN89AB;%d;;;;",
    "260118;0845;SP6XYZ;1;59;004;59;004;;JO90AA;%d;;;;",
    "260118;0900;OK1XYZ;1;59;005;59;005;;JO70GE;%d;;;;D",
    "260118;0915;OK2ABC;1;59;006;59;006;;JN89AB;%d;;;;D",
    "260118;1101;DL1AAA;1;59;007;59;007;;JO61AA;%d;;;;",
    "260118;1100;DL2BBB;1;59;008;59;008;;JO62AA;%d;;;;",
    "260118;0930;OM3XYZ;1;59;009;59;009;;JN88;%d;;;;",
    "260118;0940;OK1AAA;1;59;010;59;;;JO70AA;%d;;;;",
    "260118;0745;OK1BBB;1;59;011;59;011;;JO70AA;%d;;;;",
    "260118;0950;HA1XYZ;1;59;012;59;012;;JN87AA;%d;;;;",
};
// The points by okpa, and by iaru (kilometres truncated plus one: 7.53,
// 99.17, 165.92, 256.04, 196.41, 268.24, 32.82 and 366.48 km; no hours).
const int kOkpaPoints[] = {2, 3, 3, 4, 0, 0, 0, 4, 0, 0, 0, 5};
const int kIaruPoints[] = {8, 100, 166, 257, 0, 0, 197, 269, 0, 0, 33, 367};

std::string okpa_log(const int (&points)[12])
{
    std::string log = kOkpaHeader;
    char line[128];
    for (size_t i = 0; i < 12; i++) {
        snprintf(line, sizeof line, kOkpaContacts[i], points[i]);
        log.append(line).append("\n");
    }
    return log;
}

const std::string kOkpaSummary = "okpa.edi: contacts 12, counted 6, duplicates 2, not counted 4; "
                                 "points claimed %s, by the rule 21; score 126 (6 squares); "
                                 "longest HA1XYZ JN87AA 366 km\n";

std::string okpa_summary(const char *claimed)
{
    std::string text = kOkpaSummary;
    return text.replace(text.find("%s"), 2, claimed);
}

TEST(OkpaLog, AHandWorkedLogAgreesAndWrongClaimsAreCorrected)
{
    const Rules &okpa = builtin_rules()[1];
    const std::string good = okpa_log(kOkpaPoints);
    std::string report, corrected;
    EXPECT_TRUE(check_edi("okpa.edi", good, okpa, report, &corrected)) << report;
    EXPECT_EQ(report, okpa_summary("21"));
    EXPECT_EQ(corrected, good);

    // A ring 1 claimed as 4, the contact after 11:00 claimed, the squares
    // and the score short by one.
    int wrong[12];
    std::copy(std::begin(kOkpaPoints), std::end(kOkpaPoints), wrong);
    wrong[1] = 4;
    wrong[6] = 3;
    std::string bad = okpa_log(wrong);
    bad.replace(bad.find("CWWLs=6"), 7, "CWWLs=5");
    bad.replace(bad.find("CToSc=126"), 9, "CToSc=105");
    report.clear();
    corrected.clear();
    EXPECT_FALSE(check_edi("okpa.edi", bad, okpa, report, &corrected));
    EXPECT_EQ(report, "okpa.edi:13: DL0ABC JO60XX: claimed 4, the rule gives 3 (ring 1)\n"
                      "okpa.edi:18: DL1AAA JO61AA: claimed 3, the rule gives 0 (outside the "
                      "contest period)\n"
                      "okpa.edi:8: CWWLs claims 5, the rule gives 6\n"
                      "okpa.edi:9: CToSc claims 105, the rule gives 126\n" +
                          okpa_summary("25"));
    EXPECT_EQ(corrected, good);
}

// Most claims disagree with the rule chosen: the report names the built-in
// rule they follow, once, after the summary.
TEST(OkpaLog, ClaimsByAnotherBuiltInRuleAreHinted)
{
    const Rules &okpa = builtin_rules()[1];
    const struct {
        const int (&claims)[12];
        const Rules &chosen;
        const char *hint;
    } cases[] = {
        {kOkpaPoints, builtin_rules()[0],
         "okpa.edi: the claimed points follow okpa on 12 of 12 contacts: --rules okpa?"},
        {kIaruPoints, builtin_rules()[1],
         "okpa.edi: the claimed points follow iaru on 12 of 12 contacts: --rules iaru?"},
    };
    for (const auto &c : cases) {
        std::string report;
        EXPECT_FALSE(check_edi("okpa.edi", okpa_log(c.claims), c.chosen, report, nullptr));
        ASSERT_GE(report.size(), 2u);
        const size_t last = report.rfind('\n', report.size() - 2) + 1;
        EXPECT_EQ(report.substr(last), std::string(c.hint) + "\n") << report;
        EXPECT_EQ(report.find("follow"), report.rfind("follow"));
        EXPECT_NE(report.rfind("okpa.edi: contacts 12", last - 1), std::string::npos);
    }
    // No hint: two claims of twelve wrong; every claim 0 on a log whose
    // times, 10 hours later, okpa does not count but for 11:00 and 11:01.
    int wrong[12], zeros[12] = {};
    std::copy(std::begin(kOkpaPoints), std::end(kOkpaPoints), wrong);
    wrong[0] = wrong[1] = 9;
    std::string late = okpa_log(zeros);
    for (size_t at; (at = late.find("260118;0")) != std::string::npos;)
        late[at + 7] = '1';
    for (const auto &[log, rules] : {std::pair<std::string, const Rules *>{okpa_log(wrong), &okpa},
                                     {late, &builtin_rules()[0]}}) {
        std::string report;
        EXPECT_FALSE(check_edi("okpa.edi", log, *rules, report, nullptr));
        EXPECT_EQ(report.find("follow"), std::string::npos) << report;
    }
}

// A rules file of its own: 432 MHz counts twice, 100 points a square.
// From AJ00AA: AJ00AB 4.63 km (5 points), RJ90XA across the date line 9.27
// km (10 points); squares AJ00 and RJ90; (15 x 2 + 100 x 2) = 230.
TEST(RulesFileLog, TheBandFactorAndSquareBonusMakeTheScore)
{
    Rules rules;
    ASSERT_TRUE(read_rules("name = \"test\"\npoints = \"km\"\nsquare_bonus = 100\n"
                           "band_factor = { \"432 MHz\" = 2 }\n",
                           rules)
                    .empty());
    const std::string log = "[REG1TEST;1]\nPWWLo=AJ00AA\nPBand=432 MHz\nCQSOP=15\n"
                            "CWWLs=%d;0;1\nCToSc=%d\n[QSORecords;2]\n"
                            "260905;1405;F1AB;1;59;001;59;012;;AJ00AB;5;;;;\n"
                            "260905;1406;W1XYZ;1;59;002;59;013;;RJ90XA;10;;;;\n";
    const struct {
        int squares, score;
        const char *report;
    } cases[] = {
        {2, 230, ""},
        {1, 130,
         "t:5: CWWLs claims 1, the rule gives 2\nt:6: CToSc claims 130, the rule gives 230\n"},
    };
    for (const auto &c : cases) {
        char text[512];
        snprintf(text, sizeof text, log.c_str(), c.squares, c.score);
        std::string report;
        EXPECT_EQ(check_edi("t", text, rules, report, nullptr), !*c.report);
        EXPECT_EQ(report, std::string(c.report) +
                              "t: contacts 2, counted 2, duplicates 0, not counted 0; points "
                              "claimed 15, by the rule 15; score 230 (2 squares); longest W1XYZ "
                              "RJ90XA 9 km\n");
    }
}

// TDate that does not read is said, and no date is held against a contact.
TEST(OkpaLog, AnUnreadableTDateIsReported)
{
    std::string log = okpa_log(kOkpaPoints);
    log.replace(log.find("TDate=20260118;20260118"), 23, "TDate=18.01.2026");
    std::string report;
    EXPECT_FALSE(check_edi("okpa.edi", log, builtin_rules()[1], report, nullptr));
    EXPECT_EQ(report.substr(0, report.find('\n')),
              "okpa.edi:5: TDate 18.01.2026 is not YYYYMMDD;YYYYMMDD: the contest's dates are "
              "not checked");
    EXPECT_EQ(report.substr(report.find('\n') + 1), okpa_summary("21"));
}

} // namespace
