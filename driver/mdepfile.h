// SPDX-License-Identifier: MIT
#ifndef XVANTOR_DRIVER_MDEPFILE_H
#define XVANTOR_DRIVER_MDEPFILE_H

#include <string>
#include <vector>

#include "core/mstring.h"

/// The Make rule that compilers write with -MD -MP: the output depends on the input and
/// on every embedded file, each once, in the order of first use, by absolute path; then
/// an empty rule for each of those, so that a file that is gone breaks no build.
std::string depfileText(const char* pszOutput, const char* pszInput,
                        const std::vector<MString>& embeddedFiles);

/// Writes depfileText() into the named file through a new file and a rename. Throws an
/// MError "can not create the file".
void writeDepfile(const char* pszDepfile, const char* pszOutput, const char* pszInput,
                  const std::vector<MString>& embeddedFiles);

#endif  // XVANTOR_DRIVER_MDEPFILE_H
