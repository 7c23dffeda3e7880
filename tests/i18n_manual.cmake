# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The manual page formats without a single warning (all of them enabled).
# Run with cmake -P: -DGROFF=<groff> -DFILE=<page>
cmake_minimum_required(VERSION 3.20)

execute_process(COMMAND "${GROFF}" -man -ww -z "${FILE}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "groff warns about ${FILE} (${result}):\n${err}")
endif()
