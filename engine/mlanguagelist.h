// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MLANGUAGELIST_H
#define XVANTOR_ENGINE_MLANGUAGELIST_H

#include <string>

/// The file of CMake variables in which the build integrations and the test harness find
/// each language of a build: its LANGUAGE name, option, support files, the extension of an
/// output and those that an output keeps, and the extension of a frame source.
std::string cmakeLanguageList();

#endif  // XVANTOR_ENGINE_MLANGUAGELIST_H
