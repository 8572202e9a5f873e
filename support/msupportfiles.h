// SPDX-License-Identifier: MIT
#ifndef XVANTOR_SUPPORT_MSUPPORTFILES_H
#define XVANTOR_SUPPORT_MSUPPORTFILES_H

#include <string>
#include <vector>

#include "core/mstring.h"
#include "engine/mlanguage.h"

/// Writes the support files of the language's row (none for the fallback form) into the
/// directory part of the path, each unless a file of its name is in the working directory,
/// and each only when its bytes differ from the file already there.
/// Throws an MError "can not create the file"; the second file is then not written.
/// The Java files declare the package that the Java input pszJavaInput declares, if any.
void writeSupportFiles(const MLanguageTraits& traits, const MString& mstrPath,
                       const char* pszJavaInput = nullptr);

/// Writes the support files of the language's row into the directory, whatever the working
/// directory holds, each only when its bytes differ from the file already there, so that
/// repeated and parallel builds neither rewrite nor touch them. Throws an MError "can not
/// create the file".
void writeSupportFilesInto(const MLanguageTraits& traits, const MString& mstrDirectory,
                           const char* pszJavaInput = nullptr);

/// The files that writeSupportFiles() (bInto false, the path of a file) or
/// writeSupportFilesInto() (bInto true, a folder) would write, in their order.
std::vector<std::string> supportFileTargets(const MLanguageTraits& traits, const MString& mstrPath,
                                            bool bInto);

/// The path up to and including its last backslash, or else its last slash; or "".
MString directoryOf(MString mstrPath);

#endif  // XVANTOR_SUPPORT_MSUPPORTFILES_H
