// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lines.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <libintl.h>
#include <unistd.h>

#include "text.h"

long FdSource::read(char *pBuffer, size_t nSize)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, pBuffer, nSize);
        if (n >= 0 || errno != EINTR)
            return static_cast<long>(n);
    }
}

long TextSource::read(char *pBuffer, size_t nSize)
{
    const size_t n = std::min(nSize, m_text.size());
    memcpy(pBuffer, m_text.data(), n);
    m_text.remove_prefix(n);
    return static_cast<long>(n);
}

bool FdSink::write(const char *pData, size_t nSize)
{
    while (nSize > 0) {
        const ssize_t n = ::write(m_fd, pData, nSize);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        pData += n;
        nSize -= static_cast<size_t>(n);
    }
    return true;
}

void OutputBuffer::overflow(std::string_view &text)
{
    /* Only a line writing more than kLineRoom gets here; it can no longer
     * be taken back. */
    flush();
    if (text.size() > sizeof m_buffer)
        text = text.substr(0, sizeof m_buffer);
}

void OutputBuffer::begin_line()
{
    if (sizeof m_buffer - m_used < kLineRoom)
        flush();
    m_lineStart = m_used;
}

void OutputBuffer::cancel_line()
{
    m_used = m_lineStart;
}

bool OutputBuffer::flush()
{
    if (m_error == 0 && m_used > 0 && !m_sink.write(m_buffer, m_used))
        m_error = errno != 0 ? errno : EIO;
    m_used = 0;
    m_lineStart = 0;
    return m_error == 0;
}

