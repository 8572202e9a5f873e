# SPDX-License-Identifier: MIT
# The Maven plugin xvantor-maven-plugin (maven/): `cmake --build build --target maven_plugin`
# builds build/maven/xvantor-maven-plugin-<version>.jar and its .pom with Debian's Maven,
# offline, from the repository in /usr/share/maven-repo. The jar carries this build's tool for
# this machine, and the builds that XV_MAVEN_LINUX_X64, XV_MAVEN_LINUX_ARM64 and
# XV_WINDOWS_EXE name when those files exist; scripts/release.sh names all three.

set(XV_MAVEN_LINUX_X64 "" CACHE FILEPATH "The linux-x64 xvantor that the Maven plugin carries")
set(XV_MAVEN_LINUX_ARM64 "" CACHE FILEPATH
  "The linux-arm64 xvantor that the Maven plugin carries")
find_program(XV_MAVEN mvn)
mark_as_advanced(XV_MAVEN)
if(XV_MAVEN)
  set(xv_maven_dir ${PROJECT_BINARY_DIR}/maven)
  # CMake takes SOURCE_DATE_EPOCH for the time when it is set, as releases do.
  string(TIMESTAMP XV_MAVEN_TIMESTAMP "%Y-%m-%dT%H:%M:%SZ" UTC)
  configure_file(${PROJECT_SOURCE_DIR}/maven/pom.xml.in ${xv_maven_dir}/pom.xml @ONLY)

  # This build's tool stands for the machine that it runs on, unless a file is named.
  set(xv_native_platform linux-x64)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
    set(xv_native_platform linux-arm64)
  endif()
  set(xv_copy_tools
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${xv_maven_dir}/tools ${xv_maven_dir}/src
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/maven/src ${xv_maven_dir}/src
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:xvantor>
            ${xv_maven_dir}/tools/${xv_native_platform}/xvantor)
  foreach(platform_file linux-x64/xvantor:XV_MAVEN_LINUX_X64
                        linux-arm64/xvantor:XV_MAVEN_LINUX_ARM64
                        windows-x64/xvantor.exe:XV_WINDOWS_EXE)
    string(REPLACE ":" ";" platform_file ${platform_file})
    list(GET platform_file 0 target_name)
    list(GET platform_file 1 variable)
    if(${variable} AND EXISTS ${${variable}})
      list(APPEND xv_copy_tools
        COMMAND ${CMAKE_COMMAND} -E copy ${${variable}} ${xv_maven_dir}/tools/${target_name})
    endif()
  endforeach()

  set(XV_MAVEN_PLUGIN_JAR ${xv_maven_dir}/xvantor-maven-plugin-${PROJECT_VERSION}.jar)
  add_custom_target(maven_plugin
    ${xv_copy_tools}
    COMMAND ${XV_MAVEN} -B -q -s ${PROJECT_SOURCE_DIR}/maven/settings.xml
            -Dmaven.repo.local=${xv_maven_dir}/repository -f ${xv_maven_dir}/pom.xml package
    COMMAND ${CMAKE_COMMAND} -E copy
            ${xv_maven_dir}/target/xvantor-maven-plugin-${PROJECT_VERSION}.jar ${XV_MAVEN_PLUGIN_JAR}
    COMMAND ${CMAKE_COMMAND} -E copy ${xv_maven_dir}/pom.xml
            ${xv_maven_dir}/xvantor-maven-plugin-${PROJECT_VERSION}.pom
    DEPENDS xvantor
    COMMENT "Building the Maven plugin xvantor-maven-plugin ${PROJECT_VERSION}"
    VERBATIM)
endif()
