# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# desktop-file-validate accepts the menu entry without a word: exit status 0
# and no error, warning or hint.
# Run with cmake -P: -DVALIDATE=<desktop-file-validate> -DFILE=<.desktop>
cmake_minimum_required(VERSION 3.20)

execute_process(COMMAND "${VALIDATE}" "${FILE}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate rejects ${FILE} (${result}):\n${out}${err}")
endif()
message(STATUS "valid: ${FILE}\n${out}")
