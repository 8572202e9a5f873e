// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MLANGUAGE_H
#define XVANTOR_ENGINE_MLANGUAGE_H

/// The target language of a run, settled once from the command line. An explicit option
/// whose letter names no language still translates, in a form of its own.
enum class MLanguage { Cpp, Java, CSharp, Fallback };

#endif  // XVANTOR_ENGINE_MLANGUAGE_H
