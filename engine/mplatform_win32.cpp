// SPDX-License-Identifier: MIT
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

#include "engine/mplatform.h"

namespace {

const unsigned long liLargestCall = 1UL << 30;

// Names arrive in the active code page, which the manifest makes UTF-8; an older
// Windows that ignores it still hands them over in its own code page, and the
// conversion follows whichever is in force.
std::wstring wide(const char* pszName) {
    const int nWide = ::MultiByteToWideChar(CP_ACP, 0, pszName, -1, nullptr, 0);
    if (nWide <= 0)
        return std::wstring();
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, pszName, -1, &strWide[0], nWide);
    strWide.resize(static_cast<size_t>(nWide - 1));
    return strWide;
}

HANDLE handleOf(MSystemFile file) {
    return reinterpret_cast<HANDLE>(file);
}

// The new file of the replacement under way: Ctrl-C, Ctrl-Break or a closed console
// must not leave it beside the output. The handler runs on a thread of its own, so
// the lock keeps it and the final rename from crossing.
SRWLOCK g_lockPending = SRWLOCK_INIT;
std::wstring g_strPending;
bool g_bPending = false;
bool g_bInterrupted = false;

BOOL WINAPI removePending(DWORD /*dwEvent*/) {
    ::AcquireSRWLockExclusive(&g_lockPending);
    if (g_bPending)
        ::DeleteFileW(g_strPending.c_str());
    g_bPending = false;
    // No replacement may finish once the run is being ended.
    g_bInterrupted = true;
    ::ReleaseSRWLockExclusive(&g_lockPending);
    // The next handler, the system's, ends the process as it would have.
    return FALSE;
}

void installRemover() {
    static bool bInstalled = false;
    if (bInstalled)
        return;
    bInstalled = true;
    ::SetConsoleCtrlHandler(removePending, TRUE);
}

// The folder part of a name, with its last separator, or "".
std::string folderOf(const std::string& strName) {
    const size_t nSeparator = strName.find_last_of("\\/:");
    return nSeparator == std::string::npos ? std::string() : strName.substr(0, nSeparator + 1);
}

