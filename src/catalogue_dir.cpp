// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "catalogue_dir.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

std::string catalogue_directory_beside(const std::string &szExecutable,
                                       const std::string &szFromBinDir)
{
    if (szExecutable.empty() || szExecutable[0] != '/')
        return "";
    std::string szDir = szExecutable.substr(0, szExecutable.rfind('/'));
    std::string szRest = szFromBinDir;
    /* Resolve "../" textually: the executable's path is already real, so
     * its parent directory is the prefix, and the result reads plainly in
     * messages. Above the root there is nothing more to take off. */
    while (szRest.compare(0, 3, "../") == 0 || szRest == "..") {
        const std::string::size_type nSlash = szDir.rfind('/');
        szDir = nSlash == std::string::npos ? "" : szDir.substr(0, nSlash);
        szRest.erase(0, szRest.size() > 2 ? 3 : 2);
    }
    if (szRest.empty())
        return szDir.empty() ? "/" : szDir;
    return szDir + "/" + szRest;
}

std::string catalogue_directory(const char *szFromBinDir, const char *szConfigured)
{
    char *szReal = realpath("/proc/self/exe", nullptr);
    if (szReal) {
        const std::string szBeside = catalogue_directory_beside(szReal, szFromBinDir);
        free(szReal);
        struct stat info;
        if (!szBeside.empty() && stat(szBeside.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return szBeside;
    }
    return szConfigured;
}
