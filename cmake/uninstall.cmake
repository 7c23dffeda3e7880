# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Removes the files that the last `cmake --install` of a build tree put in
# place, as listed in its install_manifest.txt. Run with cmake -P:
#   -DMANIFEST=<build tree>/install_manifest.txt
# Only files go: directories stay, since a prefix like /usr/local shares
# share/man/man1, share/applications and the like with other programs.
cmake_minimum_required(VERSION 3.20)

if(NOT DEFINED MANIFEST)
  message(FATAL_ERROR "uninstall.cmake: MANIFEST is not set")
endif()
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} does not exist (run cmake --install first)")
endif()

file(STRINGS "${MANIFEST}" files)
foreach(file IN LISTS files)
  # IS_SYMLINK too: a dangling link does not EXISTS.
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
    if(EXISTS "${file}" OR IS_SYMLINK "${file}")
      message(FATAL_ERROR "Could not remove ${file}")
    endif()
  else()
    message(STATUS "Already gone: ${file}")
  endif()
endforeach()
