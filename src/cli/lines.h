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
#include <cstring>
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

/* A text already in memory, which must outlive the source. */
class TextSource final : public Source {
public:
    explicit TextSource(std::string_view text) : m_text(text) {}
    long read(char *pBuffer, size_t nSize) override;

private:
    std::string_view m_text;
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
        /* A call to memcpy costs more than a result's few bytes or a piece
         * of a message: below 16 bytes, two words that overlap as needed. */
        char *const pTo = m_buffer + m_used;
        const char *const pFrom = text.data();
        const size_t n = text.size();
        if (n >= 16)
            memcpy(pTo, pFrom, n);
        else if (n >= 8)
            copy_overlapping<uint64_t>(pTo, pFrom, n);
        else if (n >= 4)
            copy_overlapping<uint32_t>(pTo, pFrom, n);
        else
            for (size_t i = 0; i < n; i++)
                pTo[i] = pFrom[i];
        m_used += text.size();
    }
    /* Where the line's next n bytes (at most kLineRoom) are to be written in
     * place, then taken with commit(n): a result written elsewhere and
     * copied would be read back as words just after being stored as bytes,
     * which the processor waits for. */
    char *reserve(size_t n)
    {
        if (n > sizeof m_buffer - m_used)
            flush(); /* as in overflow: only a line longer than kLineRoom */
        return m_buffer + m_used;
    }
    void commit(size_t n) { m_used += n; }
    void begin_line();  /* makes room for a line and remembers where it starts */
    void cancel_line(); /* takes back what the line wrote */
    void end_line() { append("\n"); }
    bool flush(); /* false if writing failed, now or before */
    int error() const { return m_error; }

private:
    void overflow(std::string_view &text);
    /* n bytes, from sizeof (Word) to twice that: the first and the last word. */
    template <class Word>
    static void copy_overlapping(char *pTo, const char *pFrom, size_t n)
    {
        Word first, last;
        memcpy(&first, pFrom, sizeof first);
        memcpy(&last, pFrom + n - sizeof last, sizeof last);
        memcpy(pTo, &first, sizeof first);
        memcpy(pTo + n - sizeof last, &last, sizeof last);
    }

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

    /* The buffers given (results, messages) are written out whenever the
     * reader is about to wait for input, so that an interactive user sees
     * each result and message at once. */
    explicit LineReader(Source &source, OutputBuffer *pFlushFirst = nullptr,
                        OutputBuffer *pFlushToo = nullptr)
        : m_source(source), m_pFlush{pFlushFirst, pFlushToo}
    {
    }
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    /* The next line (valid until the next call) when kLine; kTooLong for a
     * line longer than kMaxLine, which is skipped; kError: errno says why. */
    Status next(std::string_view &line);
    /* The number of the line just returned, from 1. */
    uint64_t number() const { return m_number; }
    /* Where the line just returned (kLine) starts in the source, in bytes
     * from 0: what lets a writer put a change back in its place. */
    uint64_t offset() const { return m_offset; }

private:
    bool fill();

    Source &m_source;
    OutputBuffer *m_pFlush[2];
    char m_buffer[kChunk];
    size_t m_begin = 0, m_end = 0;
    bool m_bEof = false;
    uint64_t m_number = 0;
    uint64_t m_dropped = 0; /* bytes of the source before m_buffer[0] */
    uint64_t m_offset = 0;
};

/* The catalogue domain of the command line's messages. */
constexpr char kDomain[] = "tolka-cli";

/* The catalogue text of szMsgid in that domain. */
const char *translate(const char *szMsgid);

/* Standard error's messages: "tolka-cli: line 3: REASON", gathered in a
 * buffer like the results, so that a refused line costs about as much as a
 * converted one. The place and every argument of the reason go through
 * append_escaped (text.h): whatever a file or a line holds, no message
 * passes it raw to the terminal. */
class Messages {
public:
    Messages(Sink &sink, std::string_view program)
        : m_out(sink), m_program(program), m_prefix(m_program + ": ")
    {
    }
    ~Messages() { m_out.flush(); }

    /* Results and messages go to the same place (a terminal, or 2>&1): the
     * results written so far go out before each message, and messages
     * before the next result (see before_result), so each stays in its
     * place. */
    void interleave_with(OutputBuffer &results) { m_pResults = &results; }
    /* szPlace, if given, names the place: "line %s" with nNumber. */
    void report(const Reason &why, const char *szPlace = nullptr, uint64_t nNumber = 0);
    /* where, if not empty, names the place as it stands ("record 3 (W1AW)"). */
    void report(std::string_view where, const Reason &why);
    /* Called before a line's result is written. */
    void before_result()
    {
        if (m_pResults && m_bPending)
            flush();
    }
    bool flush()
    {
        m_bPending = false;
        return m_out.flush();
    }
    OutputBuffer &buffer() { return m_out; }

private:
    /* A piece of a message: text, or the argument it names. */
    struct Piece {
        std::string_view text; /* when arg < 0 */
        int arg;
    };
    /* A catalogue text as looked up, cut at its arguments once, so that
     * writing it is copying its pieces. */
    struct Translation {
        const char *msgid = nullptr;
        std::vector<Piece> pieces;
        uint64_t used = 0; /* the message that last used it */
    };
    static constexpr size_t kTranslations = 8;
    /* A whole message but for what names the place and the reason, for one
     * kind of place ("line %s", a place as it stands, none): the program's
     * name, the place's text, what joins it to the reason, the line end.
     * Argument 0 is the place's (its number), 1 the reason. */
    struct Frame {
        const char *place = nullptr;
        std::vector<Piece> pieces;
    };

    const Translation &translated(const char *szMsgid);
    const Frame &frame(const char *szPlace);
    /* The message: the frame of szPlace, with place for its argument. */
    void write(const char *szPlace, std::string_view place, const Reason &why);
    /* text into the buffer as append_escaped quotes it. */
    void append_quoted(std::string_view text);

    OutputBuffer m_out;
    OutputBuffer *m_pResults = nullptr;
    bool m_bPending = false;
    std::string m_program;
    std::string m_prefix; /* "tolka-cli: " */
    std::string m_quoted; /* a piece being escaped */
    Translation m_translations[kTranslations];
    Frame m_frame;
    size_t m_nextTranslation = 0;
    uint64_t m_nMessage = 0;
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
