// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* An ADIF log in the ADI form, read one record at a time and written back
 * byte for byte, with the missing locators and distances spliced in before
 * each record's <EOR>, and its locators, positions and distances checked.
 * The reader keeps every byte: what it does not understand passes through
 * as read. */
#ifndef TOLKA_ADIF_ADIF_H
#define TOLKA_ADIF_ADIF_H

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "lines.h"
#include "settings.h"

/* Longer fields pass through without being held or interpreted. */
constexpr uint64_t kMaxAdifField = 1 << 20;

/* One field as read: offsets are bytes from the start of the input. */
struct AdiField {
    std::string_view name; /* as written, any case */
    size_t name_length = 0;
    std::string_view data; /* empty when the field was too long to hold */
    uint64_t offset = 0;   /* of its '<' */
    uint64_t data_offset = 0;
    uint64_t length = 0; /* of the data, as declared */
    bool kept = false;   /* data holds the field's data */
};

/* A fault in the file's syntax, at a byte offset; args own the quoted text. */
struct AdiProblem {
    uint64_t offset;
    const char *format;
    std::string args[3];
};

/* One unit of the input: the bytes after the previous unit up to the end of
 * its <EOH> or <EOR>, or up to the end of the input. */
struct AdiUnit {
    enum Kind { kHeader, kRecord, kRest } kind = kRest;
    /* The bytes still held, from held_from; earlier bytes of a unit too large
     * to hold were already passed through. */
    std::string_view bytes;
    uint64_t held_from = 0;
    uint64_t end_tag = 0; /* offset of the '<' of <EOH> or <EOR> */
    std::vector<AdiField> fields;
    std::vector<AdiProblem> problems;
    std::deque<std::string> saved; /* data of fields passed through early */
};

class AdiReader {
public:
    enum Status { kUnit, kEnd, kError };

    /* pass receives the bytes that cannot be held until the unit ends (null:
     * they are dropped, as under --check). */
    AdiReader(Source &source, Sink *pass);
    AdiReader(const AdiReader &) = delete;
    AdiReader &operator=(const AdiReader &) = delete;

    /* The next unit (valid until the next call); kError: errno says why. */
    Status next(AdiUnit &unit);

private:
    bool have(AdiUnit &unit, size_t n); /* at least n bytes from m_pos, reading as needed */
    void pass_held(AdiUnit &unit);
    bool skip_through(AdiUnit &unit, uint64_t n);
    void finish(AdiUnit &unit, AdiUnit::Kind kind, size_t end);
    /* The byte at an input offset that the buffer holds. */
    const char *at(uint64_t offset) const { return m_buffer.data() + (offset - m_base); }

    Source &m_source;
    Sink *m_pass;
    std::vector<char> m_buffer;
    size_t m_begin = 0, m_pos = 0, m_end = 0; /* held unit, scan, data end */
    uint64_t m_base = 0;                      /* input offset of m_buffer[0] */
    bool m_eof = false, m_error = false, m_started = false, m_preamble = false;
};

/* One change made to the output: at output offset `offset`, text stands
 * where the input had original. */
struct Splice {
    uint64_t offset;
    std::string original;
    std::string text;
};

struct AdifTally {
    uint64_t records = 0, locators = 0, distances = 0, problems = 0;
    /* Records without a DISTANCE that got none, by why. */
    enum Unfilled { kLeftAsItIs, kLoneCoordinate, kNoOwnPosition, kNoPosition, kUnfilledCount };
    uint64_t unfilled[kUnfilledCount] = {};
    bool failed = false; /* input or output failed (reported) */
};

/* Reads the log from in and writes it to out (nothing under --check), with
 * messages to messages; name is the file's, for them (empty: standard
 * input). Every splice made is appended to applied, if given, with its
 * offset in the output: removing them gives back the input. */
AdifTally convert_adif(Source &in, Sink *out, const Settings &settings, Messages &messages,
                       std::vector<Splice> *applied = nullptr, std::string_view name = {});

/* Reads ADIF's location form, "N048 48.633": hemisphere letter (N or S for
 * a latitude, E or W for a longitude), three digits of degrees, a space,
 * minutes with three decimals. */
struct Location {
    Coordinate coordinate; /* exact */
    double degrees;        /* signed */
};
enum class LocationStatus { kRead, kMalformed, kOutOfRange };
LocationStatus parse_location(std::string_view text, bool bLatitude, Location &out);

#endif