// A new file beside the target with a short name of its own, so that a target whose name
// is near the limit can still be replaced. Opened deletable, so that the handler can
// remove it while it is being written.
HANDLE createPending(const std::string& strTarget, std::string& strTemporary) {
    static unsigned nCounter = 0;
    for (int nAttempt = 0; nAttempt < 100; ++nAttempt) {
        const unsigned nSeed =
            (::GetCurrentProcessId() * 2654435761U) ^ ::GetTickCount() ^ (++nCounter * 40503U);
        char szSuffix[10] = ".xv";
        for (int nDigit = 0; nDigit < 6; ++nDigit)
            szSuffix[3 + nDigit] =
                "0123456789abcdefghijklmnopqrstuvwxyz"[(nSeed >> (5 * nDigit)) % 36];
        strTemporary = folderOf(strTarget) + szSuffix;
        const std::wstring strWide = wide(strTemporary.c_str());
        ::AcquireSRWLockExclusive(&g_lockPending);
        HANDLE hFile =
            ::CreateFileW(strWide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD dwError = ::GetLastError();
        if (hFile != INVALID_HANDLE_VALUE) {
            g_strPending = strWide;
            g_bPending = true;
        }
        ::ReleaseSRWLockExclusive(&g_lockPending);
        if (hFile != INVALID_HANDLE_VALUE)
            return hFile;
        if (dwError != ERROR_FILE_EXISTS && dwError != ERROR_ALREADY_EXISTS)
            break;
    }
    strTemporary.clear();
    return INVALID_HANDLE_VALUE;
}

// True when pszName is a file on a disk, or nothing yet; false for a folder or a
// device such as NUL or CON, which are written in place.
bool isReplaceable(const char* pszName) {
    HANDLE hFile = ::CreateFileW(wide(pszName).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return true;
    BY_HANDLE_FILE_INFORMATION information;
    const bool bFile = ::GetFileType(hFile) == FILE_TYPE_DISK &&
                       ::GetFileInformationByHandle(hFile, &information) &&
                       (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    ::CloseHandle(hFile);
    return bFile;
}

MFileIdentity identityIn(const BY_HANDLE_FILE_INFORMATION& information) {
    MFileIdentity identity;
    identity.lliVolume = information.dwVolumeSerialNumber;
    identity.lliIndex = (static_cast<unsigned long long>(information.nFileIndexHigh) << 32) |
                        information.nFileIndexLow;
    return identity;
}

MFileVersion versionIn(const BY_HANDLE_FILE_INFORMATION& information) {
    MFileVersion version;
    version.lliSize = (static_cast<unsigned long long>(information.nFileSizeHigh) << 32) |
                      information.nFileSizeLow;
    version.llChanged = static_cast<long long>(
        (static_cast<unsigned long long>(information.ftLastWriteTime.dwHighDateTime) << 32) |
        information.ftLastWriteTime.dwLowDateTime);
    version.identity = identityIn(information);
    return version;
}

// What the named file or folder is, links followed; false when there is none.
bool informationOf(const std::wstring& strName, BY_HANDLE_FILE_INFORMATION& information) {
    HANDLE hFile =
        ::CreateFileW(strName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    const bool bKnown = ::GetFileInformationByHandle(hFile, &information) != 0;
    ::CloseHandle(hFile);
    return bKnown;
}

}  // namespace

MSystemFile openForReading(const char* pszName) {
    HANDLE hFile = ::CreateFileW(wide(pszName).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return hFile == INVALID_HANDLE_VALUE ? g_noSystemFile : reinterpret_cast<MSystemFile>(hFile);
}

std::string lastSystemError() {
    const DWORD dwError = ::GetLastError();
    char szText[512] = "";
    const DWORD dwLength =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         dwError, 0, szText, sizeof(szText), nullptr);
    std::string strText(szText, dwLength);
    // The system's sentence ends in a full stop and a line end; the line goes on after it.
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r' ||
                                strText.back() == '.' || strText.back() == ' '))
        strText.pop_back();
    return strText.empty() ? "error " + std::to_string(dwError) : strText;
}

long readAt(MSystemFile file, char* pBuffer, unsigned long liCount, unsigned long long lliOffset) {
    OVERLAPPED position = {};
    position.Offset = static_cast<DWORD>(lliOffset);
    position.OffsetHigh = static_cast<DWORD>(lliOffset >> 32);
    const DWORD dwAsked = static_cast<DWORD>(liCount < liLargestCall ? liCount : liLargestCall);
    DWORD dwRead = 0;
    if (!::ReadFile(handleOf(file), pBuffer, dwAsked, &dwRead, &position))
        return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return static_cast<long>(dwRead);
}

bool writeAll(MSystemFile file, const char* pText, unsigned long liCount) {
    while (liCount > 0) {
        const DWORD dwAsked = static_cast<DWORD>(liCount < liLargestCall ? liCount : liLargestCall);
        DWORD dwWritten = 0;
        if (!::WriteFile(handleOf(file), pText, dwAsked, &dwWritten, nullptr) || dwWritten == 0)
            return false;
        pText += dwWritten;
        liCount -= dwWritten;
    }
    return true;
}

bool closeSystemFile(MSystemFile file) {
    return ::CloseHandle(handleOf(file)) != 0;
}

MReplacement createReplacement(const char* pszName, std::string& strTarget,
                               std::string& strTemporary, MSystemFile& file) {
    if (!isReplaceable(pszName))
        return MReplacement::InPlace;
    // A link is replaced itself, not the file it points to: links are rare here and
    // the rename has no way through them.
    strTarget = pszName;
    installRemover();
    HANDLE hFile = createPending(strTarget, strTemporary);
    if (hFile == INVALID_HANDLE_VALUE)
        return MReplacement::Failed;
    file = reinterpret_cast<MSystemFile>(hFile);
    return MReplacement::Created;
}

bool nameReplacement(MSystemFile /*file*/, const std::string& /*strTarget*/,
                     std::string& /*strTemporary*/) {
    return true;
}

bool nameIdentityOf(const char* pszName, MNameIdentity& identity) {
    const std::wstring strName = wide(pszName);
    identity.strFinal.clear();
    BY_HANDLE_FILE_INFORMATION information;
    if (informationOf(strName, information)) {
        identity.identity = identityIn(information);
        return true;
    }
    // The name the system will give the file: the full path drops trailing dots and
    // spaces (not after \\?\, where they stay) and resolves "." and "..". The folder
    // exists, so its identity covers short names, links and the prefix.
    const DWORD dwLength = ::GetFullPathNameW(strName.c_str(), 0, nullptr, nullptr);
    if (dwLength == 0)
        return false;
    std::wstring strFull(dwLength, L'\0');
    const DWORD dwWritten = ::GetFullPathNameW(strName.c_str(), dwLength, &strFull[0], nullptr);
    if (dwWritten == 0 || dwWritten >= dwLength)
        return false;
    strFull.resize(dwWritten);
    const size_t nSeparator = strFull.find_last_of(L"\\/");
    if (nSeparator == std::wstring::npos || nSeparator + 1 == strFull.size() ||
        !informationOf(strFull.substr(0, nSeparator + 1), information))
        return false;
    identity.identity = identityIn(information);
    std::wstring strFinal = strFull.substr(nSeparator + 1);
    // Names differ only in case to the system.
    ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, strFinal.c_str(),
                   static_cast<int>(strFinal.size()), &strFinal[0],
                   static_cast<int>(strFinal.size()));
    const int nBytes =
        ::WideCharToMultiByte(CP_UTF8, 0, strFinal.c_str(), static_cast<int>(strFinal.size()),
                              nullptr, 0, nullptr, nullptr);
    identity.strFinal.assign(static_cast<size_t>(nBytes > 0 ? nBytes : 0), '\0');
    if (nBytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, strFinal.c_str(), static_cast<int>(strFinal.size()),
                              &identity.strFinal[0], nBytes, nullptr, nullptr);
    return nBytes > 0;
}

