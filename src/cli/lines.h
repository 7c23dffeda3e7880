// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* The line reader and the error path that every command shares: input in
 * large chunks, each line bounded in length and numbered; one output line
 * per input line, in order, gathered in one buffer written out in large
 * writes; and refusals reported on standard error with the line they name. */
#ifndef TOLKA_CLI_LINES_H
#define TOLKA_CLI_LINES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reason.h"
#include "settings.h"

/* Longer lines are refused without being stored: no line a command accepts
 * comes near it. */
constexpr size_t kMaxLine = 1024;
constexpr size_t kChunk = 64 * 1024;

class Source {
public:
    /* Up to nSize bytes into pBuffer: the count, 0 at the end, -1 on error
     * (errno set). */
    virtual long read(char *pBuffer, size_t nSize) = 0;

protected:
    ~Source() = default;
};

class Sink {
public:
    /* All nSize bytes, or false (errno set). */
    virtual bool write(const char *pData, size_t nSize) = 0;

protected:
    ~Sink() = default;
};

class FdSource final : public Source {
public:
    explicit FdSource(int fd) : m_fd(fd) {}
    long read(char *pBuffer, size_t nSize) override;

private:
    int m_fd;
};

class FdSink final : public Sink {
public:
    explicit FdSink(int fd) : m_fd(fd) {}
    bool write(const char *pData, size_t nSize) override;

private:
    int m_fd;
};

/* Standard output's buffer. A line being written can be taken back whole
 * (a refused line leaves nothing but its line end), so the buffer is only
 * written out between lines, when less than kLineRoom is free. */
class OutputBuffer {
public:
    static constexpr size_t kLineRoom = 4096; /* far more than any line's output */

    explicit OutputBuffer(Sink &sink) : m_sink(sink) {}
    ~OutputBuffer() = default;
    OutputBuffer(const OutputBuffer &) = delete;
    OutputBuffer &operator=(const OutputBuffer &) = delete;

    void append(std::string_view text)
    {
        if (text.size() > sizeof m_buffer - m_used)
            overflow(text);
        /* Byte by byte: a call to memcpy costs more than a line's few bytes. */
        for (char c : text)
            m_buffer[m_used++] = c;
    }
    void begin_line();  /* makes room for a line and remembers where it starts */
    void cancel_line(); /* takes back what the line wrote */
    void end_line() { append("\n"); }
    bool flush(); /* false if writing failed, now or before */
    int error() const { return m_error; }

private:
    void overflow(std::string_view &text);

    Sink &m_sink;
    char m_buffer[kChunk];
    size_t m_used = 0, m_lineStart = 0;
    int m_error = 0;
};

/* Splits a source into lines: a LF ends a line, and a CR before it is
 * dropped; the last line needs no line end. */
class LineReader {
public:
    enum Status { kLine, kTooLong, kEnd, kError };

    /* pFlushFirst, if given, is written out whenever the reader is about to
     * wait for input, so that an interactive user sees each result at once. */
    explicit LineReader(Source &source, OutputBuffer *pFlushFirst = nullptr)
        : m_source(source), m_pFlushFirst(pFlushFirst)
    {
    }
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    /* The next line (valid until the next call) when kLine; kTooLong for a
     * line longer than kMaxLine, which is skipped; kError: errno says why. */
    Status next(std::string_view &line);
    /* The number of the line just returned, from 1. */
    uint64_t number() const { return m_number; }

private:
    bool fill();

    Source &m_source;
    OutputBuffer *m_pFlushFirst;
    char m_buffer[kChunk];
    size_t m_begin = 0, m_end = 0;
    bool m_bEof = false;
    uint64_t m_number = 0;
};

/* The catalogue domain of the command line's messages. */
constexpr char kDomain[] = "tolka-cli";

/* The catalogue text of szMsgid in that domain. */
const char *translate(const char *szMsgid);

/* Standard error's messages: "tolka-cli: line 3: REASON". */
class Messages {
public:
    Messages(Sink &sink, std::string_view program) : m_sink(sink), m_program(program) {}

    /* where names the place ("line 3"), or is empty. */
    void report(std::string_view where, const Reason &why);

private:
    Sink &m_sink;
    std::string m_program;
    std::string m_text;
};

/* Converts one line: the text of the line, trimmed of blanks, is never
 * empty; the result (without line end) goes to out. False, with why set,
 * refuses the line. */
using LineFunction = bool (*)(std::string_view line, const Settings &settings, OutputBuffer &out,
                              Reason &why);

struct Tally {
    uint64_t refused = 0; /* lines refused and reported */
    bool failed = false;  /* input or output failed (reported): stop */
};

/* One output line for each line of source. */
Tally convert_lines(Source &source, LineFunction convert, const Settings &settings,
                    OutputBuffer &out, Messages &messages);

/* One output line for each text, named "argument N" in messages; a single
 * text (operands joined into one line) is not named. */
Tally convert_texts(const std::vector<std::string_view> &texts, LineFunction convert,
                    const Settings &settings, OutputBuffer &out, Messages &messages);

#endif
