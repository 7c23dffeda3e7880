# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installing from a build tree, by `cmake --install` or by cpack, rewrites
# its install_manifest.txt, which the uninstall target reads. A test that
# installs keeps the tree's manifest aside first and puts it back after, so
# a real install can still be undone. Included by cmake -P scripts.

function(keep_install_manifest build_dir)
  file(REMOVE "${build_dir}/install_manifest.txt.before-test")
  if(EXISTS "${build_dir}/install_manifest.txt")
    file(RENAME "${build_dir}/install_manifest.txt"
         "${build_dir}/install_manifest.txt.before-test")
  endif()
endfunction()

function(restore_install_manifest build_dir)
  file(REMOVE "${build_dir}/install_manifest.txt")
  if(EXISTS "${build_dir}/install_manifest.txt.before-test")
    file(RENAME "${build_dir}/install_manifest.txt.before-test"
         "${build_dir}/install_manifest.txt")
  endif()
endfunction()
