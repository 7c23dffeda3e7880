// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// ADIF logs: the reader on small logs in the styles loggers write, the
// byte-for-byte rule, what is filled and what is checked, broken files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adif.h"
#include "cli/memory_io.h"

namespace {

struct AdifRun {
    std::string out, err;
    std::vector<Splice> splices;
    AdifTally tally;
};

// Small chunks, so that tags and data straddle reads.
AdifRun adif(const std::string &input, const Settings &settings = {}, size_t nChunk = 5)
{
    StringSource in(input, nChunk);
    StringSink out, err;
    Messages messages(err, "tolka-cli");
    AdifRun run;
    run.tally = convert_adif(in, settings.check ? nullptr : &out, settings, messages, &run.splices);
    messages.flush(); // messages are gathered like results
    run.out = out.text;
    run.err = err.text;
    return run;
}

// The output with every splice taken back: the input, if nothing else changed.
std::string unspliced(std::string out, const std::vector<Splice> &splices)
{
    for (auto s = splices.rbegin(); s != splices.rend(); ++s)
        out.replace(s->offset, s->text.size(), s->original);
    return out;
}

// "H:ADIF_VER=3.1.4 R:CALL=W1AW,LAT=N048 48.633 -:": each unit, its kind and
// fields.
std::string units(const std::string &input)
{
    StringSource in(input, 3);
    AdiReader reader(in, nullptr);
    AdiUnit unit;
    std::string text;
    while (reader.next(unit) == AdiReader::kUnit) {
        text += unit.kind == AdiUnit::kHeader ? "H:" : unit.kind == AdiUnit::kRecord ? "R:" : "-:";
        for (const AdiField &field : unit.fields)
            text.append(field.name).append("=").append(field.data).append(
                &field == &unit.fields.back() ? "" : ",");
        text += ' ';
    }
    return text;
}

TEST(AdifReader, KeepsEveryByteOfLogsInTheStylesLoggersWrite)
{
    static const struct {
        const char *szWhat;
        std::string input;
        const char *szUnits;
    } kRows[] = {
        {"LF, header", "Exported\n<ADIF_VER:5>3.1.4\n<EOH>\n<CALL:4>W1AW <EOR>\n",
         "H:ADIF_VER=3.1.4 R:CALL=W1AW -: "},
        {"CRLF", "x\r\n<EOH>\r\n<CALL:4>W1AW<EOR>\r\n<CALL:5>F5XYZ<EOR>\r\n",
         "H: R:CALL=W1AW R:CALL=F5XYZ -: "},
        {"BOM, lower-case tags, a type", "\xEF\xBB\xBF<adif_ver:5>3.1.4<eoh><call:4:s>W1AW<eor>",
         "H:adif_ver=3.1.4 R:call=W1AW "},
        {"application and user fields, '<' and '>' in data",
         "<EOH><APP_LOG_X:5>a<b>c<MY FIELD:2>ok<COMMENT:7><EOR>;)<EOR>",
         "H: R:APP_LOG_X=a<b>c,MY FIELD=ok,COMMENT=<EOR>;) "},
        {"no header", "<CALL:4>W1AW<QSO_DATE:8>20240512<EOR>\n",
         "R:CALL=W1AW,QSO_DATE=20240512 -: "},
        {"text after the last record", "<CALL:4>W1AW<EOR>\nend of log, 3 <records>\n",
         "R:CALL=W1AW -: "},
        {"a '<' in the header's free text", "Log <by hand>\n<EOH>\n<CALL:0><EOR>",
         "H: R:CALL= "},
    };
    for (const auto &row : kRows) {
        EXPECT_EQ(units(row.input), row.szUnits) << row.szWhat;
        const AdifRun run = adif(row.input);
        EXPECT_EQ(run.out, row.input) << row.szWhat;
        EXPECT_EQ(run.err, "") << row.szWhat;
    }
}

constexpr char kPosition[] = "<LAT:11>N048 48.633 <LON:11>E002 17.233 ";

TEST(AdifFill, AddsOnlyTheNewFieldsBeforeEachEor)
{
    const std::string log = "Tolka test\r\n<ADIF_VER:5>3.1.4 <EOH>\r\n"
                            "<CALL:4>W1AW <GRIDSQUARE:4>FN31 <eor>\r\n"
                            "<CALL:5>F5XYZ " + std::string(kPosition) + "<APP_X:2>ab <EOR>\r\n"
                            "<CALL:4>K1AA <DISTANCE:3>1.0 <EOR>\r\n";
    Settings settings;
    settings.from = "JN18DT";
    settings.from_point = parse_point("JN18DT", std::nullopt, false).value;
    const AdifRun run = adif(log, settings);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(unspliced(run.out, run.splices), log);
    std::vector<std::string> texts;
    for (const Splice &splice : run.splices)
        texts.push_back(splice.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"<DISTANCE:6>5731.0 ", "<GRIDSQUARE:6>JN18DT ",
                                               "<DISTANCE:3>0.4 "}));
    EXPECT_EQ(run.tally.records, 3u);
    EXPECT_EQ(run.tally.locators, 1u);
    EXPECT_EQ(run.tally.distances, 2u);
}

