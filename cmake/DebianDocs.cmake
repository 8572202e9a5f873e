# SPDX-License-Identifier: MIT
# Run by cpack on the staged files before it makes a package. For the Debian package it adds
# what Debian asks of every package: a compressed manual page, the copyright file in the
# machine-readable form, and the changelogs, all derived from files of the source tree so
# that nothing here repeats the licence, the version or the history.
cmake_minimum_required(VERSION 3.20)
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(xv_root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(xv_doc ${xv_root}/share/doc/${CPACK_PACKAGE_NAME})
set(xv_file_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# -n keeps name and time out of the header, so the bytes depend on the content alone.
function(xv_gzip file)
  execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip -9n ${file} failed")
  endif()
  file(CHMOD ${file}.gz PERMISSIONS ${xv_file_permissions})
endfunction()

function(xv_write file content)
  file(WRITE ${file} "${content}")
  file(CHMOD ${file} PERMISSIONS ${xv_file_permissions})
endfunction()

file(MAKE_DIRECTORY ${xv_doc})
xv_gzip(${xv_root}/share/man/man1/xvantor.1)

# The copyright file takes the place of LICENSE: the tool is MIT, the support texts that it
# carries and writes into users' projects are MIT-0.
file(STRINGS ${CPACK_XV_SOURCE_DIR}/LICENSE xv_license_lines)
list(POP_FRONT xv_license_lines xv_title xv_empty xv_copyright_line)
string(REGEX REPLACE "^Copyright \\(c\\) " "" xv_copyright "${xv_copyright_line}")
set(xv_mit_text "")
foreach(line IN LISTS xv_license_lines)
  if(line STREQUAL "")
    string(APPEND xv_mit_text " .\n")
  else()
    string(APPEND xv_mit_text " ${line}\n")
  endif()
endforeach()
string(REGEX REPLACE "^ \\.\n" "" xv_mit_text "${xv_mit_text}")
string(CONCAT xv_copyright_file
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: XVantor\n"
  "Upstream-Contact: ${CPACK_DEBIAN_PACKAGE_MAINTAINER}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${xv_copyright}\n"
  "License: MIT\n"
  "\n"
  "Files: core/mstring.h support/mvantor.h support/texts/*\n"
  "Copyright: ${xv_copyright}\n"
  "License: MIT-0\n"
  "Comment: The support files that xvantor writes into the projects of its users. Programs\n"
  " that contain them need not carry any notice.\n"
  "\n"
  "License: MIT\n"
  "${xv_mit_text}"
  "\n"
  "License: MIT-0\n"
  " Permission is hereby granted, free of charge, to any person obtaining a copy of this\n"
  " software and associated documentation files (the \"Software\"), to deal in the Software\n"
  " without restriction, including without limitation the rights to use, copy, modify,\n"
  " merge, publish, distribute, sublicense, and/or sell copies of the Software, and to\n"
  " permit persons to whom the Software is furnished to do so.\n"
  " .\n"
  " THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED,\n"
  " INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A\n"
  " PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT\n"
  " HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION\n"
  " OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE\n"
  " SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.\n")
xv_write(${xv_doc}/copyright "${xv_copyright_file}")
file(REMOVE ${xv_doc}/LICENSE)

# Each release section of CHANGELOG.md ("## [1.0.0] - 2026-12-08") becomes an entry of the
# Debian changelog, newest first, dated at noon of its day.
file(READ ${CPACK_XV_SOURCE_DIR}/CHANGELOG.md xv_changelog)
string(REGEX MATCHALL "\n## \\[[0-9][0-9.]*\\] - [0-9]+-[0-9]+-[0-9]+" xv_releases
  "${xv_changelog}")
if(NOT xv_releases MATCHES "\\[${CPACK_PACKAGE_VERSION}\\]")
  message(FATAL_ERROR "CHANGELOG.md has no section \"## [${CPACK_PACKAGE_VERSION}] - date\" "
    "for the version in project(VERSION)")
endif()
set(xv_debian_changelog "")
foreach(release IN LISTS xv_releases)
  string(REGEX REPLACE ".*\\[([0-9.]+)\\] - (.*)" "\\1;\\2" release "${release}")
  list(GET release 0 version)
  list(GET release 1 day)
  execute_process(COMMAND date -u -R -d "${day} 12:00"
    OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "CHANGELOG.md: ${day} is not a date")
  endif()
  string(APPEND xv_debian_changelog
    "${CPACK_PACKAGE_NAME} (${version}-${CPACK_DEBIAN_PACKAGE_RELEASE}) unstable; urgency=medium\n"
    "\n"
    "  * XVantor ${version}; its changes are listed in changelog.gz.\n"
    "\n"
    " -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  ${date}\n"
    "\n")
endforeach()
string(REGEX REPLACE "\n\n$" "\n" xv_debian_changelog "${xv_debian_changelog}")
xv_write(${xv_doc}/changelog.Debian "${xv_debian_changelog}")
xv_gzip(${xv_doc}/changelog.Debian)
# The package is made by its developers, not uploaded to Debian: no bug of Debian's asks for
# it, so its first entry has none to close.
file(MAKE_DIRECTORY ${xv_root}/share/lintian/overrides)
xv_write(${xv_root}/share/lintian/overrides/${CPACK_PACKAGE_NAME}
  "${CPACK_PACKAGE_NAME}: initial-upload-closes-no-bugs\n")
xv_write(${xv_doc}/changelog "${xv_changelog}")
xv_gzip(${xv_doc}/changelog)

# Folders made here follow the umask; the package's must not.
file(GLOB_RECURSE xv_directories LIST_DIRECTORIES true ${xv_root}/*)
foreach(directory IN LISTS xv_directories)
  if(IS_DIRECTORY ${directory})
    file(CHMOD ${directory} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
      GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
