// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tolka-cli's line reader, its error path and its command line, run in
// memory: one output line per input line, messages naming the line, exit
// statuses, usage errors.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/commands.h"
#include "grid/text.h"
#include "memory_io.h"

namespace {

// Every line the reader gives, "#N:TEXT" or "#N:too long", chunk by chunk.
std::vector<std::string> lines_of(const std::string &input, size_t nChunk)
{
    StringSource source(input, nChunk);
    LineReader reader(source);
    std::vector<std::string> lines;
    std::string_view line;
    for (LineReader::Status status; (status = reader.next(line)) != LineReader::kEnd;) {
        EXPECT_NE(status, LineReader::kError);
        // Where the line starts in the input: a writer splices changes there.
        if (status == LineReader::kLine) {
            EXPECT_EQ(input.substr(reader.offset(), line.size()), line) << reader.number();
        }
        lines.push_back("#" + std::to_string(reader.number()) + ":" +
                        (status == LineReader::kTooLong ? "too long" : std::string(line)));
    }
    return lines;
}

TEST(CliLineReader, SplitsAnyChunkingIntoTheSameNumberedLines)
{
    const std::string kLong(5000, 'x'), kLongest(kMaxLine, 'y');
    const std::string input = "a\nb\r\n\n\r\n" + kLong + "\nc\r\n" + kLongest + "\r\n" + kLongest +
                              "z\n" + kLong + "\r\n" + "d\re\nlast\r";
    const std::vector<std::string> expected = {
        "#1:a", "#2:b", "#3:", "#4:", "#5:too long", "#6:c", "#7:" + kLongest, "#8:too long",
        "#9:too long", "#10:d\re", "#11:last"};
    for (size_t nChunk : {size_t{1}, size_t{2}, size_t{3}, size_t{1000}, kChunk})
        EXPECT_EQ(lines_of(input, nChunk), expected) << "chunks of " << nChunk;
    EXPECT_EQ(lines_of("", 10), std::vector<std::string>());
    EXPECT_EQ(lines_of(kLong, 10), std::vector<std::string>{"#1:too long"});
}

struct Outcome {
    int nStatus;
    std::string out, err;