// One record, its fields between <EOH> and <EOR>: what it becomes, and the
// messages.
struct RecordRow {
    const char *szWhat;
    std::string fields;
    int nPrecision; // 0: the default
    bool bReplace;
    const char *szFrom; // --from, or null
    std::string expected;
    std::string messages;
};

TEST(AdifFill, FillsAndChecksLocatorsAndDistancesByTheRules)
{
    const std::string P = kPosition;
    const std::string MY = "<MY_LAT:11>N048 48.633 <MY_LON:11>E002 17.233 ";
    const std::string R = "tolka-cli: record 1 (W1AW): ";
    const RecordRow kRows[] = {
        {"a locator from the position", P, 0, false, nullptr, P + "<GRIDSQUARE:6>JN18DT ", ""},
        {"ten characters: the last two in _EXT", P, 10, false, nullptr,
         P + "<GRIDSQUARE:8>JN18DT44 <GRIDSQUARE_EXT:2>LM ", ""},
        // 70 40 W lies exactly on a subsquare's west edge: read exactly, it
        // belongs to the cell east of it.
        {"south and west, on an edge", "<LAT:11>S033 52.128 <LON:11>W070 40.000 ", 8, false,
         nullptr, "<LAT:11>S033 52.128 <LON:11>W070 40.000 <GRIDSQUARE:8>FF46QD01 ", ""},
        {"an _EXT with no square: the record is left as it is", P + "<GRIDSQUARE_EXT:2>LM ", 0,
         false, nullptr, P + "<GRIDSQUARE_EXT:2>LM ",
         R + "GRIDSQUARE_EXT LM has no 8-character GRIDSQUARE beside it\n" + R +
             "left as it is: GRIDSQUARE JN18DT not written\n"},
        {"an _EXT of the last letters", MY + "<GRIDSQUARE:8>JN18DT44 <GRIDSQUARE_EXT:2>xx ", 0,
         false, nullptr,
         MY + "<GRIDSQUARE:8>JN18DT44 <GRIDSQUARE_EXT:2>xx <MY_GRIDSQUARE:6>JN18DT "
              "<DISTANCE:3>0.4 ",
         ""},
        {"an _EXT past the last letter", "<GRIDSQUARE:8>JN18DT44 <GRIDSQUARE_EXT:2>YA ", 0, false,
         "JN18DT", "<GRIDSQUARE:8>JN18DT44 <GRIDSQUARE_EXT:2>YA ",
         R + "GRIDSQUARE_EXT YA is not 2 letters A-X, optionally followed by 2 digits\n" + R +
             "left as it is: DISTANCE 0.4 not written\n"},
        {"the station's own", MY, 4, false, nullptr, MY + "<MY_GRIDSQUARE:4>JN18 ", ""},
        {"an empty field is filled in place", "<GRIDSQUARE:0>" + P, 0, false, nullptr,
         "<GRIDSQUARE:6>JN18DT" + P, ""},
        {"distance from MY_ position to a locator with _EXT",
         MY + "<GRIDSQUARE:8>JN18DT44 <GRIDSQUARE_EXT:2>lm ", 0, false, nullptr,
         MY + "<GRIDSQUARE:8>JN18DT44 <GRIDSQUARE_EXT:2>lm <MY_GRIDSQUARE:6>JN18DT "
              "<DISTANCE:3>0.0 ",
         ""},
        {"--from at its cell's centre", "<GRIDSQUARE:4>FN31 ", 0, false, "JN18DT",
         "<GRIDSQUARE:4>FN31 <DISTANCE:6>5731.0 ", ""},
        {"--from as a position", "<GRIDSQUARE:4>FN31 ", 0, false, "48.8,2.3",
         "<GRIDSQUARE:4>FN31 <DISTANCE:6>5732.0 ", ""},
        {"a distance that fits the cells", "<GRIDSQUARE:4>FN31 <DISTANCE:4>5700 ", 0, false,
         "JN18DT", "<GRIDSQUARE:4>FN31 <DISTANCE:4>5700 ", ""},
        {"a distance that does not", "<GRIDSQUARE:6>FN31PR <DISTANCE:4>5680 ", 0, false,
         "JN18DT", "<GRIDSQUARE:6>FN31PR <DISTANCE:4>5680 ",
         R + "DISTANCE 5680 differs by 16.4 km from the computed 5696.4 km, more than the 8.0 km "
             "that the locators' cells allow\n"},
        {"a distance between two positions", MY + "<LAT:11>N048 48.633 <LON:11>E002 27.233 "
         "<GRIDSQUARE:4>JN18 <DISTANCE:4>12.3 ", 0, false, nullptr,
         MY + "<LAT:11>N048 48.633 <LON:11>E002 27.233 <GRIDSQUARE:4>JN18 <DISTANCE:4>12.3 ",
         R + "DISTANCE 12.3 differs by 0.06 km from the 12.2 km between the two positions\n" + R +
             "left as it is: MY_GRIDSQUARE JN18DT not written\n"},
        {"a distance between two positions, to its last decimal", MY + "<LAT:11>N048 48.633 "
         "<LON:11>E002 27.233 <DISTANCE:4>12.2 ", 0, false, nullptr,
         MY + "<LAT:11>N048 48.633 <LON:11>E002 27.233 <DISTANCE:4>12.2 "
              "<GRIDSQUARE:6>JN18FT <MY_GRIDSQUARE:6>JN18DT ",
         ""},
        {"--replace", "<GRIDSQUARE:6>FN31PR <DISTANCE:4>5700 ", 0, true, "JN18DT",
         "<GRIDSQUARE:6>FN31PR <DISTANCE:6>5696.4 ", ""},
        {"--replace puts the position's cell, and a shorter one drops _EXT",
         "<GRIDSQUARE:8>jn18dt44 <GRIDSQUARE_EXT:2>LM " + P, 6, true, nullptr,
         "<GRIDSQUARE:6>JN18DT  " + P, ""},
        {"--replace reports the cell that does not hold the position",
         "<GRIDSQUARE:8>jn18dt44 <GRIDSQUARE_EXT:2>AA " + P, 6, true, "JN18DT",
         "<GRIDSQUARE:6>JN18DT  " + P + "<DISTANCE:3>0.4 ",
         R + "GRIDSQUARE JN18DT44AA does not hold LAT N048 48.633 LON E002 17.233: replaced with "
             "JN18DT\n"},
        {"--replace of a locator in the extended layout that holds the position",
         "<GRIDSQUARE:8>JN18DTKK <GRIDSQUARE_EXT:2>LM " + P, 6, true, nullptr,
         "<GRIDSQUARE:6>JN18DT  " + P, ""},
        {"--replace of what is no locator", "<GRIDSQUARE:7>VARIOUS " + P, 8, true, nullptr,
         "<GRIDSQUARE:8>JN18DT44 " + P,
         R + "GRIDSQUARE VARIOUS is not a locator: replaced with JN18DT44\n"},
        {"--replace refines a locator that holds the position", "<GRIDSQUARE:4>jn18 " + P, 10,
         true, nullptr, "<GRIDSQUARE:8>JN18DT44 " + P + "<GRIDSQUARE_EXT:2>LM ", ""},
        {"a locator that does not hold the position", "<GRIDSQUARE:6>JN18EU " + P, 0, false,
         nullptr, "<GRIDSQUARE:6>JN18EU " + P,
         R + "GRIDSQUARE JN18EU does not hold LAT N048 48.633 LON E002 17.233: that position is "
             "in JN18DT\n"},
        {"a conflict gets no distance", "<GRIDSQUARE:6>JN18EU " + P, 0, false, "JN18DT",
         "<GRIDSQUARE:6>JN18EU " + P,
         R + "GRIDSQUARE JN18EU does not hold LAT N048 48.633 LON E002 17.233: that position is "
             "in JN18DT\n" +
             R + "left as it is: DISTANCE 0.4 not written\n"},
        // An edge belongs to the cells on both sides, for the check.
        {"on the east edge of the locator", "<GRIDSQUARE:6>JN18DT <LAT:11>N048 48.750 "
         "<LON:11>E002 20.000 ", 0, false, nullptr, "<GRIDSQUARE:6>JN18DT <LAT:11>N048 48.750 "
         "<LON:11>E002 20.000 ", ""},
        {"on the west edge of the locator", "<GRIDSQUARE:6>JN18ET <LAT:11>N048 48.750 "
         "<LON:11>E002 20.000 ", 0, false, nullptr, "<GRIDSQUARE:6>JN18ET <LAT:11>N048 48.750 "
         "<LON:11>E002 20.000 ", ""},
        {"on the north and east edges, south and west", "<GRIDSQUARE:6>FF46PC "
         "<LAT:11>S033 52.500 <LON:11>W070 40.000 ", 0, false, nullptr, "<GRIDSQUARE:6>FF46PC "
         "<LAT:11>S033 52.500 <LON:11>W070 40.000 ", ""},
        {"just past the edge", "<GRIDSQUARE:6>JN18DT <LAT:11>N048 48.750 <LON:11>E002 20.001 ", 0,
         false, nullptr, "<GRIDSQUARE:6>JN18DT <LAT:11>N048 48.750 <LON:11>E002 20.001 ",
         R + "GRIDSQUARE JN18DT does not hold LAT N048 48.750 LON E002 20.001: that position is "
             "in JN18ET\n"},
        {"just past the south edge", "<GRIDSQUARE:6>FF46PD <LAT:11>S033 52.501 "
         "<LON:11>W070 40.000 ", 0, false, nullptr, "<GRIDSQUARE:6>FF46PD <LAT:11>S033 52.501 "
         "<LON:11>W070 40.000 ", R + "GRIDSQUARE FF46PD does not hold LAT S033 52.501 LON W070 "
         "40.000: that position is in FF46QC\n"},
        // Two squares side by side or four around a corner: the station on
        // their common edge or corner.
        {"VUCC_GRIDS of two squares", "<VUCC_GRIDS:9>FN31,FN41 ", 0, false, "JN18DT",
         "<VUCC_GRIDS:9>FN31,FN41 <DISTANCE:6>5662.8 ", ""},
        {"VUCC_GRIDS of four squares", "<VUCC_GRIDS:22>fn30, FN41, FN31, FN40 ", 0, false,
         "JN18DT", "<VUCC_GRIDS:22>fn30, FN41, FN31, FN40 <DISTANCE:6>5694.8 ", ""},
        {"VUCC_GRIDS either side of 180", "<VUCC_GRIDS:9>AL09,RL99 ", 0, false, "RL99",
         "<VUCC_GRIDS:9>AL09,RL99 <DISTANCE:4>97.0 ", ""},
        {"MY_VUCC_GRIDS north and south", "<MY_VUCC_GRIDS:9>JN19,JN18 <GRIDSQUARE:4>FN31 ", 0,
         false, nullptr, "<MY_VUCC_GRIDS:9>JN19,JN18 <GRIDSQUARE:4>FN31 <DISTANCE:6>5771.2 ", ""},
        {"a GRIDSQUARE goes before VUCC_GRIDS", "<GRIDSQUARE:4>FN31 <VUCC_GRIDS:9>FN31,FN41 ", 0,
         false, "JN18DT", "<GRIDSQUARE:4>FN31 <VUCC_GRIDS:9>FN31,FN41 <DISTANCE:6>5731.0 ", ""},
        {"VUCC_GRIDS not of 2 or 4 squares",
         "<VUCC_GRIDS:4>FN31 <MY_VUCC_GRIDS:14>FN31,FN41,FN30 ", 0, false, nullptr,
         "<VUCC_GRIDS:4>FN31 <MY_VUCC_GRIDS:14>FN31,FN41,FN30 ",
         R + "VUCC_GRIDS FN31 is not 2 or 4 Maidenhead squares of 4 characters separated by "
             "commas\n" +
             R + "MY_VUCC_GRIDS FN31,FN41,FN30 is not 2 or 4 Maidenhead squares of 4 characters "
                 "separated by commas\n"},
        {"VUCC_GRIDS of other than squares", "<VUCC_GRIDS:9>FN31;FN41 <MY_VUCC_GRIDS:8>FN31,FN4 ",
         0, false, nullptr, "<VUCC_GRIDS:9>FN31;FN41 <MY_VUCC_GRIDS:8>FN31,FN4 ",
         R + "VUCC_GRIDS FN31;FN41 is not 2 or 4 Maidenhead squares of 4 characters separated by "
             "commas\n" +
             R + "MY_VUCC_GRIDS FN31,FN4 is not 2 or 4 Maidenhead squares of 4 characters "
                 "separated by commas\n"},
        {"VUCC_GRIDS apart, or corner to corner",
         "<VUCC_GRIDS:9>FN31,FN51 <MY_VUCC_GRIDS:9>FN31,FN42 ", 0, false, nullptr, "<VUCC_GRIDS:9>FN31,FN51 <MY_VUCC_GRIDS:9>FN31,FN42 ",
         R + "VUCC_GRIDS FN31,FN51 is not 2 squares side by side or 4 around a corner\n" + R +
             "MY_VUCC_GRIDS FN31,FN42 is not 2 squares side by side or 4 around a corner\n"},
        {"VUCC_GRIDS twice the same, or four in a row", "<VUCC_GRIDS:9>FN31,fn31 "
         "<MY_VUCC_GRIDS:19>FN31,FN41,FN51,FN61 ", 0, false, nullptr, "<VUCC_GRIDS:9>FN31,fn31 "
         "<MY_VUCC_GRIDS:19>FN31,FN41,FN51,FN61 ",
         R + "VUCC_GRIDS FN31,fn31 is not 2 squares side by side or 4 around a corner\n" + R +
             "MY_VUCC_GRIDS FN31,FN41,FN51,FN61 is not 2 squares side by side or 4 around a "
             "corner\n"},
        {"the extended layout at 10", "<GRIDSQUARE:10>jn18dtkk78 ", 0, false, nullptr,
         "<GRIDSQUARE:10>jn18dtkk78 ",
         R + "GRIDSQUARE jn18dtkk78 is in Tolka's extended layout: the Maidenhead locator of the "
             "same cell is JN18DT44LM\n"},
        {"the extended layout at 8", "<MY_GRIDSQUARE:8>JN18DTKK ", 0, false, nullptr,
         "<MY_GRIDSQUARE:8>JN18DTKK ",
         R + "MY_GRIDSQUARE JN18DTKK is in Tolka's extended layout, which has no Maidenhead "
             "equivalent at 8 characters\n"},
        {"ten Maidenhead characters in one field", "<GRIDSQUARE:10>JN18DT44LM ", 0, false,
         nullptr, "<GRIDSQUARE:10>JN18DT44LM ",
         R + "GRIDSQUARE JN18DT44LM has 10 characters: ADIF takes the first 8 in GRIDSQUARE and "
             "the last 2 in GRIDSQUARE_EXT\n"},
        {"not a locator", "<GRIDSQUARE:7>VARIOUS ", 0, false, nullptr, "<GRIDSQUARE:7>VARIOUS ",
         R + "GRIDSQUARE VARIOUS is not a Maidenhead locator of 2, 4, 6 or 8 characters\n"},
        {"_EXT without its square, and malformed", "<GRIDSQUARE:6>JN18DT <GRIDSQUARE_EXT:2>LM "
         "<MY_GRIDSQUARE_EXT:2>L1 ", 0, false, nullptr,
         "<GRIDSQUARE:6>JN18DT <GRIDSQUARE_EXT:2>LM <MY_GRIDSQUARE_EXT:2>L1 ",
         R + "GRIDSQUARE_EXT LM has no 8-character GRIDSQUARE beside it\n" + R +
             "MY_GRIDSQUARE_EXT L1 is not 2 letters A-X, optionally followed by 2 digits\n"},
        {"positions not in ADIF's form or out of range",
         "<LAT:8>48.81056 <LON:11>E181 00.000 <MY_LAT:11>N045 60.000 ", 0, false, nullptr,
         "<LAT:8>48.81056 <LON:11>E181 00.000 <MY_LAT:11>N045 60.000 ",
         R + "LAT 48.81056 is not in ADIF's location form, such as N048 48.633\n" + R +
             "LON E181 00.000 is out of range\n" + R + "MY_LAT N045 60.000 is out of range\n"},
    };
    for (const RecordRow &row : kRows) {
        Settings settings;
        settings.precision = row.nPrecision;
        settings.precision_given = row.nPrecision != 0;
        settings.replace = row.bReplace;
        if (row.szFrom) {
            settings.from = row.szFrom;
            settings.from_point = parse_point(row.szFrom, std::nullopt, false).value;
        }
        const std::string head = "<EOH>\n<CALL:4>W1AW ";
        const AdifRun run = adif(head + row.fields + "<EOR>\n", settings);
        EXPECT_EQ(run.out, head + row.expected + "<EOR>\n") << row.szWhat;
        EXPECT_EQ(run.err, row.messages) << row.szWhat;
        EXPECT_EQ(run.tally.problems > 0, !row.messages.empty()) << row.szWhat;
    }
}

