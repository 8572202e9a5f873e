// SPDX-License-Identifier: MIT
#include "support/msupportfiles.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "engine/merror.h"
#include "engine/mfiles.h"
#include "support/mjavapackage.h"
#include "support/msupporttexts.h"

namespace {

// The Java files declare the package of the Java input, so that classes in a named
// package see them; every other file is the kept text as it is.
MString packageFor(const MLanguageTraits& traits, const char* pszJavaInput) {
    if (!traits.bSupportPackage || pszJavaInput == nullptr)
        return MString();
    return javaPackageOfFile(pszJavaInput);
}

MString supportText(const char* pszName, const MString& mstrPackage) {
    return withJavaPackage(*supportTextNamed(pszName), mstrPackage);
}

// Where the file goes; "" when a file of its name in the working directory keeps it from
// being written (default mode only).
std::string targetOf(const char* pszName, const MString& mstrPath, bool bInto) {
    if (!bInto) {
        // Looked up in the working directory, not in the target directory.
        if (std::FILE* pExisting = std::fopen(pszName, "r")) {
            std::fclose(pExisting);
            return std::string();
        }
        const MString mstrTarget = directoryOf(mstrPath) + MString(pszName);
        return std::string(&mstrTarget[0], mstrTarget.length());
    }
    std::string strTarget(mstrPath.isEmpty() ? "" : &mstrPath[0], mstrPath.length());
    if (!strTarget.empty() && strTarget.back() != '/' && strTarget.back() != '\\')
        strTarget += '/';
    return strTarget + pszName;
}

// Written only when the bytes differ, so that parallel builds never see a file being
// replaced by its own text and an unchanged file keeps its time stamp. One file is handled
// whole before the next is looked at, so when the first cannot be created the second is
// neither tested nor written.
void writeIfChanged(const char* pszName, const std::string& strTarget, const MString& mstrPackage) {
    if (strTarget.empty())
        return;
    MString mstrText = supportText(pszName, mstrPackage);
    try {
        if (readWholeFile(strTarget.c_str()) == mstrText)
            return;
    } catch (const MFileFailure&) {  // missing or unreadable: written anew
    }
    writeWholeFile(strTarget.c_str(), mstrText);
}

bool hasSupportFiles(const MLanguageTraits& traits) {
    return traits.apszSupportFiles[0] != nullptr;
}

void writeAll(const MLanguageTraits& traits, const MString& mstrPath, bool bInto,
              const char* pszJavaInput) {
    if (!hasSupportFiles(traits))
        return;
    const MString mstrPackage = packageFor(traits, pszJavaInput);
    for (const char* pszName : traits.apszSupportFiles) {
        if (pszName != nullptr)
            writeIfChanged(pszName, targetOf(pszName, mstrPath, bInto), mstrPackage);
    }
}

}  // namespace

std::vector<std::string> supportFileTargets(const MLanguageTraits& traits, const MString& mstrPath,
                                            bool bInto) {
    std::vector<std::string> targets;
    for (const char* pszName : traits.apszSupportFiles) {
        if (pszName == nullptr)
            continue;
        const std::string strTarget = targetOf(pszName, mstrPath, bInto);
        if (!strTarget.empty())
            targets.push_back(strTarget);
    }
    return targets;
}

void writeSupportFiles(const MLanguageTraits& traits, const MString& mstrPath,
                       const char* pszJavaInput) {
    writeAll(traits, mstrPath, false, pszJavaInput);
}

void writeSupportFilesInto(const MLanguageTraits& traits, const MString& mstrDirectory,
                           const char* pszJavaInput) {
    if (hasSupportFiles(traits) && !mstrDirectory.isEmpty()) {
        // A build names a folder of its own that need not exist yet. When it cannot be made,
        // the reason is the folder's (no permission, say), not that of its missing file.
        std::error_code error;
        const std::string strDirectory(&mstrDirectory[0], mstrDirectory.length());
        std::filesystem::create_directories(strDirectory, error);
        if (error && error != std::errc::not_a_directory &&
            !std::filesystem::is_directory(strDirectory)) {
            const std::string strTarget = targetOf(traits.apszSupportFiles[0], mstrDirectory, true);
            std::string strReason = error.message();
            while (!strReason.empty() && std::strchr("\r\n. ", strReason.back()) != nullptr)
                strReason.pop_back();
            throw fileError({MFileFailure::MKind::CannotCreate, strReason}, MFileUse::Written,
                            MString(strTarget.c_str()));
        }
    }
    writeAll(traits, mstrDirectory, true, pszJavaInput);
}

// A backslash anywhere wins over every slash, even one after it; a separator
// that is the path's last character does not count for its kind.
MString directoryOf(MString mstrPath) {
    mstrPath.reverse();
    for (const char* pszSeparator : {"\\", "/"}) {
        const int nFound = mstrPath.find(MString(pszSeparator));
        if (nFound >= 1) {
            MString mstrDirectory = mstrPath.getString(nFound, static_cast<int>(mstrPath.length()));
            return mstrDirectory.reverse();
        }
    }
    return MString();
}