    bool operator==(const Outcome &o) const
    {
        return nStatus == o.nStatus && out == o.out && err == o.err;
    }
};

std::ostream &operator<<(std::ostream &os, const Outcome &o)
{
    return os << "status " << o.nStatus << ", out \"" << o.out << "\", err \"" << o.err << "\"";
}

Outcome run_with(std::vector<const char *> args, const std::string &input)
{
    args.insert(args.begin(), "tolka-cli");
    StringSource in(input, 7);
    StringSink out, err;
    const int nStatus = run(parse_arguments(static_cast<int>(args.size()), args.data()), in, out,
                            err);
    return {nStatus, out.text, err.text};
}

TEST(CliRun, ConvertsEveryLineAndNamesTheRefusedOnes)
{
    const std::string kLong(4097, '1');
    static const struct {
        std::vector<const char *> args;
        std::string input;
        Outcome expected;
    } kRows[] = {
        {{"encode"},
         "48.81056 2.28722\n \t\n91 0\r\n48 2",
         {1, "JN18DTKK78\n\n\nJN18AAAA00\n",
          "tolka-cli: line 3: latitude 91 is out of range (-90 to 90)\n"}},
        {{"encode", "--precision", "4"}, kLong + "\n48 2\n", {1, "\nJN18\n",
          "tolka-cli: line 1: the line is longer than 1024 bytes\n"}},
        // What is not text: NUL, bytes that are not UTF-8 (a stray byte,
        // a UTF-16 surrogate, overlong forms, past U+10FFFF), C0 and C1
        // controls and DEL; a byte-order mark is text only at the start.
        {{"encode", "--precision=2"},
         std::string("\xEF\xBB\xBF" "48 2\n48 2\0x\n\xff\n\xED\xA0\x80\n\xC0\xAF\n"
                     "\xE0\x80\xAF\n\xF4\x90\x80\x80\n48\x01 2.000000\n\xC2\x85\n48\x7F 2.000000\n"
                     "48\xC2\xA0 2\n\xEF\xBB\xBF" "48 2\n", 77),
         {1, "JN\n\n\n\n\n\n\n\n\n\n\n\n",
          "tolka-cli: line 2: a NUL byte is not text\n"
          "tolka-cli: line 3: the text is not valid UTF-8\n"
          "tolka-cli: line 4: the text is not valid UTF-8\n"
          "tolka-cli: line 5: the text is not valid UTF-8\n"
          "tolka-cli: line 6: the text is not valid UTF-8\n"
          "tolka-cli: line 7: the text is not valid UTF-8\n"
          "tolka-cli: line 8: control character in the text\n"
          "tolka-cli: line 9: control character in the text\n"
          "tolka-cli: line 10: control character in the text\n"
          "tolka-cli: line 11: 48\\u{A0} is not a plain decimal number\n"
          "tolka-cli: line 12: \\u{FEFF}48 is not a plain decimal number\n"}},
        // Operands: a negative number is one; encode reads them as one line.
        {{"encode", "-33.8688", "--precision=6", "151.2093"}, "", {0, "QF56OD\n", ""}},
        // So is one that starts with a point, and is refused as a number.
        {{"encode", "-.5", "2"}, "", {1, "\n", "tolka-cli: -.5 is not a plain decimal number\n"}},
        {{"encode", "--", "-33.8688", "151.2093", "x"}, "", {1, "\n",
          "tolka-cli: unexpected x after the two coordinates\n"}},
        {{"encode", "--", "--help"}, "", {1, "\n",
          "tolka-cli: --help is not a plain decimal number\n"}},
        // An empty operand is refused, not taken for a blank line.
        {{"encode", ""}, "48 2\n", {1, "\n", "tolka-cli: the operand is empty\n"}},
        {{"decode", "JN18", " "}, "", {1, "48 2\n\n",
          "tolka-cli: argument 2: the operand is empty\n"}},
        {{"encode", "--maidenhead", "48 48 14.4 N", "2 18 30 E"}, "", {0, "JN18DT72AX\n", ""}},
        {{"decode", "JN18", "XX", "jn18dtkk78"}, "ignored\n",
         {1, "48 2\n\n48.810416666667 2.287152777778\n",
          "tolka-cli: argument 2: character 1 of XX must be a letter A-R, not X\n"}},
        {{"decode", "--dms", "--centre"}, "jn18\n\n", {0, "48 30 0.00 N 3 0 0.00 E\n\n", ""}},
        {{"decode", "--center", "--maidenhead"}, "JN18DT72\n", {0, "48.802083333334 2.3125\n", ""}},
        // distance: two operands make one line (the lines of standard input
        // are tested end to end).
        {{"distance", "--unit=mi", "--iaru", "-33.8688,151.2093", "JN18DT"}, "ignored\n",
         {0, "10540.614 312.51 14334.764 132.51 16966.02 16967\n", ""}},
        {{"distance", "--maidenhead", "--iaru", "JN18DT72", "jn18dt72ax"}, "",
         {0, "0.368 307.12 40026.084 127.12 0.00 1\n", ""}},
        {{"distance", "--extended", "JN18DT72", "JN18"}, "",
         {1, "\n", "tolka-cli: character 7 of JN18DT72 must be a letter A-X in the extended layout, not 7\n"}},
        {{"--version"}, "", {0, "tolka-cli (Tolka) " TOLKA_VERSION "\n", ""}},
    };
    for (const auto &row : kRows)
        EXPECT_EQ(run_with(row.args, row.input), row.expected) << row.args[0] << " " << row.input;
}

TEST(CliRun, UsageErrorsExitTwoWithTheUsageOnStandardError)
{
    static const struct {
        std::vector<const char *> args;
        const char *szMessage;
    } kRows[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command frobnicate"},
        {{"-x", "encode"}, "unknown option -x"},
        {{"encode", "-x"}, "unknown option -x"},
        {{"encode", "--precision=5"}, "precision 5 is not 2, 4, 6, 8 or 10"},
        {{"encode", "1", "2", "--precision"}, "option --precision needs a value"},
        {{"encode", "--centre"}, "--centre is not an option of encode"},
        {{"decode", "--precision", "6"}, "--precision is not an option of decode"},
        {{"decode", "--dms=yes"}, "option --dms takes no value"},
        {{"distance", "JN18"}, "distance takes 2 operands, or none to read standard input"},
        {{"distance", "JN18", "JN19", "JN20"},
         "distance takes 2 operands, or none to read standard input"},
        {{"distance", "--unit", "m"}, "unit m is not km, mi or nmi"},
        {{"encode", "--iaru"}, "--iaru is not an option of encode"},
        {{"edi", "--write"}, "edi needs a FILE"},
        {{"edi", "--write", "a.edi", "b.edi"}, "--write takes one FILE at a time"},
        {{"adif", "f", "a"}, "adif takes one operand, or none to read standard input"},
        {{"follow", "-", "-"}, "follow takes one operand, -, to read standard input, or none to read gpsd"},
        {{"follow", "x"}, "follow reads standard input with -, not x"},
        {{"decode", "--maidenhead", "--extended"}, "--maidenhead and --extended name two layouts: give one"},
        {{"distance", "--extended", "--maidenhead"}, "--maidenhead and --extended name two layouts: give one"},
        {{"follow", "--gpsd", "localhost:abc"},
         "gpsd localhost:abc is not HOST, HOST:PORT or [IPV6]:PORT with a port from 1 to 65535"},
        {{"follow", "--gpsd=localhost:99999"},
         "gpsd localhost:99999 is not HOST, HOST:PORT or [IPV6]:PORT with a port from 1 to 65535"},
        {{"follow", "--gpsd=localhost:0"},
         "gpsd localhost:0 is not HOST, HOST:PORT or [IPV6]:PORT with a port from 1 to 65535"},
        {{"follow", "--gpsd=[::1"}, "gpsd [::1 is not HOST, HOST:PORT or [IPV6]:PORT with a port from 1 to 65535"},
        {{"follow", "--gpsd=[::1]2947"},
         "gpsd [::1]2947 is not HOST, HOST:PORT or [IPV6]:PORT with a port from 1 to 65535"},
        {{"follow", "--gpsd=:2947"}, "gpsd :2947 is not HOST, HOST:PORT or [IPV6]:PORT with a port from 1 to 65535"},
        // What was typed, quoted with its controls and broken UTF-8 escaped.
        {{"\x1B[31m\xC2\x9B\xFF\xC3"}, "unknown command \\x1B[31m\\xC2\\x9B\\xFF\\xC3"},
        {{"encode", "--precision=\x7F\xC3\xA9"}, "precision \\x7F\xC3\xA9 is not 2, 4, 6, 8 or 10"},
    };
    for (const auto &row : kRows) {
        const Outcome outcome = run_with(row.args, "48 2\n");
        EXPECT_EQ(outcome.nStatus, 2) << row.szMessage;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err.rfind(std::string("tolka-cli: ") + row.szMessage + "\nUsage: ", 0),
                  0u)
            << outcome.err;
    }
    // The usage of the command given, and what it does.
    EXPECT_EQ(run_with({"follow", "-", "-"}, "").err,
              "tolka-cli: follow takes one operand, -, to read standard input, or none to read gpsd\n"
              "Usage: tolka-cli follow [--precision N] [--maidenhead] [--every] [--gpsd HOST[:PORT] | -]\n"
              "  follow    the locator of a moving station, from gpsd or NMEA sentences\n"
              "Try 'tolka-cli --help' for more information.\n");
    for (std::vector<const char *> args : {std::vector<const char *>{"--help"},
                                           {"decode", "JN18", "--help"}}) {
        const Outcome outcome = run_with(args, "");
        EXPECT_EQ(outcome.nStatus, 0);
        EXPECT_EQ(outcome.out.rfind("Usage: tolka-cli encode", 0), 0u) << outcome.out;
        EXPECT_NE(outcome.out.find("--maidenhead"), std::string::npos);
    }
}