TEST(AdifBroken, ABrokenFileLosesNoByteAndSaysWhere)
{
    static const struct {
        const char *szWhat;
        std::string input;
        const char *szMessages;
    } kRows[] = {
        {"a length past the end", "<EOH><CALL:4>W1AW<EOR><CALL:9>F5X",
         "tolka-cli: byte 22: <CALL:9> declares 9 bytes, but the file ends after 3\n"},
        {"a tag that is not ADIF", "<CALL:4>W1AW<CALL 4>W1AW<EOR>",
         "tolka-cli: byte 12: <CALL 4> is not an ADIF tag\n"},
        {"no <EOR> at the end", "<CALL:4>W1AW<EOR>\n<CALL:4>K1AA ",
         "tolka-cli: byte 18: the record has no <EOR>: the file ends at byte 31\n"},
        {"a record with a tag that is not ADIF gets nothing",
         "<EOH><GRIDSQUARE 6>JN18EU" + std::string(kPosition) + "<EOR>",
         "tolka-cli: byte 5: <GRIDSQUARE 6> is not an ADIF tag\n"
         "tolka-cli: record 1: left as it is: GRIDSQUARE JN18DT not written\n"},
    };
    for (const auto &row : kRows) {
        const AdifRun run = adif(row.input);
        EXPECT_EQ(run.out, row.input) << row.szWhat;
        EXPECT_EQ(run.err, row.szMessages) << row.szWhat;
    }
}

TEST(AdifBroken, FieldsBeyondTheBoundPassThroughUninterpreted)
{
    // A field over the bound, and a record too large to hold whole: both
    // pass through, and the record still gets its fields before <EOR>.
    const std::string big(kMaxAdifField + 7, 'x'), held(kMaxAdifField - 100, 'y');
    const std::string head = "<EOH><CALL:4>W1AW<APP_X_BIG:" + std::to_string(big.size()) + ">" +
                             big + "<APP_X_HELD:" + std::to_string(held.size()) + ">" + held +
                             kPosition;
    const AdifRun run = adif(head + "<EOR>", Settings(), kChunk);
    EXPECT_EQ(run.out, head + "<GRIDSQUARE:6>JN18DT <EOR>");
    EXPECT_EQ(run.err, "");
}

} // namespace
