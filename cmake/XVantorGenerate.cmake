# SPDX-License-Identifier: MIT
# xvantor_generate(TARGET <target> | <var>
#                  [LANGUAGE CXX|JAVA|CSHARP] [NO_LINE_DIRECTIVES] [NO_USING_STD]
#                  [DEPENDS files...] SOURCES inputs...)
#
# Translates each input with xvantor at build time into ${CMAKE_CURRENT_BINARY_DIR}.
#
#   add_executable(report main.cpp)
#   xvantor_generate(TARGET report SOURCES report.cpp)
#
# TARGET adds the generated sources, and the support files that they need, to the target's
# sources, and the output folder and each input's folder to its include path, so that a
# generated source finds the headers beside its input as the hand-written one did. With
# <var> instead, they are appended to <var> in the caller's scope:
#
#   xvantor_generate(report_sources SOURCES report.cpp)
#   add_executable(report main.cpp ${report_sources})
#
# LANGUAGE            CXX (default), JAVA or CSHARP: chosen explicitly, never from the file
#                     names. XVantorLanguages.cmake, written from the tool's language rows,
#                     gives each one's option, support files and output extensions.
# SOURCES             the frame sources, relative to CMAKE_CURRENT_SOURCE_DIR or absolute.
# NO_LINE_DIRECTIVES  leaves the #line directives out of C++ and C# outputs, so that the
#                     compiler names the generated file rather than the input.
# NO_USING_STD        C++: compiles the generated sources with MSTRING_NO_USING_STD defined,
#                     so that mstring.h leaves out its "using namespace std;" and names of
#                     the program (a global count, say) do not clash with namespace std. The
#                     definition is a property of the generated files, seen by the targets
#                     of the calling directory.
# DEPENDS             optional further files whose change must translate again. The files
#                     that the inputs embed (<#name#>) need not be listed: the tool reports
#                     them in a dependency file.
#
# An output keeps its input's file name when that name ends with an extension of the
# language; otherwise its last extension is replaced (report.xcpp gives report.cpp, a name
# without extension gets one appended). The tool runs in CMAKE_CURRENT_SOURCE_DIR, so
# relative names of embedded files resolve there.
#
# Needs CMake 3.20 or later with the Ninja generators (3.21 with Visual Studio and Xcode)
# for the dependency files; with an older CMake only DEPENDS is followed. The Makefile
# generators read the dependency file here instead, see below.
#
# Why the commands look as they do:
# - The language is given as an option (-c, -j, -#), since the tool's recognition searches
#   the whole output path: a build directory below "~/.hidden" would turn a C# output into
#   C++, one below "app.javascript" a C++ output into Java.
# - --support-dir puts the support files beside the outputs, where the generated C++
#   includes them from, instead of into the input's folder in the source tree. The tool
#   writes a support file only when its bytes differ, so the translations, which all name
#   the same folder, neither rewrite nor race over them.
# - One command per directory and language declares the support files as its outputs, so
#   that the build knows where they come from; it runs only when the tool changes.
# - --depfile lists the input and every embedded file with absolute paths, spelled as Make
#   and Ninja read them ("\:", "\ ", "\#", "$$"). CMake's transformation of a depfile for
#   Ninja (policy CMP0116) reads "\:" as a path separator and writes "#" and "$" bare, so
#   an embed named with one of them would translate on every build. With Ninja the policy
#   is therefore OLD for these commands, and Ninja reads the tool's file itself, once this
#   file, run as a script, has given it the output's name as Ninja knows it.
# - The Makefile generators of CMake 3.20 to 3.25 at least keep what a custom command's
#   dependency file listed once and add the next reading to it, instead of replacing it
#   (compiler_depend.internal and .make of the target). A file that is no longer embedded
#   stays a prerequisite for good, and once it is deleted, the empty rule that keeps a
#   deleted header harmless makes the output out of date on every build. There, a target
#   of its own runs this file as a script once per build: it compares the times of the
#   files that the last dependency file names with the output's, and when one is newer or
#   gone it touches a stamp file that the output depends on, so that Make translates: one
#   translation after a change, then nothing. An error is the tool's message and Make's.
# - --quiet keeps the banner out of the build log and prints an error as
#   "input:line:column: error: ...", which IDEs and CI annotators jump to.

