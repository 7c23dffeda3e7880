// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A reader of PO and POT files for the catalogue tests: entries with their
// flags, strings unescaped as msgfmt reads them.
#ifndef TOLKA_TEST_I18N_PO_H
#define TOLKA_TEST_I18N_PO_H

#include <cctype>
#include <fstream>
#include <istream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

struct PoEntry {
    std::string msgctxt;
    std::string msgid;
    std::string msgidPlural;
    std::vector<std::string> msgstr;   // msgstr, or msgstr[0], msgstr[1], ...
    std::vector<std::string> flags;    // from "#, fuzzy, c-format"
    bool bObsolete = false;            // "#~" entries

    bool hasFlag(const std::string &flag) const
    {
        for (const std::string &f : flags)
            if (f == flag)
                return true;
        return false;
    }
};

// The value of a C string literal as PO files write it (quotes included);
// throws on a malformed literal.
inline std::string PoUnquote(const std::string &quoted)
{
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"')
        throw std::runtime_error("not a quoted string: " + quoted);
    std::string out;
    const size_t end = quoted.size() - 1;
    for (size_t i = 1; i < end; i++) {
        char c = quoted[i];
        if (c == '"')
            throw std::runtime_error("unescaped quote in " + quoted);
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= end)
            throw std::runtime_error("escape at the end of " + quoted);
        c = quoted[i];
        switch (c) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'a': out += '\a'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'v': out += '\v'; break;
        case '\\': case '"': case '\'': case '?': out += c; break;
        case 'x': {
            int value = 0, digits = 0;
            while (i + 1 < end && std::isxdigit(static_cast<unsigned char>(quoted[i + 1]))) {
                const char h = static_cast<char>(std::tolower(static_cast<unsigned char>(quoted[++i])));
                value = value * 16 + (h <= '9' ? h - '0' : h - 'a' + 10);
                digits++;
            }
            if (!digits)
                throw std::runtime_error("\\x without digits in " + quoted);
            out += static_cast<char>(value);
            break;
        }
        default:
            if (c < '0' || c > '7')
                throw std::runtime_error(std::string("unknown escape \\") + c + " in " + quoted);
            int value = c - '0';
            for (int n = 1; n < 3 && i + 1 < end && quoted[i + 1] >= '0' && quoted[i + 1] <= '7'; n++)
                value = value * 8 + (quoted[++i] - '0');
            out += static_cast<char>(value);
        }
    }
    return out;
}

// All entries of a PO file, the header (msgid "") included, in file order.
inline std::vector<PoEntry> ReadPo(std::istream &in)
{
    std::vector<PoEntry> entries;
    PoEntry entry;
    bool bOpen = false;          // entry has a keyword already
    std::string *target = nullptr; // where continuation lines go

    auto finish = [&]() {
        if (!bOpen)
            return;
        entries.push_back(entry);
        entry = PoEntry();
        bOpen = false;
        target = nullptr;
    };

    std::string line;
    while (std::getline(in, line)) {
        bool bObsolete = false;
        if (line.rfind("#~", 0) == 0) {
            bObsolete = true;
            line.erase(0, 2);
            while (!line.empty() && line[0] == ' ')
                line.erase(0, 1);
        }
        if (line.empty() || (line[0] == '#' && !bObsolete)) {
            // A blank line or a comment after the strings ends the entry.
            finish();
            if (line.rfind("#,", 0) == 0) {
                std::istringstream flags(line.substr(2));
                std::string flag;
                while (std::getline(flags, flag, ',')) {
                    const size_t first = flag.find_first_not_of(' ');
                    const size_t last = flag.find_last_not_of(' ');
                    if (first != std::string::npos)
                        entry.flags.push_back(flag.substr(first, last - first + 1));
                }
            }
            continue;
        }
        if (line[0] == '"') {
            if (!target)
                throw std::runtime_error("string outside an entry: " + line);
            *target += PoUnquote(line);
            continue;
        }
        const size_t space = line.find(' ');
        if (space == std::string::npos)
            throw std::runtime_error("unreadable line: " + line);
        const std::string keyword = line.substr(0, space);
        const std::string value = PoUnquote(line.substr(space + 1));
        // msgctxt or msgid after a msgstr opens the next entry.
        if ((keyword == "msgctxt" || keyword == "msgid") && !entry.msgstr.empty())
            finish();
        bOpen = true;
        entry.bObsolete = entry.bObsolete || bObsolete;
        if (keyword == "msgctxt") {
            target = &entry.msgctxt;
        } else if (keyword == "msgid") {
            target = &entry.msgid;
        } else if (keyword == "msgid_plural") {
            target = &entry.msgidPlural;
        } else if (keyword == "msgstr" || keyword.rfind("msgstr[", 0) == 0) {
            entry.msgstr.emplace_back();
            target = &entry.msgstr.back();
        } else {
            throw std::runtime_error("unknown keyword: " + line);
        }
        *target = value;
    }
    finish();
    return entries;
}

inline std::vector<PoEntry> ReadPoFile(const std::string &path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return ReadPo(in);
}

#endif
