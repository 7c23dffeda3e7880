# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package of the build tree BUILD_DIR with cpack into
# WORK_DIR and looks into it without installing it: the files it must hold,
# all under /usr and owned by root, icons of the size their directory says,
# Depends computed from the libraries, no lintian error, AppStream metadata
# valid, the menu entry's icon present. Run with cmake -P:
#   -DBUILD_DIR= -DWORK_DIR= -DCPACK= -DDPKG_DEB= -DLINTIAN= -DAPPSTREAMCLI=
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/install_manifest_guard.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/png_size.cmake)

# One line per file; what a later install rule adds joins the package and
# gets its line here.
set(expected
  usr/bin/tolka
  usr/bin/tolka-cli
  usr/share/applications/org.example.tolka.desktop
  usr/share/metainfo/org.example.tolka.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/tolka.svg
  usr/share/icons/hicolor/16x16/apps/tolka.png
  usr/share/icons/hicolor/32x32/apps/tolka.png
  usr/share/icons/hicolor/48x48/apps/tolka.png
  usr/share/icons/hicolor/64x64/apps/tolka.png
  usr/share/icons/hicolor/128x128/apps/tolka.png
  usr/share/icons/hicolor/256x256/apps/tolka.png
  usr/share/man/man1/tolka.1.gz
  usr/share/man/man1/tolka-cli.1.gz
  usr/share/locale/fr/LC_MESSAGES/tolka-cli.mo
  usr/share/bash-completion/completions/tolka-cli
  usr/share/locale/en/LC_MESSAGES/locx.mo
  usr/share/locale/fr/LC_MESSAGES/locx.mo
  usr/share/doc/tolka/copyright
  usr/share/doc/tolka/changelog.gz
)

set(failure "")
macro(fail text)
  string(APPEND failure "${text}\n")
endmacro()
macro(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
endmacro()

file(REMOVE_RECURSE "${WORK_DIR}")
keep_install_manifest("${BUILD_DIR}")
run("${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}")
restore_install_manifest("${BUILD_DIR}")
file(GLOB deb "${WORK_DIR}/tolka_*.deb")
list(LENGTH deb count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made no single tolka_*.deb (${result}):\n${out}${err}")
endif()
message(STATUS "${deb}")

# Contents: lines like "-rw-r--r-- root/root 1374 2026-12-07 13:17 ./usr/share/...".
run("${DPKG_DEB}" --contents "${deb}")
string(REGEX REPLACE "\n$" "" out "${out}")
string(REPLACE "\n" ";" lines "${out}")
set(paths "")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([-dl])[-rwxs]+ ([^ ]+) .* \\./(.*)$")
    fail("unexpected line from dpkg-deb --contents: ${line}")
    continue()
  endif()
  set(type "${CMAKE_MATCH_1}")
  set(owner "${CMAKE_MATCH_2}")
  set(path "${CMAKE_MATCH_3}")
  if(NOT owner STREQUAL "root/root")
    fail("not owned by root: ${line}")
  endif()
  if(NOT path MATCHES "^usr/")
    fail("outside /usr: ${path}")
  endif()
  if(type STREQUAL "-")
    list(APPEND paths "${path}")
  endif()
endforeach()
foreach(path IN LISTS expected)
  if(NOT path IN_LIST paths)
    fail("missing from the package: ${path}")
  endif()
endforeach()

foreach(field Section Maintainer Depends)
  run("${DPKG_DEB}" --field "${deb}" ${field})
  string(STRIP "${out}" ${field})
endforeach()
if(NOT Section STREQUAL "hamradio" OR NOT Maintainer MATCHES "^Tolka developers <.+@.+>$")
  fail("Section or Maintainer wrong: '${Section}', '${Maintainer}'")
endif()
# Computed by dpkg-shlibdeps: versioned, the toolkit among them, and
# GeographicLib, which tolka-cli links.
if(NOT Depends MATCHES "(^|, )libgtk2\\.0-0 \\(>= " OR NOT Depends MATCHES "(^|, )libc6 \\(>= "
   OR NOT Depends MATCHES "(^|, )libgeographiclib[0-9]+ \\(>= ")
  fail("Depends lacks the libraries the program links: '${Depends}'")
endif()

run("${DPKG_DEB}" --extract "${deb}" "${WORK_DIR}/root")
foreach(path IN LISTS paths)
  if(path MATCHES "/hicolor/([0-9]+x[0-9]+)/apps/.*\\.png$")
    set(size "${CMAKE_MATCH_1}")
    png_size("${WORK_DIR}/root/${path}" actual)
    if(NOT actual STREQUAL size)
      fail("${path} is ${actual}")
    endif()
  endif()
endforeach()

file(GLOB desktop "${WORK_DIR}/root/usr/share/applications/*.desktop")
foreach(entry IN LISTS desktop)
  file(STRINGS "${entry}" icon REGEX "^Icon=")
  string(REPLACE "Icon=" "" icon "${icon}")
  if(NOT "usr/share/icons/hicolor/scalable/apps/${icon}.svg" IN_LIST paths)
    fail("${entry} names the icon '${icon}', which the package lacks")
  endif()
endforeach()

file(GLOB metainfo "${WORK_DIR}/root/usr/share/metainfo/*.metainfo.xml")
run("${APPSTREAMCLI}" validate --pedantic --no-net ${metainfo})
if(NOT result EQUAL 0 OR out MATCHES "(^|\n)[EWIP]: ")
  fail("appstreamcli validate --pedantic --no-net finds issues in the metadata:\n${out}${err}")
endif()

run("${LINTIAN}" --fail-on error "${deb}")
message(STATUS "lintian (${result}):\n${out}")
if(NOT result EQUAL 0 OR out MATCHES "(^|\n)E: ")
  fail("lintian reports errors:\n${out}${err}")
endif()

if(failure)
  message(FATAL_ERROR "${failure}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