bool LineReader::fill()
{
    m_dropped += m_begin;
    memmove(m_buffer, m_buffer + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
    for (OutputBuffer *pBuffer : m_pFlush)
        if (pBuffer)
            pBuffer->flush();
    const long n = m_source.read(m_buffer + m_end, sizeof m_buffer - m_end);
    if (n < 0)
        return false;
    if (n == 0)
        m_bEof = true;
    m_end += static_cast<size_t>(n);
    return true;
}

LineReader::Status LineReader::next(std::string_view &line)
{
    bool bSkipping = false; /* in a line too long to keep: its bytes are dropped */
    for (;;) {
        const void *pLf = memchr(m_buffer + m_begin, '\n', m_end - m_begin);
        const size_t nBegin = m_begin;
        size_t nEnd;
        if (pLf) {
            nEnd = static_cast<size_t>(static_cast<const char *>(pLf) - m_buffer);
            m_begin = nEnd + 1;
        } else if (m_bEof) {
            if (m_begin == m_end && !bSkipping)
                return kEnd;
            nEnd = m_begin = m_end;
        } else {
            /* A line with no end in sight that is already too long (a CR
             * may still come before its LF): drop what is read of it. */
            if (bSkipping || m_end - m_begin > kMaxLine + 1) {
                bSkipping = true;
                m_dropped += m_end;
                m_begin = m_end = 0;
            }
            if (!fill())
                return kError;
            continue;
        }
        m_number++;
        if (nEnd > nBegin && m_buffer[nEnd - 1] == '\r')
            nEnd--;
        if (bSkipping || nEnd - nBegin > kMaxLine)
            return kTooLong;
        line = std::string_view(m_buffer + nBegin, nEnd - nBegin);
        /* A byte-order mark, which some editors put at the start of a file
         * saved as UTF-8, is not part of the first line. */
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (m_number == 1 && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            line.remove_prefix(kByteOrderMark.size());
        m_offset = m_dropped + static_cast<uint64_t>(line.data() - m_buffer);
        return kLine;
    }
}

const char *translate(const char *szMsgid)
{
    return dgettext(kDomain, szMsgid);
}

const Messages::Translation &Messages::translated(const char *szMsgid)
{
    /* A run repeats a few messages over and over: each is looked up and cut
     * once, as the catalogue lookup costs more than the rest of a refused
     * line. The entries the message being written uses are not replaced. */
    for (Translation &t : m_translations)
        if (t.msgid == szMsgid) {
            t.used = m_nMessage;
            return t;
        }
    Translation *pT;
    do
        pT = &m_translations[m_nextTranslation++ % kTranslations];
    while (pT->msgid && pT->used == m_nMessage);
    Translation &t = *pT;
    t.msgid = szMsgid;
    t.used = m_nMessage;
    t.pieces.clear();
    substitute(
        translate(szMsgid), [&t](std::string_view text) { t.pieces.push_back({text, -1}); },
        [&t](int n) { t.pieces.push_back({{}, n}); });
    return t;
}

namespace {

/* TRANSLATORS: where a message belongs ("line 3"), then the message. */
const char *const kPlaced = N_("%s: %s");
/* The frames of a place as it stands, and of none. */
const char kAsItStands[] = "%s", kNowhere[] = "";

} // namespace

const Messages::Frame &Messages::frame(const char *szPlace)
{
    Frame &f = m_frame;
    if (f.place == szPlace)
        return f;
    /* The pieces point into the catalogue's texts, which stay, not into the
     * entries, which may be replaced. */
    f.place = szPlace;
    f.pieces.clear();
    f.pieces.push_back({m_prefix, -1});
    if (szPlace == kNowhere)
        f.pieces.push_back({{}, 1});
    else {
        /* A place as it stands is not looked up: it is its argument. */
        static const Piece kAsIs = {{}, 0};
        const Translation &placed = translated(kPlaced);
        const Piece *pPlace = &kAsIs;
        size_t nPlace = 1;
        if (szPlace != kAsItStands) {
            const std::vector<Piece> &pieces = translated(szPlace).pieces;
            pPlace = pieces.data();
            nPlace = pieces.size();
        }
        for (const Piece &outer : placed.pieces)
            if (outer.arg == 0) {
                for (size_t i = 0; i < nPlace; i++)
                    if (pPlace[i].arg <= 0)
                        f.pieces.push_back(pPlace[i]);
            } else if (outer.arg <= 1)
                f.pieces.push_back(outer);
    }
    f.pieces.push_back({"\n", -1});
    return f;
}

void Messages::write(const char *szPlace, std::string_view place, const Reason &why)
{
    m_nMessage++;
    if (m_pResults)
        m_pResults->flush();
    /* Straight into the buffer, piece by piece: no text is built on the
     * way but what must be escaped. */
    m_out.begin_line();
    const Frame &f = frame(szPlace);
    const Translation &reason = translated(why.format);
    for (const Piece &piece : f.pieces) {
        if (piece.arg < 0)
            m_out.append(piece.text);
        else if (piece.arg == 0 && szPlace != kAsItStands)
            m_out.append(place); /* a number of ours */
        else if (piece.arg == 0)
            append_quoted(place);
        else
            for (const Piece &part : reason.pieces)
                if (part.arg < 0)
                    m_out.append(part.text);
                else if (part.arg < 4)
                    append_quoted(why.args[part.arg]);
    }
    m_bPending = true;
}

void Messages::append_quoted(std::string_view text)
{
    if (shows_as_it_is(text)) {
        m_out.append(text);
        return;
    }
    m_quoted.clear();
    append_escaped(m_quoted, text);
    m_out.append(m_quoted);
}

void Messages::report(const Reason &why, const char *szPlace, uint64_t nNumber)
{
    if (!szPlace) {
        report(std::string_view(), why);
        return;
    }
    char szNumber[24];
    const std::string_view number(
        szNumber, static_cast<size_t>(
                      std::to_chars(szNumber, szNumber + sizeof szNumber, nNumber).ptr - szNumber));
    write(szPlace, number, why);
}

void Messages::report(std::string_view where, const Reason &why)
{
    write(where.empty() ? kNowhere : kAsItStands, where, why);
}

namespace {

/* One output line for one input line: the converted text, or nothing when
 * the line is refused; a blank line stays blank, unless bBlankRefused (an
 * operand: nothing was meant by it). */
Reason convert_one(std::string_view text, LineFunction convert, const Settings &settings,
                   OutputBuffer &out, Messages &messages, bool bBlankRefused)
{
    messages.before_result();
    out.begin_line();
    Reason why = check_text(text);
    if (why.empty()) {
        text = trim_blanks(text);
        if (text.empty() && bBlankRefused)
            why = refusal(N_("the operand is empty"));
        else if (!text.empty() && !convert(text, settings, out, why) && why.empty())
            why = refusal(N_("refused"));
    }
    if (!why.empty())
        out.cancel_line();
    out.end_line();
    return why;
}

} // namespace

Tally convert_lines(Source &source, LineFunction convert, const Settings &settings,
                    OutputBuffer &out, Messages &messages)
{
    Tally tally;
    LineReader reader(source, &out, &messages.buffer());
    std::string_view line;
    for (;;) {
        const LineReader::Status status = reader.next(line);
        if (status == LineReader::kEnd)
            break;
        if (status == LineReader::kError) {
            messages.report(refusal(N_("cannot read the input: %s"), strerror(errno)));
            tally.failed = true;
            break;
        }
        Reason why;
        if (status == LineReader::kTooLong) {
            messages.before_result();
            out.begin_line();
            out.end_line();
            static const std::string kBound = std::to_string(kMaxLine);
            why = refusal(N_("the line is longer than %s bytes"), kBound);
        } else
            why = convert_one(line, convert, settings, out, messages, false);
        if (!why.empty()) {
            tally.refused++;
            messages.report(why, N_("line %s"), reader.number());
        }
        if (out.error() != 0) {
            tally.failed = true;
            break;
        }
    }
    return tally;
}

Tally convert_texts(const std::vector<std::string_view> &texts, LineFunction convert,
                    const Settings &settings, OutputBuffer &out, Messages &messages)
{
    Tally tally;
    for (size_t i = 0; i < texts.size(); i++) {
        const Reason why = convert_one(texts[i], convert, settings, out, messages, true);
        if (!why.empty()) {
            tally.refused++;
            messages.report(why, texts.size() > 1 ? N_("argument %s") : nullptr, i + 1);
        }
    }
    return tally;
}