# Run as a script by the commands of the function below, in one of two modes:
#   cmake -P XVantorGenerate.cmake -- check <output> <depfile> <stamp> [<output> ...]
#     Makefile generators: for each output, touches the stamp, a prerequisite of the
#     output, when the output or its depfile is missing, or when a file that the depfile
#     names is newer than the output or gone.
#   cmake -P XVantorGenerate.cmake -- ninja <depfile> <target>
#     Ninja: gives the depfile the output's name as Ninja knows it, relative to the top
#     build folder; the names after it are spelled as Ninja reads them already.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  set(arguments)
  set(index 1)
  while(index LESS CMAKE_ARGC)
    list(APPEND arguments "${CMAKE_ARGV${index}}")
    math(EXPR index "${index} + 1")
  endwhile()
  list(FIND arguments "--" start)
  math(EXPR start "${start} + 1")
  list(SUBLIST arguments ${start} -1 arguments)
  list(POP_FRONT arguments mode)

  if(mode STREQUAL "ninja")
    list(POP_FRONT arguments depfile target)
    # The tool escapes a space, "#" and ":" with a backslash and doubles "$", as Ninja
    # reads them; its output name is the first ": " that no backslash escapes.
    file(READ "${depfile}" text)
    string(FIND "${text}" ": " end)
    string(SUBSTRING "${text}" ${end} -1 text)
    foreach(character " " "#" ":")
      string(REPLACE "${character}" "\\${character}" target "${target}")
    endforeach()
    string(REPLACE "$" "$$" target "${target}")
    file(WRITE "${depfile}" "${target}${text}")
    return()
  endif()

  while(arguments)
    list(POP_FRONT arguments output depfile stamp)
    set(stale FALSE)
    if(NOT EXISTS "${output}" OR NOT EXISTS "${depfile}")
      set(stale TRUE)
    else()
      # The first line is the rule: the output, ": " and every file, each spelled as Make
      # reads it (see the ninja mode). No name holds ";", a control byte or a backslash,
      # but one may hold a bracket, which would keep a CMake list from splitting.
      file(READ "${depfile}" text)
      string(FIND "${text}" "\n" end)
      string(SUBSTRING "${text}" 0 ${end} text)
      string(FIND "${text}" ": " end)
      math(EXPR end "${end} + 2")
      string(SUBSTRING "${text}" ${end} -1 text)
      string(ASCII 1 space)
      string(ASCII 2 open)
      string(ASCII 3 close)
      string(REPLACE "\\ " "${space}" text "${text}")
      string(REPLACE "[" "${open}" text "${text}")
      string(REPLACE "]" "${close}" text "${text}")
      string(REPLACE " " ";" files "${text}")
      foreach(file IN LISTS files)
        string(REPLACE "${space}" " " file "${file}")
        string(REPLACE "${open}" "[" file "${file}")
        string(REPLACE "${close}" "]" file "${file}")
        string(REPLACE "\\#" "#" file "${file}")
        string(REPLACE "\\:" ":" file "${file}")
        string(REPLACE "$$" "$" file "${file}")
        if(NOT EXISTS "${file}" OR "${file}" IS_NEWER_THAN "${output}")
          set(stale TRUE)
          break()
        endif()
      endforeach()
    endif()
    if(stale OR NOT EXISTS "${stamp}")
      file(TOUCH "${stamp}")
    endif()
  endwhile()
  return()
endif()

include_guard(GLOBAL)
set_property(GLOBAL PROPERTY _XVANTOR_LANGUAGES_FILE
  "${CMAKE_CURRENT_LIST_DIR}/XVantorLanguages.cmake")

# Functions keep the policies in force where they are defined.
if(POLICY CMP0116)
  cmake_policy(SET CMP0116 NEW)
endif()

function(_xvantor_language_settings language)
  # Each language's facts, written from the tool's language rows. Read here rather than
  # once at the top, so that a directory that did not include this file sees them too.
  get_property(languages GLOBAL PROPERTY _XVANTOR_LANGUAGES_FILE)
  include("${languages}")
  if(NOT language IN_LIST _XVANTOR_LANGUAGES)
    set(names ${_XVANTOR_LANGUAGES})
    list(POP_BACK names last)
    list(JOIN names ", " names)
    message(FATAL_ERROR
      "xvantor_generate: LANGUAGE must be ${names} or ${last}, not \"${language}\"")
  endif()
  set(_xvantor_option "${_XVANTOR_${language}_OPTION}" PARENT_SCOPE)
  set(_xvantor_support "${_XVANTOR_${language}_SUPPORT}" PARENT_SCOPE)
  set(_xvantor_extension "${_XVANTOR_${language}_EXTENSION}" PARENT_SCOPE)
  set(_xvantor_kept_extensions "${_XVANTOR_${language}_KEPT_EXTENSIONS}" PARENT_SCOPE)
