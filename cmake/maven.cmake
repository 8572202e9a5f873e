# SPDX-License-Identifier: MIT
# The Maven plugin xvantor-maven-plugin (maven/): `cmake --build build --target maven_plugin`
# builds build/maven/xvantor-maven-plugin-<version>.jar and its .pom with Debian's Maven,
# offline, from the repository in /usr/share/maven-repo. The jar carries the tool in
# xvantor/<os>-<arch>/: with XV_MAVEN_BINARIES, a folder laid out as XV_BINARIES_DIR
# (cmake/binaries.cmake), exactly its three binaries, as scripts/release.sh does; otherwise
# this build's tool for this machine and those binaries of XV_BINARIES_DIR that are built.

set(XV_MAVEN_BINARIES "" CACHE PATH
  "The folder of linux-x64/, linux-arm64/ and win-x64/ whose tools the Maven plugin carries")
find_program(XV_MAVEN mvn)
mark_as_advanced(XV_MAVEN)
if(XV_MAVEN)
  set(xv_maven_dir ${PROJECT_BINARY_DIR}/maven)
  # CMake takes SOURCE_DATE_EPOCH for the time when it is set, as releases do.
  string(TIMESTAMP XV_MAVEN_TIMESTAMP "%Y-%m-%dT%H:%M:%SZ" UTC)
  configure_file(${PROJECT_SOURCE_DIR}/maven/pom.xml.in ${xv_maven_dir}/pom.xml @ONLY)

  set(xv_tools ${xv_maven_dir}/tools)
  set(xv_copy_tools
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${xv_tools} ${xv_maven_dir}/src
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/maven/src ${xv_maven_dir}/src)
  if(XV_MAVEN_BINARIES)
    foreach(file linux-x64/xvantor linux-arm64/xvantor win-x64/xvantor.exe)
      string(REPLACE "win-" "windows-" target_name ${file})
      list(APPEND xv_copy_tools
        COMMAND ${CMAKE_COMMAND} -E copy ${XV_MAVEN_BINARIES}/${file} ${xv_tools}/${target_name})
    endforeach()
  else()
    # Those of XV_BINARIES_DIR that exist at build time, then this build's tool over the one
    # for this machine.
    set(xv_native linux-x64)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
      set(xv_native linux-arm64)
    endif()
    foreach(file linux-x64/xvantor linux-arm64/xvantor win-x64/xvantor.exe)
      string(REPLACE "win-" "windows-" target_name ${file})
      get_filename_component(target_dir ${xv_tools}/${target_name} DIRECTORY)
      list(APPEND xv_copy_tools
        COMMAND ${CMAKE_COMMAND} -E make_directory ${target_dir}
        COMMAND sh -c "test ! -f \"$0\" || cp \"$0\" \"$1\""
                ${XV_BINARIES_DIR}/${file} ${xv_tools}/${target_name})
    endforeach()
    list(APPEND xv_copy_tools
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:xvantor> ${xv_tools}/${xv_native}/xvantor)
  endif()

  set(xv_jar xvantor-maven-plugin-${PROJECT_VERSION}.jar)
  add_custom_target(maven_plugin
    ${xv_copy_tools}
    COMMAND ${XV_MAVEN} -B -q -s ${PROJECT_SOURCE_DIR}/maven/settings.xml -Dstyle.color=never
            -Dmaven.repo.local=${xv_maven_dir}/repository -f ${xv_maven_dir}/pom.xml package
    COMMAND ${CMAKE_COMMAND} -E copy ${xv_maven_dir}/target/${xv_jar} ${xv_maven_dir}/${xv_jar}
    COMMAND ${CMAKE_COMMAND} -E copy ${xv_maven_dir}/pom.xml
            ${xv_maven_dir}/xvantor-maven-plugin-${PROJECT_VERSION}.pom
    DEPENDS xvantor
    COMMENT "Building the Maven plugin xvantor-maven-plugin ${PROJECT_VERSION}"
    VERBATIM)
endif()
