// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MFILES_H
#define XVANTOR_ENGINE_MFILES_H

#include <string>

#include "core/mstring.h"
#include "engine/mplatform.h"

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

/// Writes the text over the named file where it is: for devices, pipes, and outputs in a
/// folder that takes no new file. Throws "can not create the file".
void writeInPlace(const char* pszName, MString& mstrText);

/// A file that is replaced whole: its new text is written piece by piece into a new file
/// beside it, which commit() renames over it. Until then the old file stays as it was,
/// and a replacement that is never committed is removed again.
class MReplacementFile {
public:
    /// Opens the new file. A name that cannot be replaced this way (a device, a pipe, a
    /// folder that takes no new file) leaves it closed, and writeInPlace() must be used.
    explicit MReplacementFile(const char* pszName);
    MReplacementFile(const MReplacementFile&) = delete;
    MReplacementFile& operator=(const MReplacementFile&) = delete;
    ~MReplacementFile();

    bool isOpen() const { return m_file != g_noSystemFile; }
    /// A failed write is remembered, not thrown: the run's own errors come first.
    void write(const char* pszText, unsigned long liCount);
    /// Puts the new file in place. Throws "can not create the file" if any write failed.
    void commit();

private:
    std::string m_strPath;       // the file replaced
    std::string m_strTemporary;  // the new file until commit()
    MSystemFile m_file = g_noSystemFile;
    bool m_bFailed = false;
};

#endif  // XVANTOR_ENGINE_MFILES_H
