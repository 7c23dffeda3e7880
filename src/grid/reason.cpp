#include "reason.h"

void append_substituted(std::string &out, const char *szFormat, const std::string_view *args,
                        int nArgs)
{
    substitute(
        szFormat, [&](std::string_view text) { out += text; },
        [&](int n) {
            if (n < nArgs)
                out += args[n];
        });
}
