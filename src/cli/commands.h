// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* tolka-cli's commands and options, as two tables in commands.cpp. A
 * command is a line function (see lines.h) and the way its operands make
 * lines, or a function over the files its operands name, or over its whole
 * input; an option names the commands it applies to and sets a field of the
 * Settings. A new command is one row of kCommands (and its bit), its options
 * rows of kOptions. */
#ifndef TOLKA_CLI_COMMANDS_H
#define TOLKA_CLI_COMMANDS_H

#include <string_view>
#include <vector>

#include "lines.h"
#include "reason.h"
#include "settings.h"

constexpr char kProgram[] = "tolka-cli";

/* One bit per command, for the options that apply to it. */
enum : unsigned {
    kEncodeBit = 1,
    kDecodeBit = 2,
    kDistanceBit = 4,
    kEdiBit = 8,
    kConvertBit = 16,
    kAdifBit = 32,
    kFollowBit = 64,
    kContestBit = 128
};

struct Invocation;
class Messages;

/* A command over whole files instead of lines: the operands name them (at
 * least one); returns the exit status. */
using FileFunction = int (*)(const std::vector<std::string_view> &files, const Settings &settings,
                             Sink &out, Sink &err, Messages &messages);

struct Command {
    const char *name;
    unsigned bit;
    const char *synopsis; /* what follows the program's name in the usage */
    const char *summary;  /* one line of --help */
    bool join_operands;  /* all operands make one line, or each its own */
    LineFunction convert; /* null for follow, which has its own loop */
    size_t operands; /* how many it takes when given any (fewer than 10); 0: any number */
    FileFunction files = nullptr; /* set: a command over files, convert unused */
    /* A command that reads its input whole rather than line by line: it
     * runs instead of convert, and returns the exit status. */
    int (*run_whole)(const Invocation &invocation, Source &in, Sink &out,
                     Messages &messages) = nullptr;
};

struct Option {
    const char *name;       /* "--precision" */
    const char *value_name; /* "N", or null for an option without value */
    unsigned commands;      /* the bits of the commands it applies to */
    const char *help;       /* its line of --help */
    /* Sets the option; false refuses the value, with refusal's message. */
    bool (*apply)(Settings &settings, std::string_view value);
    const char *refusal; /* "%s" is the value */
};

/* The line commands, one line each (see LineFunction). */
bool encode_line(std::string_view line, const Settings &settings, OutputBuffer &out,
                 Reason &why);
bool decode_line(std::string_view line, const Settings &settings, OutputBuffer &out,
                 Reason &why);
/* Two points separated by blanks: FROM TO. */
bool distance_line(std::string_view line, const Settings &settings, OutputBuffer &out,
                   Reason &why);
/* A locator of either layout, as the same cell in the layout of --to. */
bool convert_line(std::string_view line, const Settings &settings, OutputBuffer &out,
                  Reason &why);

struct Invocation {
    enum Action { kRun, kHelp, kVersion, kUsageError } action = kUsageError;
    const Command *command = nullptr;
    Settings settings;
    std::vector<std::string_view> operands;
    Reason error; /* kUsageError: what was wrong */
};

/* Reads the arguments (argv[1] to argv[argc - 1]). Options may come before
 * or after operands; "--" ends them; an argument starting with '-' and a
 * digit or '.' is an operand (a negative number), not an option. */
Invocation parse_arguments(int argc, const char *const *argv);

/* Does what the invocation says: reads in (when it has no operands), writes
 * results to out and messages to err, bInterleaved when both reach the same
 * place (each then keeps its order among the other's). Returns the exit
 * status: 0 when every line was converted, 1 when any was refused or input
 * or output failed, 2 for a usage error. */
int run(const Invocation &invocation, Source &in, Sink &out, Sink &err,
        bool bInterleaved = false);

#endif
