// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commands.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "adif_command.h"
#include "contest.h"
#include "distance.h"
#include "edi.h"
#include "follow.h"
#include "format.h"
#include "geojson.h"
#include "locator.h"
#include "position.h"
#include "text.h"

bool encode_line(std::string_view line, const Settings &settings, OutputBuffer &out, Reason &why)
{
    const Result<Position> position = parse_position(line);
    if (!position) {
        why = position.reason;
        return false;
    }
    const size_t length = static_cast<size_t>(settings.precision);
    encode_locator(position.value, settings.system, settings.precision, out.reserve(length));
    out.commit(length);
    return true;
}

bool decode_line(std::string_view line, const Settings &settings, OutputBuffer &out, Reason &why)
{
    const Result<Cell> cell = parse_locator(line, settings.layout);
    if (!cell) {
        why = cell.reason;
        return false;
    }
    const Cell &c = cell.value;
    if (settings.geojson) {
        append_geojson(c, line, out);
        return true;
    }
    /* The corner or centre exactly, printed so that it reads back inside
     * the cell. */
    const int64_t nLatitude = cell_latitude_e4(c, settings.centre);
    const int64_t nLongitude = cell_longitude_e4(c, settings.centre);
    const Rounding rounding = settings.centre ? Rounding::kNearest : Rounding::kUp;
    char szLatitude[kNumberRoom], szLongitude[kNumberRoom];
    const size_t nLatitudeLength = settings.dms ? format_dms(nLatitude, true, rounding, szLatitude)
                                                : format_degrees(nLatitude, szLatitude);
    const size_t nLongitudeLength = settings.dms
                                        ? format_dms(nLongitude, false, rounding, szLongitude)
                                        : format_degrees(nLongitude, szLongitude);
    out.append(std::string_view(szLatitude, nLatitudeLength));
    out.append(" ");
    out.append(std::string_view(szLongitude, nLongitudeLength));
    return true;
}

bool distance_line(std::string_view line, const Settings &settings, OutputBuffer &out,
                   Reason &why)
{
    /* The line comes trimmed: its words, split at blanks, are the points. */
    std::string_view words[2];
    size_t nWords = 0;
    for (size_t pos = 0; pos < line.size();) {
        if (nWords == 2) {
            why = refusal(N_("more than two points in %s (a position is written "
                             "LATITUDE,LONGITUDE, with no blank)"),
                          line);
            return false;
        }
        size_t end = pos;
        while (end < line.size() && !is_blank(line[end]))
            end++;
        words[nWords++] = line.substr(pos, end - pos);
        for (pos = end; pos < line.size() && is_blank(line[pos]);)
            pos++;
    }
    if (nWords < 2) {
        why = refusal(N_("only one point, %s: a line holds two, FROM and TO"), line);
        return false;
    }
    DistancePoint points[2];
    for (size_t i = 0; i < 2; i++) {
        const Result<DistancePoint> point = parse_point(words[i], settings.layout, settings.iaru);
        if (!point) {
            why = point.reason;
            return false;
        }
        points[i] = point.value;
    }
    char szLine[kDistanceLineRoom];
    const DistanceResult result = compute_distance(points[0], points[1], settings.iaru);
    out.append(std::string_view(szLine, format_distance_line(result, settings.unit, szLine)));
    return true;
}

bool convert_line(std::string_view line, const Settings &settings, OutputBuffer &out, Reason &why)
{
    const Result<Cell> cell = parse_locator(line, std::nullopt);
    if (!cell) {
        why = cell.reason;
        return false;
    }
    char szLocator[kMaxLocatorLength];
    why = convert_locator(cell.value, line, settings.convert_to, szLocator);
    if (!why.empty())
        return false;
    out.append(std::string_view(szLocator, static_cast<size_t>(cell.value.length)));
    return true;
}

namespace {

/* The follow command: gpsd, or standard input (in) when its operand is "-";
 * squares of kFollowPrecision characters unless --precision says. */
int run_follow(const Invocation &invocation, Source &in, Sink &out, Messages &messages)
{
    Settings settings = invocation.settings;
    if (!settings.precision_given)
        settings.precision = kFollowPrecision;
    Follower follower(settings, out, messages);
    return invocation.operands.empty() ? follow_gpsd(settings.gpsd, follower, messages)
                                       : follow_nmea(in, follower, messages);
}

} // namespace

