// SPDX-License-Identifier: MIT
#ifndef XVANTOR_SUPPORT_MJAVAPACKAGE_H
#define XVANTOR_SUPPORT_MJAVAPACKAGE_H

#include "core/mstring.h"

/// The package that a Java file declares before anything else ("a.b" for "package a . b;"),
/// or "" when its first word, after white space and comments, is not "package" or the
/// declaration is not well formed. The file is read only as far as the declaration. A file
/// that cannot be opened or is no regular file (a pipe must keep its bytes for the
/// translation) declares no package. Throws an MError when a read of the file fails.
MString javaPackageOfFile(const char* pszName);

/// The support text with "package NAME;" and an empty line after its header comment (the
/// text up to its first empty line); the text unchanged when the package is "".
MString withJavaPackage(const MString& mstrSupportText, const MString& mstrPackage);

#endif  // XVANTOR_SUPPORT_MJAVAPACKAGE_H
