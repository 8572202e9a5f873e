# SPDX-License-Identifier: MIT
# The Windows build: the manifest inside xvantor.exe, and a zip of the exe with its
# texts side by side (cpack -G ZIP gives xvantor-<version>-win64.zip).

enable_language(RC)
set(XV_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/windows/xvantor.manifest)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/xvantor.rc.in ${PROJECT_BINARY_DIR}/xvantor.rc
  @ONLY)
target_sources(xvantor PRIVATE ${PROJECT_BINARY_DIR}/xvantor.rc)
set_property(SOURCE ${PROJECT_BINARY_DIR}/xvantor.rc APPEND PROPERTY OBJECT_DEPENDS
  ${XV_MANIFEST})

install(TARGETS xvantor RUNTIME DESTINATION .)
# The README without links into the source tree, which the zip does not hold: a picture
# becomes its description, a link its text.
file(READ ${PROJECT_SOURCE_DIR}/README.md xv_readme)
string(REGEX REPLACE "!\\[([^]\n]*)\\]\\(([^)\n:]*)\\)" "(picture \\2 in the sources: \\1)"
  xv_readme "${xv_readme}")
string(REGEX REPLACE "\\[([^]\n]+)\\]\\(([^)\n:]+)\\)" "\\1 (\\2 in the sources)"
  xv_readme "${xv_readme}")
file(WRITE ${PROJECT_BINARY_DIR}/README.md.new "${xv_readme}")
configure_file(${PROJECT_BINARY_DIR}/README.md.new ${PROJECT_BINARY_DIR}/README.md COPYONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
install(FILES ${PROJECT_BINARY_DIR}/README.md DESTINATION .)
file(GLOB XV_LICENCE_FILES ${PROJECT_SOURCE_DIR}/LICENSE* ${PROJECT_SOURCE_DIR}/LICENCE*
  ${PROJECT_SOURCE_DIR}/COPYING*)
if(XV_LICENCE_FILES)
  install(FILES ${XV_LICENCE_FILES} DESTINATION .)
endif()

# The manual page as plain text with CR LF line ends, for readers without man.
find_program(XV_GROFF groff)
mark_as_advanced(XV_GROFF)
if(XV_GROFF)
  set(XV_MAN_TEXT ${PROJECT_BINARY_DIR}/xvantor.txt)
  add_custom_command(OUTPUT ${XV_MAN_TEXT}
    COMMAND ${CMAKE_COMMAND} -DGROFF=${XV_GROFF} -DPAGE=${PROJECT_SOURCE_DIR}/man/xvantor.1
            -DOUT=${XV_MAN_TEXT} -P ${CMAKE_CURRENT_LIST_DIR}/windows/mantext.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/man/xvantor.1 ${CMAKE_CURRENT_LIST_DIR}/windows/mantext.cmake
    COMMENT "Rendering the manual page as text"
    VERBATIM)
  add_custom_target(xv_man_text ALL DEPENDS ${XV_MAN_TEXT})
  install(FILES ${XV_MAN_TEXT} DESTINATION .)
else()
  message(WARNING "groff not found: the zip will hold no manual page")
endif()

if(NOT CMAKE_SOURCE_DIR STREQUAL PROJECT_SOURCE_DIR)
  return()
endif()
set(CPACK_PACKAGE_NAME xvantor)
set(CPACK_PACKAGE_VENDOR "The XVantor developers")
set(CPACK_PACKAGE_FILE_NAME xvantor-${PROJECT_VERSION}-win64)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
include(CPack)
