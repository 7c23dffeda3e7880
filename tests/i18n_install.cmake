# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build tree BUILD_DIR into the scratch prefix PREFIX, checks
# that the program's files are there, runs the tree's uninstall target and
# checks that not one file is left (directories may stay: uninstall keeps
# them, as they may be shared in a real prefix). Run with cmake -P:
#   -DBUILD_DIR=<build tree> -DPREFIX=<scratch prefix>
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/install_manifest_guard.cmake)

file(REMOVE_RECURSE "${PREFIX}")
keep_install_manifest("${BUILD_DIR}")

set(failure "")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT result EQUAL 0)
  set(failure "cmake --install failed:\n${log}")
endif()

if(NOT failure)
  foreach(file bin/tolka share/applications/org.example.tolka.desktop
               share/metainfo/org.example.tolka.metainfo.xml
               share/icons/hicolor/scalable/apps/tolka.svg
               share/icons/hicolor/48x48/apps/tolka.png share/man/man1/tolka.1.gz
               share/locale/en/LC_MESSAGES/locx.mo share/locale/fr/LC_MESSAGES/locx.mo
               share/doc/tolka/copyright bin/tolka-cli share/man/man1/tolka-cli.1.gz
               share/locale/fr/LC_MESSAGES/tolka-cli.mo)
    if(NOT EXISTS "${PREFIX}/${file}")
      string(APPEND failure "not installed: ${file}\n")
    endif()
  endforeach()
endif()

if(NOT failure)
  execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target uninstall
                  RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(NOT result EQUAL 0)
    set(failure "the uninstall target failed:\n${log}")
  endif()
endif()

if(NOT failure)
  file(GLOB_RECURSE left LIST_DIRECTORIES false "${PREFIX}/*")
  if(left)
    string(REPLACE ";" "\n" left "${left}")
    set(failure "left behind after uninstall:\n${left}")
  endif()
endif()

restore_install_manifest("${BUILD_DIR}")
if(failure)
  message(FATAL_ERROR "${failure}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "install and uninstall leave ${PREFIX} without a file")
