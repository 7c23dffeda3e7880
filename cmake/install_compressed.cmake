# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# tolka_install_compressed(<file> <destination>): compresses <file> (relative
# to the calling directory) at build time and installs <file-name>.gz into
# <destination>. For manual pages and the changelog, which Debian wants
# compressed. gzip -n leaves out the name and time stamp, so the same source
# gives the same bytes.
find_program(TOLKA_GZIP gzip REQUIRED)

function(tolka_install_compressed file destination)
  get_filename_component(source ${file} ABSOLUTE)
  get_filename_component(name ${file} NAME)
  set(copy ${PROJECT_BINARY_DIR}/compressed/${destination}/${name})
  add_custom_command(
    OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND ${TOLKA_GZIP} -9nf ${copy}
    DEPENDS ${source}
    COMMENT "Compressing ${file}"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "${destination}/${name}" id)
  add_custom_target(gzip_${id} ALL DEPENDS ${copy}.gz)
  install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()