bool kindOf(const char* pszName, MFileKind& kind, MFileVersion& version) {
    // Opened for no access at all, as a query: a device is never opened for reading.
    HANDLE hFile = ::CreateFileW(wide(pszName).c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool bDisk =
        ::GetFileType(hFile) == FILE_TYPE_DISK && ::GetFileInformationByHandle(hFile, &information);
    ::CloseHandle(hFile);
    kind = !bDisk                                                           ? MFileKind::Other
           : (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? MFileKind::Directory
                                                                            : MFileKind::Regular;
    if (bDisk)
        version = versionIn(information);
    return true;
}

MSystemFile openInPlace(const char* pszName) {
    HANDLE hFile =
        ::CreateFileW(wide(pszName).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return hFile == INVALID_HANDLE_VALUE ? g_noSystemFile : reinterpret_cast<MSystemFile>(hFile);
}

bool namesIgnoreCase() {
    return true;
}

bool versionOf(MSystemFile file, MFileVersion& version) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!::GetFileInformationByHandle(handleOf(file), &information))
        return false;
    version = versionIn(information);
    return true;
}

bool replaceTarget(const std::string& strTemporary, const std::string& strTarget) {
    ::AcquireSRWLockExclusive(&g_lockPending);
    // Fails, and keeps the old file, while another program holds the target open.
    const bool bReplaced =
        !g_bInterrupted &&
        ::MoveFileExW(wide(strTemporary.c_str()).c_str(), wide(strTarget.c_str()).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (bReplaced)
        g_bPending = false;
    ::ReleaseSRWLockExclusive(&g_lockPending);
    return bReplaced;
}

void discardReplacement(const std::string& strTemporary) {
    ::AcquireSRWLockExclusive(&g_lockPending);
    ::DeleteFileW(wide(strTemporary.c_str()).c_str());
    g_bPending = false;
    ::ReleaseSRWLockExclusive(&g_lockPending);
}
