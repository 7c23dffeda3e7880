# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Extracts the catalogue texts of a domain's sources into a template and
# compares it with the committed one, ignoring the POT-Creation-Date line (the
# one line that changes on every run). Run with cmake -P:
#   -DSOURCE_DIR=<top of the sources> -DSOURCES=<glob under the top>
#   -DTEMPLATE=<committed template, under the top> -DXGETTEXT=<program>
#   -DOUTPUT=<scratch .pot> -DMODE=update|check
# (po/CMakeLists.txt keeps the first four for each domain in
# TOLKA_EXTRACT_<domain>.) update rewrites the template when its texts or
# comments changed; check fails when they differ.
cmake_minimum_required(VERSION 3.20)

foreach(var SOURCE_DIR SOURCES TEMPLATE XGETTEXT OUTPUT MODE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "extract.cmake: ${var} is not set")
  endif()
endforeach()

# Every source file, in a fixed order, named relative to the top so the
# references do not depend on where the tree lies.
file(GLOB sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${SOURCES}")
list(SORT sources)

# References name the file only: a line number would make the template stale
# at every edit above a text.
execute_process(
  COMMAND "${XGETTEXT}" --language=C++ --from-code=UTF-8
          --keyword=_ --keyword=N_ --add-comments=TRANSLATORS:
          --add-location=file --package-name=tolka --package-version=1.0
          "--copyright-holder=the Tolka developers"
          --output=${OUTPUT} ${sources}
  WORKING_DIRECTORY "${SOURCE_DIR}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE log
  ERROR_VARIABLE log)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "xgettext failed:\n${log}")
endif()

set(committed "${SOURCE_DIR}/${TEMPLATE}")
set(date_line "\"POT-Creation-Date: [^\n]*\n")
file(READ "${OUTPUT}" extracted)
string(REGEX REPLACE "${date_line}" "" extracted_body "${extracted}")
set(committed_body "")
if(EXISTS "${committed}")
  file(READ "${committed}" committed_text)
  string(REGEX REPLACE "${date_line}" "" committed_body "${committed_text}")
endif()

if(extracted_body STREQUAL committed_body)
  message(STATUS "${TEMPLATE} matches the sources")
elseif(MODE STREQUAL "update")
  file(WRITE "${committed}" "${extracted}")
  message(STATUS "${TEMPLATE} updated: merge it into the translations")
else()
  message(FATAL_ERROR
    "${TEMPLATE} differs from what the sources give (${OUTPUT}); "
    "rebuild it with the target pot and commit it")
endif()
