#ifndef XVANTOR_ENGINE_MFILES_H
#define XVANTOR_ENGINE_MFILES_H

#include "core/mstring.h"

/// Why a whole-file read failed; each caller words its own message.
enum class MFileFailure {
    CannotOpen,  // no such file, no permission
    CannotRead,  // opened, but not a file that can be sized and read whole
    TooLarge,    // more bytes than a position can address
};

/// The whole file, read in binary. Throws MFileFailure.
MString readWholeFile(const char* pszName);

/// Writes the text in one piece. A failure (full disk, missing directory) throws
/// "can not create the file" and never leaves a truncated file where a complete one stood.
void writeWholeFile(const char* pszName, MString& mstrText);

#endif  // XVANTOR_ENGINE_MFILES_H