TEST(CliRun, OnOneTerminalMessagesKeepTheirPlaceAmongResults)
{
    const char *args[] = {"tolka-cli", "encode", "--precision", "2"};
    StringSource in("48 2\n91 0\n92 0\n48 2\n93 0\n");
    StringSink both;
    EXPECT_EQ(run(parse_arguments(4, args), in, both, both, true), 1);
    EXPECT_EQ(both.text, "JN\n\ntolka-cli: line 2: latitude 91 is out of range (-90 to 90)\n"
                         "\ntolka-cli: line 3: latitude 92 is out of range (-90 to 90)\n"
                         "JN\n\ntolka-cli: line 5: latitude 93 is out of range (-90 to 90)\n");
}

class BrokenSink final : public Sink {
public:
    bool write(const char *, size_t) override
    {
        errno = EPIPE;
        return false;
    }
};

TEST(CliRun, AFailedWriteIsReportedAndExitsOne)
{
    for (std::vector<const char *> args : {std::vector<const char *>{"tolka-cli", "encode"},
                                           {"tolka-cli", "--help"},
                                           {"tolka-cli", "--version"}}) {
        StringSource in("48 2\n");
        BrokenSink out;
        StringSink err;
        EXPECT_EQ(run(parse_arguments(static_cast<int>(args.size()), args.data()), in, out, err),
                  1)
            << args[1];
        EXPECT_EQ(err.text, "tolka-cli: cannot write the output: " + std::string(strerror(EPIPE)) +
                                "\n");
    }
}

