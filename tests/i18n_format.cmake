# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Compiles each catalogue with msgfmt as the build runs it (MSGFMT, a list:
# program and options), then an English catalogue whose pixmap warning has
# %d where the source has %s, which must be refused. Run with cmake -P:
#   -DMSGFMT=<msgfmt;--check> -DPO_DIR=<po/> -DWORK_DIR=<scratch directory>
cmake_minimum_required(VERSION 3.20)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

file(GLOB catalogues "${PO_DIR}/*.po")
if(NOT catalogues)
  message(FATAL_ERROR "no catalogue in ${PO_DIR}")
endif()
foreach(po IN LISTS catalogues)
  execute_process(COMMAND ${MSGFMT} --output-file=${WORK_DIR}/good.mo ${po}
                  RESULT_VARIABLE result ERROR_VARIABLE log)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "msgfmt refuses ${po}:\n${log}")
  endif()
endforeach()

file(READ "${PO_DIR}/en.po" english)
set(good "msgstr \"Couldn't find pixmap file: %s\"")
string(FIND "${english}" "${good}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "en.po has no translation ${good}")
endif()
string(REPLACE "${good}" "msgstr \"Couldn't find pixmap file: %d\"" broken "${english}")
file(WRITE "${WORK_DIR}/broken.po" "${broken}")
execute_process(COMMAND ${MSGFMT} --output-file=${WORK_DIR}/broken.mo ${WORK_DIR}/broken.po
                RESULT_VARIABLE result ERROR_VARIABLE log)
if(result EQUAL 0)
  message(FATAL_ERROR "msgfmt accepts a pixmap warning whose %s became %d")
endif()
if(NOT log MATCHES "in .msgid. and .msgstr. for argument 1 are not the same")
  message(FATAL_ERROR "msgfmt refused the broken catalogue for another reason:\n${log}")
endif()
message(STATUS "refused as it should be:\n${log}")
