# Installs the build tree BUILD_DIR into the scratch prefix PREFIX, emptied
# first, for the end-to-end runs of the installed program. Run with cmake -P:
#   -DBUILD_DIR=<build tree> -DPREFIX=<scratch prefix>
# The install rewrites BUILD_DIR/install_manifest.txt; an earlier one is put
# back, so a real install can still be undone.
cmake_minimum_required(VERSION 3.20)

set(manifest "${BUILD_DIR}/install_manifest.txt")
set(saved "${manifest}.before-e2e")
file(REMOVE_RECURSE "${PREFIX}")
file(REMOVE "${saved}")
if(EXISTS "${manifest}")
  file(RENAME "${manifest}" "${saved}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(REMOVE "${manifest}")
if(EXISTS "${saved}")
  file(RENAME "${saved}" "${manifest}")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${log}")
endif()
message(STATUS "installed into ${PREFIX}")
