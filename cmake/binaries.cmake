# SPDX-License-Identifier: MIT
# The tool as the packages for other build systems carry it, each in a build of its own
# below build/binaries/ and copied stripped to
#   XV_BINARY_LINUX_X64    binaries/linux-x64/xvantor      statically linked
#   XV_BINARY_LINUX_ARM64  binaries/linux-arm64/xvantor    statically linked, cross-built
#   XV_BINARY_WIN_X64      binaries/win-x64/xvantor.exe    MinGW-w64, no MinGW DLL
# by the targets xv_binary_linux-x64, xv_binary_linux-arm64, xv_binary_win-x64, and all
# three by the target `binaries`:
#   cmake --build build --target binaries
# A package's target depends on `binaries` and takes the files from these variables.
# The cross builds take this build's first-stage tool, so they run nothing built for their
# target. A missing cross compiler makes its target fail with the command that installs it.
include(ExternalProject)
set(XV_BINARIES_DIR ${PROJECT_BINARY_DIR}/binaries)
set(XV_BINARY_LINUX_X64 ${XV_BINARIES_DIR}/linux-x64/xvantor)
set(XV_BINARY_LINUX_ARM64 ${XV_BINARIES_DIR}/linux-arm64/xvantor)
set(XV_BINARY_WIN_X64 ${XV_BINARIES_DIR}/win-x64/xvantor.exe)
cmake_host_system_information(RESULT xv_cores QUERY NUMBER_OF_LOGICAL_CORES)

# rid: the runtime identifier; the toolchain file; the compiler and strip that it uses and
# the Debian package that brings them.
function(xv_add_binary rid toolchain compiler strip package)
  set(target xv_binary_${rid})
  set(suffix)
  if(rid MATCHES "^win-")
    set(suffix .exe)
  endif()
  set(output ${XV_BINARIES_DIR}/${rid}/xvantor${suffix})
  string(MAKE_C_IDENTIFIER ${rid} key)
  find_program(XV_CXX_${key} ${compiler})
  find_program(XV_STRIP_${key} ${strip})
  mark_as_advanced(XV_CXX_${key} XV_STRIP_${key})
  # A binary that cannot be built here fails when it is asked for, not when configuring.
  set(failure)
  if(NOT CMAKE_HOST_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    set(failure "error: the ${rid} binary is built on an x64 Linux machine only")
  elseif(NOT XV_CXX_${key} OR NOT XV_STRIP_${key})
    set(failure "error: the ${rid} binary needs ${compiler}: run `scripts/setup.sh ${package}` and then `cmake ${PROJECT_BINARY_DIR}`")
  endif()
  if(failure)
    add_custom_target(${target}
      COMMAND ${CMAKE_COMMAND} -E echo "${failure}"
      COMMAND ${CMAKE_COMMAND} -E false
      VERBATIM)
    return()
  endif()
  set(stage1)
  if(NOT rid STREQUAL "linux-x64")
    set(stage1 -DXV_STAGE1_EXECUTABLE=$<TARGET_FILE:xvantor_stage1>)
  endif()
  ExternalProject_Add(${target}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${XV_BINARIES_DIR}/build-${rid}
    PREFIX ${XV_BINARIES_DIR}/stamp-${rid}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/${toolchain}
      -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DXV_WERROR=${XV_WERROR} ${stage1}
    # Outside the parent's make jobserver, which a make below a custom command cannot
    # join and would warn about.
    BUILD_COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS --unset=MFLAGS
      ${CMAKE_COMMAND} --build ${XV_BINARIES_DIR}/build-${rid} --target xvantor
      --parallel ${xv_cores}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${XV_BINARIES_DIR}/${rid}
    COMMAND ${XV_STRIP_${key}} -o ${output}
      ${XV_BINARIES_DIR}/build-${rid}/driver/xvantor${suffix}
    BUILD_BYPRODUCTS ${output}
    EXCLUDE_FROM_ALL ON
    USES_TERMINAL_BUILD OFF)
  if(TARGET xvantor_stage1 AND stage1)
    add_dependencies(${target} xvantor_stage1)
  endif()
endfunction()

xv_add_binary(linux-x64 x86_64-linux-static.cmake g++ strip g++)
xv_add_binary(linux-arm64 aarch64-linux-gnu.cmake aarch64-linux-gnu-g++ aarch64-linux-gnu-strip
  g++-aarch64-linux-gnu)
xv_add_binary(win-x64 mingw-w64-x86_64.cmake x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-strip
  g++-mingw-w64-x86-64-posix)
add_custom_target(binaries)
add_dependencies(binaries xv_binary_linux-x64 xv_binary_linux-arm64 xv_binary_win-x64)
