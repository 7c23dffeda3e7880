# Installs the build tree BUILD_DIR into the scratch prefix PREFIX, checks
# that the program's files are there, runs the tree's uninstall target and
# checks that not one file is left (directories may stay: uninstall keeps
# them, as they may be shared in a real prefix). Run with cmake -P:
#   -DBUILD_DIR=<build tree> -DPREFIX=<scratch prefix>
# The install rewrites BUILD_DIR/install_manifest.txt; an earlier one is put
# back at the end so a real install can still be undone.
cmake_minimum_required(VERSION 3.16)

set(manifest "${BUILD_DIR}/install_manifest.txt")
set(saved "${BUILD_DIR}/install_manifest.txt.before-test")
file(REMOVE_RECURSE "${PREFIX}")
file(REMOVE "${saved}")
if(EXISTS "${manifest}")
  file(RENAME "${manifest}" "${saved}")
endif()

set(failure "")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT result EQUAL 0)
  set(failure "cmake --install failed:\n${log}")
endif()

if(NOT failure)
  foreach(file bin/tolka share/applications/tolka.desktop share/man/man1/tolka.1
               share/locale/en/LC_MESSAGES/locx.mo bin/tolka-cli share/man/man1/tolka-cli.1
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

file(REMOVE "${manifest}")
if(EXISTS "${saved}")
  file(RENAME "${saved}" "${manifest}")
endif()
if(failure)
  message(FATAL_ERROR "${failure}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "install and uninstall leave ${PREFIX} without a file")