const Command kCommands[] = {
    {"encode", kEncodeBit, N_("encode [--precision N] [--maidenhead] [LATITUDE LONGITUDE]"),
     N_("  encode    positions to locators"), true, encode_line, 0},
    {"decode", kDecodeBit,
     N_("decode [--centre] [--dms] [--geojson] [--maidenhead|--extended] [LOCATOR...]"),
     N_("  decode    locators to positions (the south-west corner of the cell)"), false,
     decode_line, 0},
    {"distance", kDistanceBit, N_("distance [--iaru] [--maidenhead|--extended] [--unit km|mi|nmi] [FROM TO]"),
     N_("  distance  distance and bearing between two points, short and long path"), true,
     distance_line, 2},
    {"edi", kEdiBit, N_("edi [--rules RULE|FILE] [--write] FILE..."),
     N_("  edi       checks the points of VHF contest logs (EDI) by a contest's rules"),
     false, nullptr, 0, edi_files},
    {"convert", kConvertBit, N_("convert [--to maidenhead|extended] [LOCATOR...]"),
     N_("  convert   locators to the same cells in the other layout"), false, convert_line, 0},
    {"adif", kAdifBit,
     N_("adif [--from LOCATOR|LAT,LON] [--precision N] [--replace] [--check] [FILE]"),
     N_("  adif      fills and checks the locators and distances of an ADIF log"), false, nullptr,
     1, nullptr, run_adif},
    {"contest", kContestBit,
     N_("contest [--rules RULE|FILE] [--tolerance MINUTES] [--csv] [--reports DIR] [--geojson FILE] "
        "LOG..."),
     N_("  contest   checks every log of a contest against the others, and ranks the stations"),
     false, nullptr, 0, contest_files},
    {"follow", kFollowBit, N_("follow [--precision N] [--maidenhead] [--every] [--gpsd HOST[:PORT] | -]"),
     N_("  follow    the locator of a moving station, from gpsd or NMEA sentences"), false, nullptr,
     1, nullptr, run_follow},
};
const size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];

namespace {

bool set_precision(Settings &settings, std::string_view value)
{
    static const struct {
        std::string_view text;
        int nLength;
    } kLengths[] = {{"2", 2}, {"4", 4}, {"6", 6}, {"8", 8}, {"10", 10}};
    for (const auto &length : kLengths)
        if (value == length.text) {
            settings.precision = length.nLength;
            settings.precision_given = true;
            return true;
        }
    return false;
}

/* An option without value: sets its flag. */
template <bool Settings::*flag>
bool set_flag(Settings &settings, std::string_view)
{
    settings.*flag = true;
    return true;
}

/* An option naming something (a file, a directory, a rule): not empty. */
template <std::string_view Settings::*text>
bool set_text(Settings &settings, std::string_view value)
{
    settings.*text = value;
    return !value.empty();
}

bool set_tolerance(Settings &settings, std::string_view value)
{
    if (value.empty() || value.size() > 4)
        return false;
    int minutes = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return false;
        minutes = minutes * 10 + (c - '0');
    }
    settings.tolerance = minutes;
    return minutes <= 1440;
}

/* --maidenhead and --extended: one layout, not both. */
const char kOneLayout[] = N_("--maidenhead and --extended name two layouts: give one");

bool set_maidenhead(Settings &settings, std::string_view)
{
    if (settings.layout == LocatorSystem::Tolka)
        return false;
    settings.system = LocatorSystem::Maidenhead;
    settings.layout = LocatorSystem::Maidenhead;
    return true;
}

bool set_extended(Settings &settings, std::string_view)
{
    if (settings.layout == LocatorSystem::Maidenhead)
        return false;
    settings.system = LocatorSystem::Tolka;
    settings.layout = LocatorSystem::Tolka;
    return true;
}

bool set_convert_to(Settings &settings, std::string_view value)
{
    if (value != "maidenhead" && value != "extended")
        return false;
    settings.convert_to = value == "maidenhead" ? LocatorSystem::Maidenhead : LocatorSystem::Tolka;
    return true;
}

bool set_from(Settings &settings, std::string_view value)
{
    const Result<DistancePoint> point = parse_point(value, std::nullopt, false);
    if (point) {
        settings.from = value;
        settings.from_point = point.value;
    }
    return static_cast<bool>(point);
}

bool set_gpsd(Settings &settings, std::string_view value)
{
    GpsdServer server;
    settings.gpsd = value;
    return !value.empty() && parse_gpsd_server(value, server);
}

bool set_unit(Settings &settings, std::string_view value)
{
    const std::optional<DistanceUnit> unit = parse_distance_unit(value);
    if (unit)
        settings.unit = *unit;
    return unit.has_value();
}

} // namespace

