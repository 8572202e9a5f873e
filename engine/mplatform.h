// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MPLATFORM_H
#define XVANTOR_ENGINE_MPLATFORM_H

#include <cstdint>
#include <string>

// The few things the engine asks of the operating system beyond the C library's
// buffered files. One source file per system implements them (mplatform_posix.cpp,
// mplatform_win32.cpp); the build picks the one that fits, so nothing above this
// header needs to know which system it runs on. Names are bytes as the command line
// gave them: on Windows, text in the active code page (UTF-8, through the manifest).

/// A file the system holds open: a descriptor on POSIX, a handle on Windows.
using MSystemFile = std::intptr_t;
constexpr MSystemFile g_noSystemFile = -1;

/// Opens the named file for reading, in binary, without waiting for a writer when it is a
/// pipe and without making a terminal the process's own. g_noSystemFile when it cannot.
MSystemFile openForReading(const char* pszName);

/// The system's words for why the last call that failed did fail: "No such file or
/// directory".
std::string lastSystemError();

/// Reads up to liCount bytes from lliOffset on, without moving a shared position: the
/// count read, 0 at the end of the file, -1 when the read fails.
long readAt(MSystemFile file, char* pBuffer, unsigned long liCount, unsigned long long lliOffset);

/// Writes all the bytes; false when any could not be written.
bool writeAll(MSystemFile file, const char* pText, unsigned long liCount);

/// Closes the file; false when the close reports a failed write (a full disk may).
bool closeSystemFile(MSystemFile file);

/// What makes a file the same file under any of its names: device and inode on POSIX,
/// volume serial and file index on Windows.
struct MFileIdentity {
    unsigned long long lliVolume = 0;
    unsigned long long lliIndex = 0;
    bool operator==(const MFileIdentity& other) const {
        return lliVolume == other.lliVolume && lliIndex == other.lliIndex;
    }
};

/// What a name will lead to once it is written: the file it leads to now, links
/// followed; or, where there is no file yet, the folder it will be made in and its final
/// name as the system will spell it (on Windows without trailing dots and spaces, in one
/// case). Two names that meet only once a file is made compare equal.
struct MNameIdentity {
    MFileIdentity identity;  // of the file, or else of its folder
    std::string strFinal;    // empty for a file that exists
    bool operator==(const MNameIdentity& other) const {
        return identity == other.identity && strFinal == other.strFinal;
    }
};

/// False when neither the file nor its folder exists.
bool nameIdentityOf(const char* pszName, MNameIdentity& identity);

/// Whether names that differ only in the case of letters name one file.
bool namesIgnoreCase();

/// What a regular file is: its size, its last change and its identity, to tell whether
/// it changed, or was replaced, while it was read.
struct MFileVersion {
    unsigned long long lliSize = 0;
    long long llChanged = 0;
    MFileIdentity identity;
    bool operator==(const MFileVersion& other) const {
        return lliSize == other.lliSize && llChanged == other.llChanged &&
               identity == other.identity;
    }
};
bool versionOf(MSystemFile file, MFileVersion& version);

enum class MFileKind { Regular, Directory, Other };

/// What the name leads to, links followed, learned without opening it: a device must
/// not see an open it was never meant to get. False with the system's error when nothing
/// is there.
bool kindOf(const char* pszName, MFileKind& kind, MFileVersion& version);

enum class MReplacement {
    Created,  // the new file is open
    InPlace,  // a device or a pipe: written where it is, there is no file to tear
    Failed,   // no new file can be made beside the target
};

/// Starts the replacement of the file that writing pszName puts text into (through a
/// symbolic link, the file it points to): strTarget is that file's name, and file a new,
/// empty file in the same folder, open for writing and with the target's permissions.
/// Where the system allows it the new file has no name until nameReplacement(), so that
/// nothing is left behind however the process ends; elsewhere strTemporary is its short
/// name, and an interruption of the process (a signal, Ctrl-C) removes it.
MReplacement createReplacement(const char* pszName, std::string& strTarget,
                               std::string& strTemporary, MSystemFile& file);

/// Gives a new file without a name a temporary one beside the target, just before it is
/// closed and put in place. False when it cannot.
bool nameReplacement(MSystemFile file, const std::string& strTarget, std::string& strTemporary);

/// Puts the closed new file in the target's place, in one step, so that readers see
/// either the old or the new text. False when it cannot (the target is held open by
/// another program, say); the new file is then still there to be discarded.
bool replaceTarget(const std::string& strTemporary, const std::string& strTarget);

/// Removes a new file that is not to be put in place.
void discardReplacement(const std::string& strTemporary);

/// Opens what writing pszName in place reaches, a device, a pipe or a file that another
/// stream holds open (/dev/stdout, /proc/self/fd/1): written through that stream, at its
/// position or at its end where it appends, never emptied first. g_noSystemFile when it
/// cannot.
MSystemFile openInPlace(const char* pszName);

#endif  // XVANTOR_ENGINE_MPLATFORM_H
