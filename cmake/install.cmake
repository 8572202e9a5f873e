# SPDX-License-Identifier: MIT
# Installation: the tool, its man page, shell completions and a CMake package that offers the imported target
# XVantor::xvantor and the function xvantor_generate(); cpack turns the same into a .deb.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Fixed rather than CMAKE_INSTALL_LIBDIR: the package only names an executable, so one
# architecture-independent place suits every prefix.
set(XV_PACKAGE_DESTINATION lib/cmake/XVantor)
# The umask of whoever installs or packages must not reach the installed folders.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS xvantor EXPORT XVantorTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The manual page shows the version of the build that installs it, so that project(VERSION)
# stays the one place where the version is written.
file(READ ${PROJECT_SOURCE_DIR}/man/xvantor.1 xv_man_page)
string(REGEX REPLACE "\"XVantor [0-9.]+\"" "\"XVantor ${PROJECT_VERSION}\"" xv_man_page
  "${xv_man_page}")
file(WRITE ${PROJECT_BINARY_DIR}/man/xvantor.1.new "${xv_man_page}")
configure_file(${PROJECT_BINARY_DIR}/man/xvantor.1.new ${PROJECT_BINARY_DIR}/man/xvantor.1 COPYONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/man/xvantor.1)
install(FILES ${PROJECT_BINARY_DIR}/man/xvantor.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/xvantor)
# Shell completions, each where its shell looks for those of installed packages.
install(FILES ${PROJECT_SOURCE_DIR}/completions/xvantor.bash
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions RENAME xvantor)
install(FILES ${PROJECT_SOURCE_DIR}/completions/_xvantor
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/zsh/vendor-completions)
install(FILES ${PROJECT_SOURCE_DIR}/completions/xvantor.fish
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/fish/vendor_completions.d)

install(EXPORT XVantorTargets NAMESPACE XVantor:: DESTINATION ${XV_PACKAGE_DESTINATION})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/XVantorConfig.cmake.in
  ${PROJECT_BINARY_DIR}/XVantorConfig.cmake
  INSTALL_DESTINATION ${XV_PACKAGE_DESTINATION}
  NO_SET_AND_CHECK_MACRO)
# The tool is run, not linked, so a consumer of any architecture may use it.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/XVantorConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion
  ARCH_INDEPENDENT)
install(FILES
  ${PROJECT_BINARY_DIR}/XVantorConfig.cmake
  ${PROJECT_BINARY_DIR}/XVantorConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/XVantorGenerate.cmake
  ${CMAKE_CURRENT_LIST_DIR}/XVantorLanguages.cmake
  DESTINATION ${XV_PACKAGE_DESTINATION})

# Inside this build the same names work as after find_package(XVantor).
if(NOT TARGET XVantor::xvantor)
  add_executable(XVantor::xvantor ALIAS xvantor)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/XVantorGenerate.cmake)

# A project that adds XVantor with add_subdirectory keeps its own package settings.
if(NOT CMAKE_SOURCE_DIR STREQUAL PROJECT_SOURCE_DIR)
  return()
endif()

set(CPACK_PACKAGE_NAME xvantor)
set(CPACK_PACKAGE_VENDOR "The XVantor developers")
set(CPACK_PACKAGE_CONTACT "support@xvantor.org")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Frame text preprocessor for C++, Java and C# sources")
# Lines of at most 80 columns, as Debian asks of a description.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "XVantor replaces the blocks of literal text that stand between\n"
  "BEGIN_FRAME_TEXT and END_FRAME_TEXT in C++, Java and C# sources by\n"
  "expressions that rebuild the text, with values and whole files spliced in,\n"
  "and writes the small support library that the result compiles against. The\n"
  "package holds the tool, its manual page and a CMake package with the\n"
  "function xvantor_generate().")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The XVantor developers <support@xvantor.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# A Debian revision marks the package as made from the release, not as Debian-native: the
# upstream history goes into changelog.gz, the packaging one into changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# Debian's documentation files are made from the source tree on the staged files.
set(CPACK_XV_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianDocs.cmake)
find_program(XV_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(XV_DPKG_SHLIBDEPS)
if(XV_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()
include(CPack)