const Option kOptions[] = {
    {"--precision", "N", kEncodeBit | kAdifBit | kFollowBit,
     N_("  --precision N  locator length: 2, 4, 6, 8 or 10 characters (default 10; adif,\n"
        "                 follow: 6)"),
     set_precision, N_("precision %s is not 2, 4, 6, 8 or 10")},
    {"--maidenhead", nullptr, kEncodeBit | kDecodeBit | kDistanceBit | kFollowBit,
     N_("  --maidenhead   the standard Maidenhead locator instead of Tolka's extended one"),
     set_maidenhead, kOneLayout},
    {"--extended", nullptr, kEncodeBit | kDecodeBit | kDistanceBit,
     N_("  --extended     Tolka's extended locator (decode and distance tell them apart by\n"
        "                 character 7 when neither option is given)"),
     set_extended, kOneLayout},
    {"--centre", nullptr, kDecodeBit,
     N_("  --centre       the centre of the cell instead of its south-west corner"),
     set_flag<&Settings::centre>, nullptr},
    {"--center", nullptr, kDecodeBit, nullptr, set_flag<&Settings::centre>, nullptr},
    {"--dms", nullptr, kDecodeBit,
     N_("  --dms          degrees, minutes and seconds with hemisphere letters"),
     set_flag<&Settings::dms>, nullptr},
    {"--geojson", nullptr, kDecodeBit,
     N_("  --geojson      each cell as a GeoJSON Feature on one line, for map programs"),
     set_flag<&Settings::geojson>, nullptr},
    {"--iaru", nullptr, kDistanceBit,
     N_("  --iaru         also the distance and points by the IARU Region 1 contest rule"),
     set_flag<&Settings::iaru>, nullptr},
    {"--unit", "UNIT", kDistanceBit, N_("  --unit UNIT    distances in km (the default), mi or nmi"),
     set_unit, N_("unit %s is not km, mi or nmi")},
    {"--rules", "RULE", kEdiBit | kContestBit,
     N_("  --rules RULE   edi, contest: the contest's rules, iaru (the default), okpa, or a\n"
        "                 rules file"),
     set_text<&Settings::rules>, N_("--rules %s names no rule: iaru, okpa or a file")},
    {"--write", nullptr, kEdiBit,
     N_("  --write        the corrected log on standard output, the report on standard error"),
     set_flag<&Settings::write>, nullptr},
    {"--tolerance", "MINUTES", kContestBit,
     N_("  --tolerance MINUTES  contest: how far two logs' times may differ (default: the\n"
        "                 rules', 10)"),
     set_tolerance, N_("--tolerance %s is not a whole number of minutes from 0 to 1440")},
    {"--csv", nullptr, kContestBit, N_("  --csv          contest: the results as CSV (RFC 4180)"),
     set_flag<&Settings::csv>, nullptr},
    {"--reports", "DIR", kContestBit,
     N_("  --reports DIR  contest: a report for each log in DIR, CALL-BAND.txt"),
     set_text<&Settings::reports>, N_("--reports %s is empty")},
    {"--geojson", "FILE", kContestBit,
     N_("  --geojson FILE  contest: the stations and contacts as a map (GeoJSON text\n"
        "                 sequence) in FILE"),
     set_text<&Settings::map>, N_("--geojson %s is empty")},
    {"--to", "LAYOUT", kConvertBit,
     N_("  --to LAYOUT    convert to maidenhead (the default) or extended"), set_convert_to,
     N_("layout %s is not maidenhead or extended")},
    {"--from", "POINT", kAdifBit,
     N_("  --from POINT   adif: the logging station when a record does not say, a locator\n"
        "                 or LATITUDE,LONGITUDE"),
     set_from, N_("--from %s is not a locator or LATITUDE,LONGITUDE")},
    {"--replace", nullptr, kAdifBit,
     N_("  --replace      adif: replace the DISTANCE and locators a record has"),
     set_flag<&Settings::replace>, nullptr},
    {"--check", nullptr, kAdifBit,
     N_("  --check        adif: only the messages and a summary, no log written"),
     set_flag<&Settings::check>, nullptr},
    {"--every", nullptr, kFollowBit,
     N_("  --every        a line for every fix, not only when the cell changes"),
     set_flag<&Settings::every>, nullptr},
    {"--gpsd", "HOST[:PORT]", kFollowBit,
     N_("  --gpsd HOST[:PORT]  the gpsd to follow (default localhost:2947)"), set_gpsd,
     N_("gpsd %s is not HOST, HOST:PORT or [IPV6]:PORT with a port from 1 to 65535")},
};
const size_t kOptionCount = sizeof kOptions / sizeof kOptions[0];

