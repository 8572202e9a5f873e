# xvantor_generate(<var> [LANGUAGE CXX|JAVA|CSHARP] [DEPENDS files...] SOURCES inputs...)
#
# Translates each input with xvantor at build time into ${CMAKE_CURRENT_BINARY_DIR} and
# appends the generated sources, and the support files that they need, to <var> in the
# caller's scope:
#
#   xvantor_generate(report_sources SOURCES report.cpp DEPENDS style.css)
#   add_executable(report main.cpp ${report_sources})
#
# LANGUAGE   CXX (default), JAVA or CSHARP: chosen explicitly, never from the file names.
# SOURCES    the frame sources, relative to CMAKE_CURRENT_SOURCE_DIR or absolute.
# DEPENDS    files that the inputs embed (<#name#>): the tool cannot report them, so list
#            them here to have a change of them re-run the tool.
#
# An output keeps its input's file name when that name ends with an extension of the
# language; otherwise its last extension is replaced (report.xcpp gives report.cpp, a name
# without extension gets one appended). The tool runs in CMAKE_CURRENT_SOURCE_DIR, so
# relative names of embedded files resolve there.
#
# Why the commands look as they do:
# - The language is given as an option (-c, -j, -#), since the tool's recognition searches
#   the whole output path: a build directory below "~/.hidden" would turn a C# output into
#   C++, one below "app.javascript" a C++ output into Java.
# - With an option, the tool writes the support files into the input's directory. So each
#   input is first copied into a private staging folder, where those copies land unused,
#   and the source tree stays clean.
# - The support files that the program compiles against come from one command per
#   directory and language, run in its own empty folder: the tool skips a support file
#   whose name exists in its working directory, and several runs writing the same file
#   would race in a parallel build.

include_guard(GLOBAL)

function(_xvantor_language_settings language)
  if(language STREQUAL "CXX")
    set(option "-c")
    set(support mstring.h mvantor.h)
    set(extension .cpp)
    set(kept_extensions .cpp .cxx .cc .c++ .C .h .hpp .hxx .hh .H)
  elseif(language STREQUAL "JAVA")
    set(option "-j")
    set(support MString.java MVantor.java)
    set(extension .java)
    set(kept_extensions .java)
  elseif(language STREQUAL "CSHARP")
    set(option "-#")
    set(support MString.cs MVantor.cs)
    set(extension .cs)
    set(kept_extensions .cs)
  else()
    message(FATAL_ERROR
      "xvantor_generate: LANGUAGE must be CXX, JAVA or CSHARP, not \"${language}\"")
  endif()
  set(_xvantor_option "${option}" PARENT_SCOPE)
  set(_xvantor_support "${support}" PARENT_SCOPE)
  set(_xvantor_extension "${extension}" PARENT_SCOPE)
  set(_xvantor_kept_extensions "${kept_extensions}" PARENT_SCOPE)
endfunction()

# One command per directory and language writes the support files beside the outputs.
function(_xvantor_support_command language option support)
  get_property(done DIRECTORY PROPERTY _XVANTOR_SUPPORT_${language})
  if(done)
    return()
  endif()
  set_property(DIRECTORY PROPERTY _XVANTOR_SUPPORT_${language} TRUE)

  set(stage "${CMAKE_CURRENT_BINARY_DIR}/xvantor_files/support-${language}")
  file(MAKE_DIRECTORY "${stage}")
  # Any input will do: the tool writes the support files on every run.
  file(TOUCH "${stage}/empty.in")
  set(staged)
  set(outputs)
  foreach(name IN LISTS support)
    list(APPEND staged "${stage}/${name}")
    list(APPEND outputs "${CMAKE_CURRENT_BINARY_DIR}/${name}")
  endforeach()
  add_custom_command(
    OUTPUT ${outputs}
    # A file left from an earlier run would make the tool skip writing that name.
    COMMAND ${CMAKE_COMMAND} -E rm -f ${support}
    COMMAND XVantor::xvantor ${option} "${stage}/empty.in" "${stage}/empty.out"
    COMMAND ${CMAKE_COMMAND} -E copy ${staged} "${CMAKE_CURRENT_BINARY_DIR}"
    WORKING_DIRECTORY "${stage}"
    DEPENDS XVantor::xvantor "$<TARGET_FILE:XVantor::xvantor>"
    COMMENT "Writing the XVantor support files (${language}) into ${CMAKE_CURRENT_BINARY_DIR}"
    VERBATIM)
endfunction()

function(xvantor_generate var)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "LANGUAGE" "DEPENDS;SOURCES")
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

  set(depends)
  foreach(file IN LISTS arg_DEPENDS)
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND depends "${file}")
  endforeach()
  set(support_outputs)
  foreach(name IN LISTS _xvantor_support)
    list(APPEND support_outputs "${CMAKE_CURRENT_BINARY_DIR}/${name}")
  endforeach()

  set(generated ${${var}})
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

    # The staged copy keeps the support files of this run out of the source tree.
    set(stage "${CMAKE_CURRENT_BINARY_DIR}/xvantor_files/${name}")
    add_custom_command(
      OUTPUT "${output}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${stage}"
      COMMAND ${CMAKE_COMMAND} -E copy "${input}" "${stage}/${name}.in"
      COMMAND XVantor::xvantor ${_xvantor_option} "${stage}/${name}.in" "${output}"
      WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
      DEPENDS "${input}" ${depends} ${support_outputs}
        XVantor::xvantor "$<TARGET_FILE:XVantor::xvantor>"
      COMMENT "Translating ${input} with XVantor"
      VERBATIM)
    list(APPEND generated "${output}")
  endforeach()
  foreach(file IN LISTS support_outputs)
    if(NOT file IN_LIST generated)
      list(APPEND generated "${file}")
    endif()
  endforeach()
  set(${var} "${generated}" PARENT_SCOPE)
endfunction()
