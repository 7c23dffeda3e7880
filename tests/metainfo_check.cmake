# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The AppStream metadata against the files it describes: each screenshot's
# declared size is that of docs/<its file name>, the launchable names a
# desktop file of data/, the id is the file's name; and appstreamcli
# validate --pedantic reports no issue at all. Run with cmake -P:
#   -DMETAINFO=<.metainfo.xml> -DSOURCE_DIR=<top> -DAPPSTREAMCLI=<program>
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/png_size.cmake)

set(failure "")
file(READ "${METAINFO}" xml)

get_filename_component(name "${METAINFO}" NAME)
string(REGEX MATCH "<id>([^<]*)</id>" _ "${xml}")
if(NOT "${CMAKE_MATCH_1}.metainfo.xml" STREQUAL name)
  string(APPEND failure "the id '${CMAKE_MATCH_1}' is not the file's name ${name}\n")
endif()
string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" _ "${xml}")
if(NOT EXISTS "${SOURCE_DIR}/data/${CMAKE_MATCH_1}")
  string(APPEND failure "the launchable '${CMAKE_MATCH_1}' is not in data/\n")
endif()

string(REGEX MATCHALL "<image [^>]*>[^<]*</image>" images "${xml}")
if(NOT images)
  string(APPEND failure "no screenshot image\n")
endif()
foreach(image IN LISTS images)
  if(NOT image MATCHES "width=\"([0-9]+)\" height=\"([0-9]+)\">[^<]*/([^/<]+)</image>")
    string(APPEND failure "an image without width, height or file: ${image}\n")
    continue()
  endif()
  set(declared "${CMAKE_MATCH_1}x${CMAKE_MATCH_2}")
  set(png "${SOURCE_DIR}/docs/${CMAKE_MATCH_3}")
  if(NOT EXISTS "${png}")
    string(APPEND failure "${image}: no ${png}\n")
    continue()
  endif()
  png_size("${png}" actual)
  if(NOT actual STREQUAL declared)
    string(APPEND failure "${png} is ${actual}, the metadata says ${declared}\n")
  endif()
endforeach()

execute_process(COMMAND "${APPSTREAMCLI}" validate --pedantic --no-net "${METAINFO}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR "${out}" MATCHES "(^|\n)[EWIP]: ")
  string(APPEND failure "appstreamcli validate --pedantic --no-net:\n${out}${err}")
endif()

if(failure)
  message(FATAL_ERROR "${failure}")
endif()
