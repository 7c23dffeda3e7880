// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lines.h"

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
    memmove(m_buffer, m_buffer + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
    if (m_pFlushFirst)
        m_pFlushFirst->flush();
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
        return kLine;
    }
}

const char *translate(const char *szMsgid)
{
    return dgettext(kDomain, szMsgid);
}

void Messages::report(std::string_view where, const Reason &why)
{
    std::string reason;
    append_substituted(reason, translate(why.format), why.args, 3);
    m_text.assign(m_program);
    m_text += ": ";
    if (where.empty())
        m_text += reason;
    else {
        const std::string_view parts[2] = {where, reason};
        /* TRANSLATORS: where a message belongs ("line 3"), then the message. */
        append_substituted(m_text, translate(N_("%s: %s")), parts, 2);
    }
    m_text += '\n';
    m_sink.write(m_text.data(), m_text.size());
}

namespace {

/* One output line for one input line: the converted text, or nothing when
 * the line is refused; a blank line stays blank. */
Reason convert_one(std::string_view text, LineFunction convert, const Settings &settings,
                   OutputBuffer &out)
{
    out.begin_line();
    Reason why = check_text(text);
    if (why.empty()) {
        text = trim_blanks(text);
        if (!text.empty() && !convert(text, settings, out, why) && why.empty())
            why = refusal(N_("refused"));
    }
    if (!why.empty())
        out.cancel_line();
    out.end_line();
    return why;
}

/* "line 3", "argument 2": the place a message names. */
std::string place(const char *szFormat, uint64_t nNumber)
{
    char szNumber[24];
    const std::string_view number(szNumber,
                                  std::to_chars(szNumber, szNumber + sizeof szNumber, nNumber).ptr -
                                      szNumber);
    std::string text;
    append_substituted(text, translate(szFormat), &number, 1);
    return text;
}

} // namespace

Tally convert_lines(Source &source, LineFunction convert, const Settings &settings,
                    OutputBuffer &out, Messages &messages)
{
    Tally tally;
    LineReader reader(source, &out);
    std::string_view line;
    for (;;) {
        const LineReader::Status status = reader.next(line);
        if (status == LineReader::kEnd)
            break;
        if (status == LineReader::kError) {
            messages.report({}, refusal(N_("cannot read the input: %s"), strerror(errno)));
            tally.failed = true;
            break;
        }
        Reason why;
        if (status == LineReader::kTooLong) {
            out.begin_line();
            out.end_line();
            static const std::string kBound = std::to_string(kMaxLine);
            why = refusal(N_("the line is longer than %s bytes"), kBound);
        } else
            why = convert_one(line, convert, settings, out);
        if (!why.empty()) {
            tally.refused++;
            messages.report(place(N_("line %s"), reader.number()), why);
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
        const Reason why = convert_one(texts[i], convert, settings, out);
        if (!why.empty()) {
            tally.refused++;
            messages.report(texts.size() > 1 ? place(N_("argument %s"), i + 1) : std::string(),
                            why);
        }
    }
    return tally;
}