TEST(MessageQuoting, ShowsWhatTextHoldsSafelyAndPlainly)
{
    static const struct {
        std::string text, shown;
    } kRows[] = {
        {"JN18DT", "JN18DT"},
        {"JN18 DT", "JN18 DT"},
        {"", ""},
        // Blanks at either end: the whole in quotes.
        {"JN18DT ", "\"JN18DT \""},
        {" JN18DT", "\" JN18DT\""},
        {" ", "\" \""},
        // Controls (the tab too), NUL, DEL, C1, bytes that are not UTF-8.
        {"\x1B[2JW1AW", "\\x1B[2JW1AW"},
        {"a\tb", "a\\x09b"},
        {"\tJN18", "\\x09JN18"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\x7F\xC2\x9B", "\\x7F\\xC2\\x9B"},
        {"\xFF\xC3 ", "\"\\xFF\\xC3 \""},
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"}, // a surrogate
        // What shows nothing or turns the text around.
        {"\xEF\xBB\xBFJN18", "\\u{FEFF}JN18"},
        {"JN\xE2\x80\xAE" "81", "JN\\u{202E}81"},
        {"48\xC2\xA0", "48\\u{A0}"},
        {"a\xE2\x80\xA8" "b", "a\\u{2028}b"},
        {"\xE2\x80\x8B", "\\u{200B}"},
        {"\xF3\xA0\x80\x81", "\\u{E0001}"},
        // Printable characters of any script stay.
        {"K\xC3\xB6ln \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x93\xA1",
         "K\xC3\xB6ln \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x93\xA1"},
        {"\\x1B \"quoted\"", "\\x1B \"quoted\""},
    };
    for (const auto &row : kRows) {
        std::string shown, again;
        append_escaped(shown, row.text);
        EXPECT_EQ(shown, row.shown) << row.text;
        // Quoting what is quoted changes nothing: a message may quote a
        // message.
        append_escaped(again, shown);
        EXPECT_EQ(again, shown);
        // The cheap test before it only ever says so of text it keeps.
        if (shows_as_it_is(row.text)) {
            EXPECT_EQ(row.shown, row.text);
        }
    }
}

// The first of the bytes that must not reach a terminal in text, or "".
std::string first_raw(const std::string &text)
{
    static const char *const kInvisible[] = {"\xEF\xBB\xBF", "\xE2\x80\xAE", "\xC2\xA0",
                                             "\xE2\x80\xA8"};
    for (const char *raw : kInvisible)
        if (text.find(raw) != std::string::npos)
            return raw;
    size_t begin = 0;
    for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        const std::string line = text.substr(begin, end - begin);
        if (!check_text(line).empty() || line.find('\t') != std::string::npos)
            return line;
    }
    return text.substr(begin);
}

// A file holding text, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string &text)
    {
        char name[] = "/tmp/tolka-quoting-XXXXXX";
        const int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        close(fd);
        m_path = name;
    }
    ~TempFile() { unlink(m_path.c_str()); }
    const char *path() const { return m_path.c_str(); }

