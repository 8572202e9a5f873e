// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/vfs.h>
#endif

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "engine/mplatform.h"

namespace {

// Linux moves at most about 2 GiB per call.
const unsigned long liLargestCall = 1UL << 30;

// The new files of the replacements under way: a run stopped by Ctrl-C or kill must not
// leave them beside their targets. The output's and the depfile's can be under way at
// once. The handler may only touch what it can read atomically.
const int nPendingSlots = 2;
char g_aszPending[nPendingSlots][4096];
volatile sig_atomic_t g_abPending[nPendingSlots] = {};

extern "C" void removePending(int nSignal) {
    for (int i = 0; i < nPendingSlots; ++i) {
        if (g_abPending[i])
            ::unlink(g_aszPending[i]);
    }
    // The handler was reset on entry: the signal now ends the process as it would have.
    ::raise(nSignal);
}

const int anWatchedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void installRemover() {
    static bool bInstalled = false;
    if (bInstalled)
        return;
    bInstalled = true;
    for (int nSignal : anWatchedSignals) {
        struct sigaction old;
        // A signal the caller ignores (nohup, a background job) stays ignored.
        if (::sigaction(nSignal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = removePending;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        ::sigaction(nSignal, &action, nullptr);
    }
}

void forgetPending(const std::string& strTemporary) {
    for (int i = 0; i < nPendingSlots; ++i) {
        if (g_abPending[i] && strTemporary == g_aszPending[i])
            g_abPending[i] = 0;
    }
}

// Makes the new file, by pszCreate, with the signals held back, so that none can come
// between its creation and its name being known to the handler.
template <class Create>
int createPending(std::string& strTemporary, Create create) {
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    for (int nSignal : anWatchedSignals)
        sigaddset(&blocked, nSignal);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    installRemover();
    const int nResult = create();
    for (int i = 0; i < nPendingSlots && nResult >= 0; ++i) {
        if (!g_abPending[i] && strTemporary.size() < sizeof(g_aszPending[i])) {
            std::memcpy(g_aszPending[i], strTemporary.c_str(), strTemporary.size() + 1);
            g_abPending[i] = 1;
            break;
        }
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return nResult;
}

// The folder part of a name, with its last slash, or "".
std::string folderOf(const std::string& strName) {
    const size_t nSlash = strName.rfind('/');
    return nSlash == std::string::npos ? std::string() : strName.substr(0, nSlash + 1);
}

// A short name, so that a target whose own name is near the limit can still be replaced.
std::string temporaryName(const std::string& strTarget) {
    return folderOf(strTarget) + ".xv" + "XXXXXX";
}

mode_t creationMode() {
    const mode_t umaskNow = ::umask(0);
    ::umask(umaskNow);
    return 0666 & ~umaskNow;
}

// What writing a name reaches once its final links are followed.
enum class MReach {
    File,        // a regular file, replaced by a new one
    Missing,     // nothing yet: made as a new file
    Descriptor,  // a descriptor of this process, as /dev/stdout names one
    Stream,      // a device, a pipe, a folder, another process's open file
    Failed,      // errno says why
};

// "/dev/fd/N", "/proc/self/fd/N" or "/proc/<this process>/fd/N": read by name, not
// through /proc, so that they hold where /proc is missing.
bool namesDescriptor(const std::string& strPath, int& nDescriptor) {
    const char* const apszPrefixes[] = {"/dev/fd/", "/proc/self/fd/", "/proc/thread-self/fd/"};
    const char* pszNumber = nullptr;
    for (const char* pszPrefix : apszPrefixes) {
        if (strPath.compare(0, std::strlen(pszPrefix), pszPrefix) == 0)
            pszNumber = strPath.c_str() + std::strlen(pszPrefix);
    }
    if (pszNumber == nullptr && strPath.compare(0, 6, "/proc/") == 0) {
        const std::string strOwn = "/proc/" + std::to_string(::getpid()) + "/fd/";
        if (strPath.compare(0, strOwn.size(), strOwn) == 0)
            pszNumber = strPath.c_str() + strOwn.size();
    }
    if (pszNumber == nullptr || *pszNumber < '0' || *pszNumber > '9')
        return false;
    char* pszEnd = nullptr;
    const long nNumber = std::strtol(pszNumber, &pszEnd, 10);
    if (*pszEnd != 0 || nNumber > INT_MAX)
        return false;
    nDescriptor = static_cast<int>(nNumber);
    return true;
}

// A link of /proc names an open file of some process: the file behind it is another's
// stream, never to be replaced by rename.
bool isProcessLink(const std::string& strLink) {
#if defined(__linux__)
    const std::string strFolder = folderOf(strLink);
    struct statfs system;
    const long nProcMagic = 0x9fa0;
    return ::statfs(strFolder.empty() ? "." : strFolder.c_str(), &system) == 0 &&
           static_cast<long>(system.f_type) == nProcMagic;
#else
    return strLink.compare(0, 6, "/proc/") == 0;
#endif
}

// Follows the final links of strPath one at a time, so that a link into a folder that
// exists but to a file that does not is followed too: the link stays, its target is made.
MReach reachOf(std::string& strPath, struct stat& status, int& nDescriptor) {
    for (int nHop = 0; nHop < 40; ++nHop) {
        if (namesDescriptor(strPath, nDescriptor))
            return MReach::Descriptor;
        if (::lstat(strPath.c_str(), &status) != 0)
            return MReach::Missing;
        if (S_ISREG(status.st_mode))
            return MReach::File;
        if (!S_ISLNK(status.st_mode))
            return MReach::Stream;
        if (isProcessLink(strPath))
            return MReach::Stream;
        std::vector<char> target(static_cast<size_t>(status.st_size > 0 ? status.st_size : 255) +
                                 1);
        const ssize_t nLength = ::readlink(strPath.c_str(), target.data(), target.size());
        if (nLength < 0 || static_cast<size_t>(nLength) >= target.size())
            return MReach::Failed;
        const std::string strTarget(target.data(), static_cast<size_t>(nLength));
        strPath = strTarget[0] == '/' ? strTarget : folderOf(strPath) + strTarget;
    }
    errno = ELOOP;
    return MReach::Failed;
}

bool procAvailable() {
    static const bool bAvailable = ::access("/proc/self/fd", X_OK) == 0;
    return bAvailable;
}

// A run killed by SIGKILL (or a power cut) between naming its new file and the rename
// leaves the file behind; the next run into the folder removes such files: the tool's
// pattern, regular, the user's own, and unchanged for a minute, which no live run's new
// file is.
bool isLeftoverName(const char* pszName) {
    if (std::strncmp(pszName, ".xv", 3) != 0 || std::strlen(pszName) != 9)
        return false;
    for (const char* p = pszName + 3; *p != 0; ++p) {
        if (!((*p >= '0' && *p <= '9') || (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z')))
            return false;
    }
    return true;
}

void removeLeftovers(const std::string& strFolder) {
    static std::vector<std::string> cleaned;
    for (const std::string& strCleaned : cleaned) {
        if (strCleaned == strFolder)
            return;
    }
    cleaned.push_back(strFolder);
    DIR* pFolder = ::opendir(strFolder.empty() ? "." : strFolder.c_str());
    if (pFolder == nullptr)
        return;
    const std::time_t now = std::time(nullptr);
    const int nFolder = ::dirfd(pFolder);
    while (const struct dirent* pEntry = ::readdir(pFolder)) {
        struct stat status;
        if (isLeftoverName(pEntry->d_name) &&
            ::fstatat(nFolder, pEntry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_uid == ::geteuid() && status.st_mtime < now - 60)
            ::unlinkat(nFolder, pEntry->d_name, 0);
    }
    ::closedir(pFolder);
}

}  // namespace

MSystemFile openForReading(const char* pszName) {
    // Opening a pipe for reading would wait for its writer, and a terminal would become the
    // process's own; both are refused unread. A regular file reads as it would blocking.
    return ::open(pszName, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
}

std::string lastSystemError() {
    return std::strerror(errno);
}

long readAt(MSystemFile file, char* pBuffer, unsigned long liCount, unsigned long long lliOffset) {
    const size_t nAsked = liCount < liLargestCall ? liCount : liLargestCall;
    for (;;) {
        const ssize_t nRead =
            ::pread(static_cast<int>(file), pBuffer, nAsked, static_cast<off_t>(lliOffset));
        if (nRead < 0 && errno == EINTR)
            continue;
        return nRead < 0 ? -1 : static_cast<long>(nRead);
    }
}

bool writeAll(MSystemFile file, const char* pText, unsigned long liCount) {
    while (liCount > 0) {
        const size_t nAsked = liCount < liLargestCall ? liCount : liLargestCall;
        const ssize_t nWritten = ::write(static_cast<int>(file), pText, nAsked);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            return false;
        pText += nWritten;
        liCount -= static_cast<unsigned long>(nWritten);
    }
    return true;
}

bool closeSystemFile(MSystemFile file) {
    return ::close(static_cast<int>(file)) == 0;
}

MReplacement createReplacement(const char* pszName, std::string& strTarget,
                               std::string& strTemporary, MSystemFile& file) {
    strTarget = pszName;
    struct stat status;
    int nDescriptor = -1;
    mode_t mode = creationMode();
    switch (reachOf(strTarget, status, nDescriptor)) {
    case MReach::Descriptor:
    case MReach::Stream:
        return MReplacement::InPlace;
    case MReach::Failed:
        return MReplacement::Failed;
    case MReach::File:
        mode = status.st_mode & 07777;
        break;
    case MReach::Missing:
        break;
    }
    strTemporary.clear();
    const std::string strFolder = folderOf(strTarget);
    removeLeftovers(strFolder);
    int nDescriptorMade = -1;
#ifdef O_TMPFILE
    // An unnamed file is named through /proc when it is put in place; without /proc it
    // could never be, so a named one is made from the start.
    if (procAvailable()) {
        nDescriptorMade = ::open(strFolder.empty() ? "." : strFolder.c_str(),
                                 O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        // Only a missing folder is final; a file system without unnamed files takes named
        // ones.
        if (nDescriptorMade < 0 && errno == ENOENT)
            return MReplacement::Failed;
    }
#endif
    if (nDescriptorMade < 0) {
        strTemporary = temporaryName(strTarget);
        nDescriptorMade =
            createPending(strTemporary, [&] { return ::mkostemp(&strTemporary[0], O_CLOEXEC); });
        if (nDescriptorMade < 0) {
            strTemporary.clear();
            return MReplacement::Failed;
        }
    }
    ::fchmod(nDescriptorMade, mode);
    file = nDescriptorMade;
    return MReplacement::Created;
}

MSystemFile openInPlace(const char* pszName) {
    std::string strPath = pszName;
    struct stat status;
    int nDescriptor = -1;
    if (reachOf(strPath, status, nDescriptor) == MReach::Descriptor) {
        // The stream itself, sharing its position and its appending.
        return ::fcntl(nDescriptor, F_DUPFD_CLOEXEC, 0);
    }
    // Appending, since what is behind the name may be another's open file; a device and a
    // pipe take it as any write.
    return ::open(pszName, O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
}

bool nameReplacement(MSystemFile file, const std::string& strTarget, std::string& strTemporary) {
    if (!strTemporary.empty())
        return true;
    const std::string strLink = "/proc/self/fd/" + std::to_string(file);
    static unsigned nCounter = 0;
    for (int nAttempt = 0; nAttempt < 100; ++nAttempt) {
        unsigned nSeed = static_cast<unsigned>(::getpid()) * 2654435761U ^
                         static_cast<unsigned>(std::rand()) ^ (++nCounter * 40503U);
        std::string strName = folderOf(strTarget) + ".xv";
        for (int nDigit = 0; nDigit < 6; ++nDigit, nSeed /= 36)
            strName += "0123456789abcdefghijklmnopqrstuvwxyz"[nSeed % 36];
        int nError = 0;
        const int nResult = createPending(strName, [&] {
            const int nLinked =
                ::linkat(AT_FDCWD, strLink.c_str(), AT_FDCWD, strName.c_str(), AT_SYMLINK_FOLLOW);
            nError = errno;
            return nLinked;
        });
        if (nResult == 0) {
            strTemporary = strName;
            return true;
        }
        if (nError != EEXIST) {
            errno = nError;
            return false;
        }
    }
    return false;
}

bool nameIdentityOf(const char* pszName, MNameIdentity& identity) {
    struct stat status;
    std::string strPath = pszName;
    identity.strFinal.clear();
    if (::stat(pszName, &status) != 0) {
        int nDescriptor = -1;
        if (reachOf(strPath, status, nDescriptor) != MReach::Missing)
            return false;
        const size_t nSlash = strPath.rfind('/');
        identity.strFinal = nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
        if (identity.strFinal.empty() || identity.strFinal == "." || identity.strFinal == "..")
            return false;
        const std::string strFolder = folderOf(strPath);
        if (::stat(strFolder.empty() ? "." : strFolder.c_str(), &status) != 0)
            return false;
    }
    identity.identity.lliVolume = static_cast<unsigned long long>(status.st_dev);
    identity.identity.lliIndex = static_cast<unsigned long long>(status.st_ino);
    return true;
}

bool namesIgnoreCase() {
    return false;
}

namespace {

void takeVersion(const struct stat& status, MFileVersion& version) {
    version.lliSize = static_cast<unsigned long long>(status.st_size);
    version.llChanged =
        static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
    version.identity.lliVolume = static_cast<unsigned long long>(status.st_dev);
    version.identity.lliIndex = static_cast<unsigned long long>(status.st_ino);
}

}  // namespace

bool versionOf(MSystemFile file, MFileVersion& version) {
    struct stat status;
    if (::fstat(static_cast<int>(file), &status) != 0)
        return false;
    takeVersion(status, version);
    return true;
}

bool kindOf(const char* pszName, MFileKind& kind, MFileVersion& version) {
    struct stat status;
    if (::stat(pszName, &status) != 0)
        return false;
    kind = S_ISREG(status.st_mode)   ? MFileKind::Regular
           : S_ISDIR(status.st_mode) ? MFileKind::Directory
                                     : MFileKind::Other;
    takeVersion(status, version);
    return true;
}

bool replaceTarget(const std::string& strTemporary, const std::string& strTarget) {
    if (std::rename(strTemporary.c_str(), strTarget.c_str()) != 0)
        return false;
    forgetPending(strTemporary);
    return true;
}

void discardReplacement(const std::string& strTemporary) {
    ::unlink(strTemporary.c_str());
    forgetPending(strTemporary);
}
