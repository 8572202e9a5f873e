# SPDX-License-Identifier: MIT
# Written from the language rows of engine/mlanguage.cpp by xvantor_languages: do
# not edit. A unit test fails while it differs from the rows; write it again with
#   cmake --build build --target xv_languages
set(_XVANTOR_LANGUAGES "CXX" "JAVA" "CSHARP")
set(_XVANTOR_CXX_OPTION "-c")
set(_XVANTOR_CXX_SUPPORT "mstring.h" "mvantor.h")
set(_XVANTOR_CXX_EXTENSION ".cpp")
set(_XVANTOR_CXX_KEPT_EXTENSIONS ".cpp" ".cxx" ".cc" ".c++" ".C" ".h" ".hpp" ".hxx" ".hh" ".H")
set(_XVANTOR_CXX_INPUT_EXTENSION ".xcpp")
set(_XVANTOR_JAVA_OPTION "-j")
set(_XVANTOR_JAVA_SUPPORT "MString.java" "MVantor.java")
set(_XVANTOR_JAVA_EXTENSION ".java")
set(_XVANTOR_JAVA_KEPT_EXTENSIONS ".java")
set(_XVANTOR_JAVA_INPUT_EXTENSION ".jframe")
set(_XVANTOR_CSHARP_OPTION "-#")
set(_XVANTOR_CSHARP_SUPPORT "MString.cs" "MVantor.cs")
set(_XVANTOR_CSHARP_EXTENSION ".cs")
set(_XVANTOR_CSHARP_KEPT_EXTENSIONS ".cs")
set(_XVANTOR_CSHARP_INPUT_EXTENSION ".csframe")
