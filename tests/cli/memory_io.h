// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A source that hands out a string in chunks of a chosen size, and a sink
// that keeps what it is given: the line reader without files.
#ifndef TOLKA_TEST_MEMORY_IO_H
#define TOLKA_TEST_MEMORY_IO_H

#include <algorithm>
#include <cstring>
#include <string>

#include "cli/lines.h"

class StringSource final : public Source {
public:
    explicit StringSource(std::string text, size_t nChunk = kChunk)
        : m_text(std::move(text)), m_nChunk(nChunk)
    {
    }
    long read(char *pBuffer, size_t nSize) override
    {
        size_t n = std::min({nSize, m_nChunk, m_text.size() - m_pos});
        memcpy(pBuffer, m_text.data() + m_pos, n);
        m_pos += n;
        return static_cast<long>(n);
    }

private:
    std::string m_text;
    size_t m_nChunk, m_pos = 0;
};

class StringSink final : public Sink {
public:
    bool write(const char *pData, size_t nSize) override
    {
        text.append(pData, nSize);
        return true;
    }
    std::string text;
};

#endif
