#ifndef XVANTOR_SUPPORT_MSUPPORTFILES_H
#define XVANTOR_SUPPORT_MSUPPORTFILES_H

#include "core/mstring.h"

/// Writes the two support files of the option ("-c", "-j" or "-#"; any other text writes
/// nothing) into the directory part of the path, each unless a file of its name is in the
/// working directory. Throws "can not create the file"; the second file is then not written.
/// The Java files declare the package that the Java input pszJavaInput declares, if any.
void writeSupportFiles(const MString& mstrOption, MString mstrPath,
                       const char* pszJavaInput = nullptr);

/// The path up to and including its last backslash, or else its last slash; or "".
MString directoryOf(MString mstrPath);

#endif  // XVANTOR_SUPPORT_MSUPPORTFILES_H
