// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A fuzz target's property: when it fails, what and the input it failed
// on, then abort, which libFuzzer reports with the input saved.
#ifndef TOLKA_FUZZ_PROPERTY_H
#define TOLKA_FUZZ_PROPERTY_H

#include <cstdio>
#include <cstdlib>
#include <string_view>

inline void check(bool ok, const char *what, std::string_view input)
{
    if (!ok) {
        fprintf(stderr, "property failed: %s\ninput: \"%.*s\"\n", what,
                static_cast<int>(input.size()), input.data());
        abort();
    }
}

#endif