private:
    std::string m_path;
};

TEST(MessageQuoting, NoCommandPassesWhatItReadsRawToTheTerminal)
{
    // Hostile bytes in every place a message quotes: lines, operands, NMEA
    // fields, ADIF calls and locators, EDI file names, headers and contacts,
    // a contest's table.
    const std::string kRlo = "\xE2\x80\xAE", kBom = "\xEF\xBB\xBF", kEsc = "\x1B[2J";
    const TempFile edi("[REG1TEST;1]\nPWWLo=JN18DT\n[QSORecords;1]\n260905;1405;F1" + kEsc +
                       "AB;1;59;001;59;012;;JJ00" + kRlo + "AB;9;;N;N;\n");
    const TempFile badOwn("[REG1TEST;1]\nPWWLo=JN" + kRlo + "18\n[QSORecords;0]\n");
    const TempFile entry("[REG1TEST;1]\nPCall=OK1" + kEsc + "XY\nPWWLo=JN18DT\nPBand=144 MHz\n"
                         "[QSORecords;1]\n260905;1405;F1AB;1;59;001;59;012;;JJ00" + kRlo +
                         "AB;9;;N;N;\n");
    const TempFile badBand("[REG1TEST;1]\nPCall=F1AB\nPWWLo=JN18DT\nPBand=14" + kEsc +
                           "4 MHz\n[QSORecords;0]\n");
    const std::string adif = "<CALL:8>" + kEsc + "W1AW<GRIDSQUARE:7>JN\xFF" + kEsc + "<EOR>" +
                             "<CALL:4>K1AA<GRIDSQUARE:6>JN" + kBom + "1<EOR>";
    const struct {
        std::vector<const char *> args;
        std::string input;
        const char *shown; // how one of them must be shown
    } kRows[] = {
        {{"encode"}, "48" + kRlo + " 2\n" + kEsc + "\n48\xFF 2\n", "48\\u{202E}"},
        {{"encode", "48\xE2\x80\xAE", "2"}, "", "48\\u{202E}"},
        {{"decode"}, "JN18" + kBom + "\nJN\xC2\xA0" "18\n", "JN18\\u{FEFF}"},
        {{"decode", "JN\xC2\xA0" "18"}, "", "JN\\u{A0}18"},
        {{"convert"}, "JN18DT\xE2\x80\xA8\n", "JN18DT\\u{2028}"},
        {{"distance"}, "JN18 " + kRlo + "JN19 x\n", "\\u{202E}JN19"},
        {{"follow", "-"},
         "$GPGGA,101500,48" + kRlo + "48.63,N,00217.2,E,1,08,0.9,35.0,M,47.0,M,,\n" + kEsc + "\n",
         "48\\u{202E}48.63"},
        {{"adif"}, adif, "\\x1B[2JW1AW"},
        {{"adif", "--check"}, adif, "JN\\u{FEFF}1"},
        {{"edi", edi.path()}, "", "F1\\x1B[2JAB"},
        {{"edi", badOwn.path()}, "", "JN\\u{202E}18"},
        {{"edi", "--write", edi.path()}, "", "JJ00\\u{202E}AB"},
        {{"edi", "/tmp/no\x1B[2Jsuch.edi"}, "", "no\\x1B[2Jsuch"},
        {{"contest", entry.path(), badOwn.path()}, "", "OK1\\x1B[2JXY"},
        {{"contest", entry.path(), badBand.path()}, "", "14\\x1B[2J4"},
    };
    for (const auto &row : kRows) {
        const Outcome outcome = run_with(row.args, row.input);
        // The log adif writes and edi --write corrects are data, not
        // messages: the hostile bytes stay in them as they were.
        const std::string command = row.args[0];
        const bool bData = (command == "adif" && row.args.size() == 1) ||
                           (command == "edi" && row.args[1] == std::string("--write"));
        const std::string messages = bData ? outcome.err : outcome.out + outcome.err;
        EXPECT_EQ(first_raw(messages), "") << row.args[0] << ": " << messages;
        EXPECT_NE(messages.find(row.shown), std::string::npos) << row.args[0] << ": " << messages;
    }
}

} // namespace
