// SPDX-License-Identifier: MIT
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

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

// The file that a replacement of pszName renames over, with the mode the new one
// takes; false when the name must be written in place.
bool replacedPath(const char* pszName, std::string& strPath, mode_t& mode) {
    struct stat status;
    if (::lstat(pszName, &status) != 0) {
        strPath = pszName;
        mode = creationMode();
        return true;
    }
    if (S_ISLNK(status.st_mode)) {
        // The link stays a link: the file it points to is replaced.
        std::unique_ptr<char, decltype(&std::free)> pszTarget(::realpath(pszName, nullptr),
                                                              &std::free);
        struct stat target;
        if (!pszTarget || ::stat(pszTarget.get(), &target) != 0 || !S_ISREG(target.st_mode))
            return false;
        strPath = pszTarget.get();
        mode = target.st_mode & 07777;
        return true;
    }
    if (!S_ISREG(status.st_mode))
        return false;
    strPath = pszName;
    mode = status.st_mode & 07777;
    return true;
}

}  // namespace

MSystemFile openForReading(const char* pszName) {
    // Opening a pipe for reading would wait for its writer; it is refused unread instead.
    const int nDescriptor = ::open(pszName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (nDescriptor >= 0) {
        const int nFlags = ::fcntl(nDescriptor, F_GETFL);
        if (nFlags != -1)
            ::fcntl(nDescriptor, F_SETFL, nFlags & ~O_NONBLOCK);
    }
    return nDescriptor;
}

std::string lastSystemError() {
    return std::strerror(errno);
}

bool sizeOfRegularFile(MSystemFile file, unsigned long long& lliSize) {
    struct stat status;
    if (::fstat(static_cast<int>(file), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    lliSize = static_cast<unsigned long long>(status.st_size);
    return true;
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

bool isDirectory(const char* pszName) {
    struct stat status;
    return ::stat(pszName, &status) == 0 && S_ISDIR(status.st_mode);
}

MReplacement createReplacement(const char* pszName, std::string& strTarget,
                               std::string& strTemporary, MSystemFile& file) {
    mode_t mode = 0;
    if (!replacedPath(pszName, strTarget, mode))
        return MReplacement::InPlace;
    strTemporary.clear();
    int nDescriptor = -1;
#ifdef O_TMPFILE
    const std::string strFolder = folderOf(strTarget);
    nDescriptor =
        ::open(strFolder.empty() ? "." : strFolder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    // Only a missing folder is final; a file system without unnamed files takes named ones.
    if (nDescriptor < 0 && errno == ENOENT)
        return MReplacement::Failed;
#endif
    if (nDescriptor < 0) {
        strTemporary = temporaryName(strTarget);
        nDescriptor =
            createPending(strTemporary, [&] { return ::mkostemp(&strTemporary[0], O_CLOEXEC); });
        if (nDescriptor < 0) {
            strTemporary.clear();
            return MReplacement::Failed;
        }
    }
    ::fchmod(nDescriptor, mode);
    file = nDescriptor;
    return MReplacement::Created;
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

bool identityOf(const char* pszName, MFileIdentity& identity) {
    struct stat status;
    if (::stat(pszName, &status) != 0)
        return false;
    identity.lliVolume = static_cast<unsigned long long>(status.st_dev);
    identity.lliIndex = static_cast<unsigned long long>(status.st_ino);
    return true;
}

bool namesIgnoreCase() {
    return false;
}

bool versionOf(MSystemFile file, MFileVersion& version) {
    struct stat status;
    if (::fstat(static_cast<int>(file), &status) != 0)
        return false;
    version.lliSize = static_cast<unsigned long long>(status.st_size);
    version.llChanged =
        static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
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