endfunction()

# One command per directory and language writes the support files beside the outputs.
function(_xvantor_support_command language option support)
  get_property(done DIRECTORY PROPERTY _XVANTOR_SUPPORT_${language})
  if(done)
    return()
  endif()
  set_property(DIRECTORY PROPERTY _XVANTOR_SUPPORT_${language} TRUE)

  # Any input will do: the tool writes the support files on every run. Written only when
  # missing, so that configuring again does not make it newer than the files.
  set(folder "${CMAKE_CURRENT_BINARY_DIR}/xvantor_files")
  if(NOT EXISTS "${folder}/empty.in")
    file(WRITE "${folder}/empty.in" "")
  endif()
  set(outputs)
  foreach(name IN LISTS support)
    list(APPEND outputs "${CMAKE_CURRENT_BINARY_DIR}/${name}")
  endforeach()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND XVantor::xvantor ${option} "${folder}/empty.in" "${folder}/empty-${language}.out"
      --quiet --support-dir "${CMAKE_CURRENT_BINARY_DIR}"
    # The tool leaves files of the same bytes alone; they must still end up newer than the
    # tool that this command depends on.
    COMMAND ${CMAKE_COMMAND} -E touch ${outputs}
    DEPENDS XVantor::xvantor "$<TARGET_FILE:XVantor::xvantor>"
    COMMENT "Writing the XVantor support files (${language}) into ${CMAKE_CURRENT_BINARY_DIR}"
    VERBATIM)
endfunction()

