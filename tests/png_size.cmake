# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# png_size(<file> <variable>): sets <variable> to the PNG's "WIDTHxHEIGHT",
# the first two fields of its IHDR chunk, from byte 16.
function(png_size file variable)
  file(READ "${file}" header OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING "${header}" 0 8 w)
  string(SUBSTRING "${header}" 8 8 h)
  math(EXPR w "0x${w}")
  math(EXPR h "0x${h}")
  set(${variable} "${w}x${h}" PARENT_SCOPE)
endfunction()
