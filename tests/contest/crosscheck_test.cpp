// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole-contest check: the band a PBand names, calls one edit apart,
// contact times in minutes, and a made contest (tests/contest/logs, every
// call made up) with every verdict, its results table and a report.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "band.h"
#include "crosscheck.h"
#include "results.h"
#include "rules.h"

namespace {

TEST(ContestBand, PBandReadsAsFrequencyOrWavelengthOfItsBand)
{
    const struct {
        const char *pband, *band; /* null: refused */
    } cases[] = {
        {"144 MHz", "144 MHz"}, {"145", "144 MHz"}, {"145 MHz", "144 MHz"},
        {" 144.300MHz ", "144 MHz"}, {"148", "144 MHz"}, {"148.001", nullptr},
        {"1,3 GHz", "1.3 GHz"}, {"1.3 GHz", "1.3 GHz"}, {"1296 MHz", "1.3 GHz"},
        {"1300.0 MHz", "1.3 GHz"}, {"1.3001 GHz", nullptr}, {"432 MHZ", "432 MHz"},
        {"6m", "50 MHz"}, {"4m", "70 MHz"}, {"2m", "144 MHz"}, {"2 M", "144 MHz"},
        {"70cm", "432 MHz"}, {"23cm", "1.3 GHz"}, {"13cm", "2.3 GHz"}, {"9cm", "3.4 GHz"},
        {"6cm", "5.7 GHz"}, {"3cm", "10 GHz"}, {"1.2cm", "24 GHz"}, {"1,2 cm", "24 GHz"},
        {"10368 MHz", "10 GHz"}, {"47 GHz", "47 GHz"}, {"76 GHz", "76 GHz"},
        {"75500", "76 GHz"}, {"122.25 GHz", "122 GHz"}, {"134 GHz", "134 GHz"},
        {"241 GHz", "241 GHz"}, {"250000", "241 GHz"}, {"50", "50 MHz"}, {"54", "50 MHz"},
        {"27 MHz", nullptr}, {"11 GHz", nullptr}, {"3m", nullptr}, {"2km", nullptr},
        {"", nullptr}, {"MHz", nullptr}, {"1.2.3 GHz", nullptr}, {"144 kHz", nullptr},
        {"1440000000000000 MHz", nullptr}, {"-144", nullptr},
    };
    for (const auto &c : cases) {
        const Result<size_t> band = read_band(c.pband);
        if (c.band) {
            ASSERT_TRUE(band) << c.pband;
            EXPECT_STREQ(kBands[band.value].name, c.band) << c.pband;
        } else
            EXPECT_FALSE(band) << c.pband << " read as " << kBands[band.value].name;
    }
}

TEST(ContestCall, OneEditApartIsOneChangedAddedRemovedOrSwapped)
{
    const struct {
        const char *a, *b;
        bool apart;
    } cases[] = {
        {"OK1ABC", "OK1ABD", true},  {"OK1ABC", "OK2ABC", true},  {"OK1ABC", "OK1AB", true},
        {"OK1ABC", "K1ABC", true},   {"OK1ABC", "OK1ABCD", true}, {"OK1ABC", "OK1XABC", true},
        {"OK1ABC", "KO1ABC", true},  {"OK1ABC", "OK1ACB", true},  {"OK1ABC", "OK1ABC", false},
        {"OK1ABC", "OK1BCA", false}, {"OK1ABC", "OK1AXY", false}, {"OK1ABC", "OK1A", false},
        {"OK1ABC", "OK1ACBX", false}, {"AB", "BA", true},         {"A", "", true},
        {"ABCD", "BADC", false},     {"OK1ABC", "OK1BAD", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(one_edit_apart(c.a, c.b), c.apart) << c.a << ' ' << c.b;
        EXPECT_EQ(one_edit_apart(c.b, c.a), c.apart) << c.b << ' ' << c.a;
    }
}

TEST(ContestTime, MinutesRunOnAcrossMidnightMonthsAndLeapDays)
{
    const auto minute = [](const char *date, const char *time) {
        const std::optional<int32_t> m = contact_minute(date, time);
        return m ? *m : -1;
    };
    const struct {
        const char *date1, *time1, *date2, *time2;
        int minutes; /* from the first to the second */
    } cases[] = {
        {"260905", "2359", "260906", "0003", 4}, {"260930", "2355", "261001", "0005", 10},
        {"261231", "2350", "270101", "0000", 10}, {"280228", "2359", "280229", "0000", 1},
        {"280228", "2359", "280301", "0000", 24 * 60 + 1}, {"270228", "2359", "270301", "0000", 1},
        {"000101", "0000", "000101", "0001", 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(minute(c.date2, c.time2) - minute(c.date1, c.time1), c.minutes)
            << c.date1 << ' ' << c.time1 << " to " << c.date2 << ' ' << c.time2;
    for (const auto &bad : {std::pair{"270229", "1200"}, {"261301", "1200"}, {"260900", "1200"},
                            {"260905", "2400"}, {"260905", "1260"}, {"2609051", "1200"},
                            {"260905", "120"}, {"26O905", "1200"}, {"", ""}})
        EXPECT_FALSE(contact_minute(bad.first, bad.second)) << bad.first << ' ' << bad.second;
}

std::string read_log(const std::string &name)
{
    std::ifstream file(std::string(TOLKA_CONTEST_LOGS) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

const char *const kFiles[] = {"a.edi", "b.edi", "c.edi", "d.edi", "e.edi", "f.edi", "g.edi",
                              "h.edi"};

/* The made contest, checked by the default rules. */
class MadeContest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string place;
        ASSERT_TRUE(load_rules("iaru", m_rules, place).empty());
        for (size_t i = 0; i < std::size(kFiles); i++) {
            m_texts[i] = read_log(kFiles[i]);
            ASSERT_FALSE(m_texts[i].empty()) << kFiles[i];
            m_contest.add(kFiles[i], m_texts[i]);
        }
        m_contest.check();
    }

    const ContestLog &log(const char *file) const
    {
        for (const ContestLog &l : m_contest.logs())
            if (l.file == file)
                return l;
        ADD_FAILURE() << file << " not kept";
        return m_contest.logs().front();
    }

    Rules m_rules;
    std::string m_texts[std::size(kFiles)];
    Contest m_contest{m_rules, 10};
};

TEST_F(MadeContest, EveryLineGetsTheVerdictACommitteeGives)
{
    const struct {
        const char *file;
        size_t contact; /* from 0 */
        Verdict verdict;
        bool unique;
    } cases[] = {
        {"a.edi", 0, Verdict::kConfirmed, false},     // OK1BBB logged it alike
        {"a.edi", 1, Verdict::kBustedLocator, false}, // SP2CCC/P is JO33LK, not LA
        {"a.edi", 2, Verdict::kTime, false},          // PA3DDD logged it 30 minutes later
        {"a.edi", 3, Verdict::kBustedCall, false},    // OM3EEF for OM3EEE
        {"a.edi", 4, Verdict::kUnverified, false},    // HB9XYZ sent no log; OK1BBB has it too
        {"a.edi", 5, Verdict::kUnverified, true},     // LX1UNQ: no one else
        {"a.edi", 6, Verdict::kDuplicate, false},
        {"b.edi", 0, Verdict::kBustedReport, false}, // 57 for 59
        {"b.edi", 1, Verdict::kConfirmed, false},    // 10 minutes apart; 599 and 17 for 59 and 017
        {"b.edi", 2, Verdict::kUnverified, false},
        {"b.edi", 3, Verdict::kOutside, false}, // PA3DDD, two days late
        {"b.edi", 4, Verdict::kConfirmed, false}, // across midnight
        {"c.edi", 0, Verdict::kBustedNumber, false},
        {"c.edi", 1, Verdict::kConfirmed, false}, // the locator in lower case
        {"c.edi", 2, Verdict::kIncomplete, false},
        {"d.edi", 0, Verdict::kTime, false},
        {"d.edi", 1, Verdict::kInvalidLocator, false},
        {"d.edi", 2, Verdict::kNotInLog, false}, // OK1BBB's line with it is outside the period
        {"e.edi", 0, Verdict::kNotInLog, false}, // DL1AAA logged another call
        {"e.edi", 1, Verdict::kConfirmed, false},
        {"f.edi", 0, Verdict::kConfirmed, false}, // 432 MHz: its own band's logs
        {"g.edi", 0, Verdict::kConfirmed, false},
        {"h.edi", 0, Verdict::kNotInLog, false},
    };
    size_t lines = 0;
    for (const auto &c : cases) {
        const ContestLog &l = log(c.file);
        ASSERT_LT(c.contact, l.fates.size()) << c.file;
        EXPECT_EQ(verdict_name(l.fates[c.contact].verdict).column, verdict_name(c.verdict).column)
            << c.file << " contact " << c.contact;
        EXPECT_EQ(l.fates[c.contact].unique, c.unique) << c.file << " contact " << c.contact;
    }
    for (const ContestLog &l : m_contest.logs())
        lines += l.fates.size();
    EXPECT_EQ(lines, std::size(cases)); /* every line judged above */
    EXPECT_TRUE(m_contest.left_out().empty());
}

TEST_F(MadeContest, TableRanksEachBandAndCountsEveryVerdict)
{
    std::string csv;
    append_results(m_contest, true, csv);
    EXPECT_EQ(csv,
              "band,rank,call,locator,section,file,logged,confirmed,unverified,unique,not_in_log,"
              "busted_call,busted_locator,busted_number,busted_report,time,duplicate,outside,"
              "incomplete,invalid_locator,points,squares,score,claimed\r\n"
              "144 MHz,1,OK1BBB,JO32LK,SINGLE OP,b.edi,5,2,1,0,0,0,0,0,1,0,0,1,0,0,780,4,780,\r\n"
              "144 MHz,2,DL1AAA,JO31LK,SINGLE,a.edi,7,1,2,1,0,1,1,0,0,1,1,0,0,0,493,3,493,500\r\n"
              "144 MHz,3,OM3EEE,JO34LK,SINGLE,e.edi,2,1,0,0,1,0,0,0,0,0,0,0,0,0,223,2,223,\r\n"
              "144 MHz,4,SP2CCC/P,JO33LK,\"SINGLE, PORTABLE\",c.edi,3,1,0,0,0,0,0,1,0,0,0,0,1,0,"
              "112,2,112,112\r\n"
              "144 MHz,5,PA3DDD,JO30LK,MULTI,d.edi,3,0,0,0,1,0,0,0,0,1,0,0,0,1,0,1,0,\r\n"
              "432 MHz,1,DL1AAA,JO31LK,SINGLE,f.edi,1,1,0,0,0,0,0,0,0,0,0,0,0,0,112,2,112,\r\n"
              "432 MHz,1,OK1BBB/P,JO32LK,SINGLE,g.edi,1,1,0,0,0,0,0,0,0,0,0,0,0,0,112,2,112,\r\n"
              "432 MHz,3,SP2CCC,JO33LK,SINGLE,h.edi,1,0,0,0,1,0,0,0,0,0,0,0,0,0,0,1,0,\r\n");

    // The text table: each column ends (numbers) or starts (text) where its
    // header does.
    std::string text;
    append_results(m_contest, false, text);
    std::istringstream lines(text);
    std::string header, row;
    std::getline(lines, header);
    const size_t points = header.find("points") + 6, file = header.find("file");
    int rows = 0;
    while (std::getline(lines, row)) {
        rows++;
        EXPECT_NE(row[points - 1], ' ') << row;
        EXPECT_EQ(row[points], ' ') << row;
        EXPECT_EQ(row.substr(file, 1).find_first_of("abcdefgh"), 0u) << row;
    }
    EXPECT_EQ(rows, 8);
}

TEST_F(MadeContest, ReportNamesEachContactThatDidNotScoreThenTheSummary)
{
    std::string report;
    for (uint32_t i = 0; i < m_contest.logs().size(); i++)
        if (m_contest.logs()[i].file == std::string_view("a.edi")) {
            EXPECT_EQ(report_name(m_contest, i), "DL1AAA-144MHz.txt");
            append_report(m_contest, i, report);
        }
    EXPECT_EQ(report,
              "a.edi:12: SP2CCC/P JO33LA: busted locator: SP2CCC/P sent JO33LK\n"
              "a.edi:13: PA3DDD JO30LK: time beyond the tolerance: logged at 260905 1500, by "
              "PA3DDD at 260905 1530\n"
              "a.edi:14: OM3EEF JO34LK: busted call: OM3EEE logged a contact with DL1AAA at 260905 "
              "1601\n"
              "a.edi:16: LX1UNQ JO31LA: unique: no other log of the band has LX1UNQ\n"
              "a.edi:17: OK1BBB JO32LK: duplicate of line 11\n"
              "a.edi: DL1AAA on 144 MHz: rank 2 of 5, score 493 (points 493, squares 3), claimed "
              "500\n"
              "a.edi: contacts 7: confirmed 1, unverified 2 (1 unique), busted call 1, busted "
              "locator 1, time beyond the tolerance 1, duplicate 1\n");
}

TEST_F(MadeContest, ToleranceDecidesBetweenConfirmedAndTime)
{
    // OK1BBB and SP2CCC/P logged their contact 10 minutes apart.
    for (const auto &[tolerance, verdict] : {std::pair{10, Verdict::kConfirmed}, {9, Verdict::kTime}}) {
        Contest contest(m_rules, tolerance);
        for (size_t i = 0; i < std::size(kFiles); i++)
            contest.add(kFiles[i], m_texts[i]);
        contest.check();
        int checked = 0;
        for (const ContestLog &l : contest.logs())
            if (l.file == std::string_view("b.edi") || l.file == std::string_view("c.edi")) {
                EXPECT_EQ(l.fates[1].verdict, verdict) << l.file << ' ' << tolerance;
                checked++;
            }
        EXPECT_EQ(checked, 2);
    }
}

TEST_F(MadeContest, LaterLogOfOneStationOnOneBandReplacesTheEarlier)
{
    // An earlier log of OK1BBB on 144 MHz, from another locator, with a
    // contact SP2CCC/P does not have: none of it may count.
    const std::string earlier = "[REG1TEST;1]\nTDate=20260905;20260906\nPCall=ok1bbb/p\n"
                                "PWWLo=JO40AA\nPBand=2m\n[QSORecords;1]\n"
                                "260905;1200;SP2CCC;1;59;001;59;009;;JO33LK;1;;;;\n";
    Contest contest(m_rules, 10);
    contest.add("b-first.edi", earlier);
    for (size_t i = 0; i < std::size(kFiles); i++)
        contest.add(kFiles[i], m_texts[i]);
    contest.check();
    ASSERT_EQ(contest.left_out().size(), 1u);
    EXPECT_EQ(contest.left_out()[0].file, "b-first.edi");
    EXPECT_EQ(contest.left_out()[0].why.args[0], "b.edi");
    EXPECT_EQ(contest.logs().size(), std::size(kFiles));
    std::string csv, expected;
    append_results(contest, true, csv);
    append_results(m_contest, true, expected);
    EXPECT_EQ(csv, expected);
}

} // namespace