function(xvantor_generate var)
  set(target)
  set(first 1)
  if(var STREQUAL "TARGET")
    if(ARGC LESS 2)
      message(FATAL_ERROR "xvantor_generate: no value after TARGET")
    endif()
    set(target "${ARGV1}")
    if(NOT TARGET "${target}")
      message(FATAL_ERROR "xvantor_generate: there is no target \"${target}\"")
    endif()
    set(first 2)
  endif()
  cmake_parse_arguments(PARSE_ARGV ${first} arg "NO_LINE_DIRECTIVES;NO_USING_STD" "LANGUAGE"
    "DEPENDS;SOURCES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "xvantor_generate: unexpected arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(arg_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "xvantor_generate: no value after ${arg_KEYWORDS_MISSING_VALUES}")
  endif()
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "xvantor_generate: no SOURCES given")
  endif()
  if(NOT TARGET XVantor::xvantor)
    message(FATAL_ERROR "xvantor_generate: the target XVantor::xvantor is missing; "
      "call find_package(XVantor REQUIRED) first")
  endif()
  if(NOT arg_LANGUAGE)
    set(arg_LANGUAGE CXX)
  endif()
  string(TOUPPER "${arg_LANGUAGE}" language)
  _xvantor_language_settings("${language}")
  _xvantor_support_command("${language}" "${_xvantor_option}" "${_xvantor_support}")

  set(extra_depends)
  foreach(file IN LISTS arg_DEPENDS)
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND extra_depends "${file}")
  endforeach()
  set(support_outputs)
  foreach(name IN LISTS _xvantor_support)
    list(APPEND support_outputs "${CMAKE_CURRENT_BINARY_DIR}/${name}")
  endforeach()

  set(options --quiet --support-dir "${CMAKE_CURRENT_BINARY_DIR}")
  if(NOT arg_NO_LINE_DIRECTIVES)
    list(APPEND options --line-directives)
  endif()
  # The dependency file is written in any case; whether CMake can read it depends on its
  # version and generator.
  set(use_depfile FALSE)
  set(ninja_depfile FALSE)
  if(CMAKE_GENERATOR MATCHES "Ninja" AND NOT CMAKE_VERSION VERSION_LESS 3.20)
    set(ninja_depfile TRUE)
  elseif(CMAKE_GENERATOR MATCHES "Visual Studio|Xcode" AND NOT CMAKE_VERSION VERSION_LESS 3.21)
    set(use_depfile TRUE)
  endif()
  # The Makefile generators build a target's generated sources twice per build, for its
  # dependency scan and for its build, so the check of the embedded files (this file as a
  # script, see the top) runs in a target of its own, which runs once, before any target
  # that uses these outputs.
  set(check)
  set(check_arguments)
  if(CMAKE_GENERATOR MATCHES "Makefiles" AND NOT CMAKE_VERSION VERSION_LESS 3.18)
    get_property(calls DIRECTORY PROPERTY _XVANTOR_CALLS)
    math(EXPR calls "${calls} + 0 + 1")
    set_property(DIRECTORY PROPERTY _XVANTOR_CALLS ${calls})
    string(MD5 check "${CMAKE_CURRENT_BINARY_DIR}/${calls}")
    string(SUBSTRING "${check}" 0 12 check)
    set(check "xvantor_check_${check}")
  endif()

  set(generated)
  if(NOT target)
    set(generated ${${var}})
  endif()
  set(input_folders)
  foreach(input IN LISTS arg_SOURCES)
    get_filename_component(input "${input}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_filename_component(name "${input}" NAME)
    get_filename_component(last_extension "${input}" LAST_EXT)
    if(NOT last_extension IN_LIST _xvantor_kept_extensions)
      get_filename_component(name "${input}" NAME_WLE)
      string(APPEND name "${_xvantor_extension}")
    endif()
    set(output "${CMAKE_CURRENT_BINARY_DIR}/${name}")
    get_property(claimed DIRECTORY PROPERTY _XVANTOR_OUTPUTS)
    if(output IN_LIST claimed OR name IN_LIST _xvantor_support)
      message(FATAL_ERROR "xvantor_generate: ${input} would be written to ${output}, "
        "which another input or a support file of this directory already uses")
    endif()
    set_property(DIRECTORY APPEND PROPERTY _XVANTOR_OUTPUTS "${output}")

    set(depfile "${CMAKE_CURRENT_BINARY_DIR}/xvantor_files/${name}.d")
    set(commands COMMAND XVantor::xvantor ${_xvantor_option} "${input}" "${output}" ${options}
      --depfile "${depfile}")
    set(depends "${input}" ${extra_depends} ${support_outputs}
      "$<TARGET_FILE:XVantor::xvantor>" XVantor::xvantor)
    set(depfile_argument)
    if(use_depfile)
      set(depfile_argument DEPFILE "${depfile}")
    elseif(ninja_depfile)
      # Ninja reads the depfile itself, once its first name is the output's as Ninja knows
      # it: CMake's own transformation spells ":" as "/:" and leaves "#" and "$" bare.
      file(RELATIVE_PATH ninja_output "${CMAKE_BINARY_DIR}" "${output}")
      list(APPEND commands COMMAND "${CMAKE_COMMAND}" -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
        -- ninja "${depfile}" "${ninja_output}")
      set(depfile_argument DEPFILE "${depfile}")
    elseif(check)
      set(stamp "${CMAKE_CURRENT_BINARY_DIR}/xvantor_files/${name}.stale")
      if(NOT EXISTS "${stamp}")
        file(WRITE "${stamp}" "")
      endif()
      list(APPEND check_arguments "${output}" "${depfile}" "${stamp}")
      list(APPEND depends "${stamp}" ${check})
    endif()
    if(ninja_depfile)
      cmake_policy(PUSH)
      cmake_policy(SET CMP0116 OLD)
    endif()
    add_custom_command(
      OUTPUT "${output}"
      ${commands}
      WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
      DEPENDS ${depends}
      ${depfile_argument}
      COMMENT "Translating ${input} with XVantor"
      VERBATIM)
    if(ninja_depfile)
      cmake_policy(POP)
    endif()
    if(arg_NO_USING_STD)
      set_property(SOURCE "${output}" APPEND PROPERTY COMPILE_DEFINITIONS MSTRING_NO_USING_STD)
    endif()
    list(APPEND generated "${output}")
    get_filename_component(input_folder "${input}" DIRECTORY)
    list(APPEND input_folders "${input_folder}")
  endforeach()
  foreach(file IN LISTS support_outputs)
    if(NOT file IN_LIST generated)
      list(APPEND generated "${file}")
    endif()
  endforeach()
  if(check)
    add_custom_target(${check}
      COMMAND "${CMAKE_COMMAND}" -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}" -- check
        ${check_arguments}
      VERBATIM)
  endif()
  if(target)
    list(REMOVE_DUPLICATES input_folders)
    target_sources("${target}" PRIVATE ${generated})
    target_include_directories("${target}" PRIVATE "${CMAKE_CURRENT_BINARY_DIR}"
      ${input_folders})
  else()
    set(${var} "${generated}" PARENT_SCOPE)
  endif()
endfunction()
