# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build tree BUILD_DIR into the scratch prefix PREFIX, emptied
# first, for the end-to-end runs of the installed program. Run with cmake -P:
#   -DBUILD_DIR=<build tree> -DPREFIX=<scratch prefix>
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/../install_manifest_guard.cmake)

file(REMOVE_RECURSE "${PREFIX}")
keep_install_manifest("${BUILD_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
restore_install_manifest("${BUILD_DIR}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${log}")
endif()
message(STATUS "installed into ${PREFIX}")