namespace {

bool is_operand(std::string_view arg)
{
    /* A negative number ("-33.8688") or "-" is an operand. */
    return arg.size() < 2 || arg[0] != '-' || (arg[1] >= '0' && arg[1] <= '9') || arg[1] == '.';
}

/* command, when known, is the one whose usage goes with the message. */
Invocation usage_error(const Reason &why, const Command *command = nullptr)
{
    Invocation invocation;
    invocation.command = command;
    invocation.error = why;
    return invocation;
}

/* Applies the option in args[i] (and its value, which may be the next
 * argument); i moves past what was used. */
Reason apply_option(const Command &command, const std::vector<std::string_view> &args, size_t &i,
                    Settings &settings)
{
    std::string_view name = args[i];
    std::string_view value;
    const size_t nEquals = name.find('=');
    const bool bValueGiven = nEquals != std::string_view::npos;
    if (bValueGiven) {
        value = name.substr(nEquals + 1);
        name = name.substr(0, nEquals);
    }
    /* One name may be two options of two commands (decode --geojson, contest
     * --geojson FILE): the command's own row. */
    const Option *pOption = nullptr;
    bool bKnown = false;
    for (size_t k = 0; k < kOptionCount; k++)
        if (name == kOptions[k].name) {
            bKnown = true;
            if (kOptions[k].commands & command.bit)
                pOption = &kOptions[k];
        }
    if (bKnown && !pOption)
        return refusal(N_("%s is not an option of %s"), name, command.name);
    if (pOption) {
        const Option &option = *pOption;
        if (!option.value_name) {
            if (bValueGiven)
                return refusal(N_("option %s takes no value"), name);
        } else if (!bValueGiven) {
            if (i + 1 == args.size())
                return refusal(N_("option %s needs a value"), name);
            value = args[++i];
        }
        if (!option.apply(settings, value))
            return refusal(option.refusal, value);
        return {};
    }
    return refusal(N_("unknown option %s"), name);
}

} // namespace

Invocation parse_arguments(int argc, const char *const *argv)
{
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    /* --help and --version win wherever they are (before "--"). */
    for (std::string_view arg : args) {
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "--version") {
            Invocation invocation;
            invocation.action = arg == "--help" ? Invocation::kHelp : Invocation::kVersion;
            return invocation;
        }
    }
    if (args.empty())
        return usage_error(refusal(N_("no command given")));
    if (!is_operand(args[0]))
        return usage_error(refusal(N_("unknown option %s"), args[0]));

    Invocation invocation;
    for (size_t k = 0; k < kCommandCount; k++)
        if (args[0] == kCommands[k].name)
            invocation.command = &kCommands[k];
    if (!invocation.command)
        return usage_error(refusal(N_("unknown command %s"), args[0]));

    bool bOptionsEnded = false;
    for (size_t i = 1; i < args.size(); i++) {
        if (!bOptionsEnded && args[i] == "--")
            bOptionsEnded = true;
        else if (bOptionsEnded || is_operand(args[i]))
            invocation.operands.push_back(args[i]);
        else {
            const Reason why = apply_option(*invocation.command, args, i, invocation.settings);
            if (!why.empty())
                return usage_error(why, invocation.command);
        }
    }
    const Command *const command = invocation.command;
    const std::vector<std::string_view> &operands = invocation.operands;
    /* follow reads gpsd, or standard input when told so by "-". */
    if (command->bit == kFollowBit && !operands.empty()) {
        if (operands.size() > 1)
            return usage_error(refusal(N_("follow takes one operand, -, to read standard input, "
                                          "or none to read gpsd")),
                               command);
        if (operands[0] != "-")
            return usage_error(refusal(N_("follow reads standard input with -, not %s"), operands[0]),
                               command);
        if (!invocation.settings.gpsd.empty())
            return usage_error(refusal(N_("follow reads gpsd or standard input, not both")), command);
    }
    const size_t nOperands = command->operands;
    if (nOperands != 0 && !operands.empty() && operands.size() != nOperands)
        return usage_error(nOperands == 1
                               ? refusal(N_("%s takes one operand, or none to read standard input"),
                                         command->name)
                               : refusal(N_("%s takes %s operands, or none to read standard input"),
                                         command->name,
                                         std::string_view("0123456789").substr(nOperands, 1)),
                           command);
    if (command->files && operands.empty())
        return usage_error(refusal(N_("%s needs a FILE"), command->name), command);
    if (invocation.settings.write && operands.size() > 1)
        return usage_error(refusal(N_("--write takes one FILE at a time")), command);
    invocation.action = Invocation::kRun;
    return invocation;
}

