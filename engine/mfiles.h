// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MFILES_H
#define XVANTOR_ENGINE_MFILES_H

#include <string>

#include "core/mstring.h"
#include "engine/merror.h"
#include "engine/mplatform.h"

/// Why a file operation failed, in the system's words.
struct MFileFailure {
    enum class MKind {
        CannotOpen,    // no such file, no permission
        CannotRead,    // opened, but not a regular file, or a read failed
        TooLarge,      // more bytes than a position can address
        CannotCreate,  // a write, a close or the final rename failed
    };
    MKind kind;
    std::string strReason;
};

/// Whether two names lead to one file: the same file once links are followed, or, where a
/// name leads to no file yet, the same path (on Windows in any case of letters).
bool sameFile(const std::string& strFirst, const std::string& strSecond);

/// What the tool was doing with the file that failed.
enum class MFileUse { Input, Embedded, Written };

/// The one place where a failed file operation becomes the error the user sees. An
/// embedded file's error stands at nOffset, its opening delimiter.
MError fileError(const MFileFailure& failure, MFileUse use, const MString& mstrName,
                 int nOffset = -1);

/// Opens the named regular file for reading and gives what it is. Throws MFileFailure for
/// a missing file, a folder, a pipe, a socket or a device, none of which is opened.
MSystemFile openRegularFile(const char* pszName, MFileVersion& version);

/// The whole regular file, read in binary to its end, whatever size it reports. Throws
/// MFileFailure.
MString readWholeFile(const char* pszName);

/// The whole of a file that openRegularFile() opened, before being what it gave. Throws
/// MFileFailure, also when the file changed or was replaced meanwhile.
MString readToEnd(MSystemFile file, const MFileVersion& before);

/// Throws MFileFailure when the open file is no longer what it was when before was taken
/// (bVersioned), since its bytes would then be a mix of two texts.
void checkUnchanged(MSystemFile file, bool bVersioned, const MFileVersion& before);

/// Writes the text in one piece. A failure (full disk, missing directory) throws the
/// MError "can not create the file" and never leaves a truncated file where a complete
/// one stood.
void writeWholeFile(const char* pszName, MString& mstrText);

/// Writes the text through the named device, pipe or open stream where it is, appending
/// where the stream appends. Throws "can not create the file".
void writeInPlace(const char* pszName, MString& mstrText);
void writeInPlace(const char* pszName, const char* pszText, unsigned long liLength);

/// A file that is replaced whole: its new text is written piece by piece into a new file
/// beside it, which commit() renames over it. Until then the old file stays as it was,
/// and a replacement that is never committed is removed again.
class MReplacementFile {
public:
    /// Opens the new file. A device or a pipe leaves it closed, and writeInPlace() must
    /// be used; when no new file can be made beside the target (a read-only folder, no
    /// free inode) it stays closed too, and commit() throws "can not create the file".
    explicit MReplacementFile(const char* pszName);
    MReplacementFile(const MReplacementFile&) = delete;
    MReplacementFile& operator=(const MReplacementFile&) = delete;
    ~MReplacementFile();

    bool isOpen() const { return m_file != g_noSystemFile; }
    bool inPlace() const { return m_bInPlace; }
    /// A failed write is remembered, not thrown: the run's own errors come first.
    void write(const char* pszText, unsigned long liCount);
    /// Puts the new file in place. Throws "can not create the file" if any write failed.
    void commit();

private:
    std::string m_strName;       // as the user gave it
    std::string m_strReason;     // why a write failed
    std::string m_strPath;       // the file replaced
    std::string m_strTemporary;  // the new file until commit()
    MSystemFile m_file = g_noSystemFile;
    bool m_bFailed = false;
    bool m_bInPlace = false;
};

#endif  // XVANTOR_ENGINE_MFILES_H