namespace {

void write_text(Sink &sink, const std::string &text)
{
    sink.write(text.data(), text.size());
}

/* The usage of every command, or of command alone and what it does. */
std::string usage_text(const Command *command = nullptr)
{
    std::string text;
    if (command) {
        text += translate(N_("Usage: "));
        text += kProgram;
        text += ' ';
        text += translate(command->synopsis);
        text += '\n';
        text += translate(command->summary);
        text += '\n';
        return text;
    }
    for (size_t k = 0; k < kCommandCount; k++) {
        text += k == 0 ? translate(N_("Usage: ")) : translate(N_("   or: "));
        text += kProgram;
        text += ' ';
        text += translate(kCommands[k].synopsis);
        text += '\n';
    }
    text += translate(N_("   or: "));
    text += kProgram;
    text += " --help | --version\n";
    return text;
}

std::string help_text()
{
    std::string text = usage_text();
    text += '\n';
    text += translate(N_("Converts positions to locators and locators to positions, and gives the\n"
                         "distance and bearing between two points: one line of output for each\n"
                         "line of standard input, or for the operands.\n"
                         "A refused line gives an empty line and a message on standard error.\n"));
    text += '\n';
    for (size_t k = 0; k < kCommandCount; k++) {
        text += translate(kCommands[k].summary);
        text += '\n';
    }
    text += '\n';
    text += translate(N_("Options:\n"));
    for (size_t k = 0; k < kOptionCount; k++)
        if (kOptions[k].help) {
            text += translate(kOptions[k].help);
            text += '\n';
        }
    text += translate(N_("  --help         show this help and exit\n"
                         "  --version      show the version and exit\n"));
    text += '\n';
    text += translate(N_("Exit status: 0 if every line was converted, 1 if any was refused,\n"
                         "2 for a usage error. The manual page tolka-cli(1) says more.\n"));
    return text;
}

/* Writes out what is left in buffer; false, reported, if any write failed. */
bool flushed(OutputBuffer &buffer, Messages &messages)
{
    if (buffer.flush())
        return true;
    messages.report({}, refusal(N_("cannot write the output: %s"), strerror(buffer.error())));
    return false;
}

} // namespace

int run(const Invocation &invocation, Source &in, Sink &out, Sink &err, bool bInterleaved)
{
    Messages messages(err, kProgram);
    switch (invocation.action) {
    case Invocation::kHelp:
    case Invocation::kVersion: {
        /* Through the buffer, so that a failed write (a full disk) is no
         * success either. */
        OutputBuffer text(out);
        text.append(invocation.action == Invocation::kHelp
                        ? help_text()
                        : std::string(kProgram) + " (Tolka) " TOLKA_VERSION "\n");
        return flushed(text, messages) ? 0 : 1;
    }
    case Invocation::kUsageError: {
        /* What was typed is quoted as every message quotes it. */
        messages.report(invocation.error);
        messages.flush();
        write_text(err, usage_text(invocation.command));
        write_text(err, translate(N_("Try 'tolka-cli --help' for more information.\n")));
        return 2;
    }
    case Invocation::kRun:
        break;
    }

    const Command &command = *invocation.command;
    if (command.files)
        return command.files(invocation.operands, invocation.settings, out, err, messages);
    if (command.run_whole)
        return command.run_whole(invocation, in, out, messages);
    OutputBuffer buffer(out);
    if (bInterleaved)
        messages.interleave_with(buffer);
    Tally tally;
    if (invocation.operands.empty())
        tally = convert_lines(in, command.convert, invocation.settings, buffer, messages);
    else if (command.join_operands) {
        std::string line(invocation.operands[0]);
        for (size_t i = 1; i < invocation.operands.size(); i++)
            line.append(" ").append(invocation.operands[i]);
        tally = convert_texts({line}, command.convert, invocation.settings, buffer, messages);
    } else
        tally = convert_texts(invocation.operands, command.convert, invocation.settings, buffer,
                              messages);
    if (!flushed(buffer, messages))
        tally.failed = true;
    messages.flush();
    return tally.failed || tally.refused > 0 ? 1 : 0;
}
