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

struct MSupportFile {
    const char* pszName;
    std::unique_ptr<MVantor> (*make)();
};

template <class Text>
std::unique_ptr<MVantor> makeText() {
    return std::make_unique<Text>();
}

// The language's two files; null for the fallback form, which has none.
const MSupportFile* supportFilesOf(MLanguage language) {
    // Each language's two files stand side by side, under the names its row gives them.
    static const MSupportFile files[] = {
        {"MString.java", &makeText<MStringJavaText>}, {"MVantor.java", &makeText<MVantorJavaText>},
        {"mstring.h", &makeText<MStringHText>},       {"mvantor.h", &makeText<MVantorHText>},
        {"MString.cs", &makeText<MStringCsText>},     {"MVantor.cs", &makeText<MVantorCsText>}};
    const char* pszFirst = traitsOf(language).apszSupportFiles[0];
    for (const MSupportFile& file : files) {
        if (pszFirst != nullptr && std::strcmp(file.pszName, pszFirst) == 0)
            return &file;
    }
    return nullptr;
}

// The Java files declare the package of the Java input, so that classes in a named
// package see them; every other file is the kept text as it is.
MString packageFor(MLanguage language, const char* pszJavaInput) {
    if (!traitsOf(language).bSupportPackage || pszJavaInput == nullptr)
        return MString();
    return javaPackageOfFile(pszJavaInput);
}

MString supportText(const MSupportFile& file, const MString& mstrPackage) {
    return withJavaPackage(*file.make(), mstrPackage);
}

// Where the file goes; "" when a file of its name in the working directory keeps it from
// being written (default mode only).
std::string targetOf(const MSupportFile& file, const MString& mstrPath, bool bInto) {
    if (!bInto) {
        // Looked up in the working directory, not in the target directory.
        if (std::FILE* pExisting = std::fopen(file.pszName, "r")) {
            std::fclose(pExisting);
            return std::string();
        }
        const MString mstrTarget = directoryOf(mstrPath) + MString(file.pszName);
        return std::string(&mstrTarget[0], mstrTarget.length());
    }
    std::string strTarget(mstrPath.isEmpty() ? "" : &mstrPath[0], mstrPath.length());
    if (!strTarget.empty() && strTarget.back() != '/' && strTarget.back() != '\\')
        strTarget += '/';
    return strTarget + file.pszName;
}

// Written only when the bytes differ, so that parallel builds never see a file being
// replaced by its own text and an unchanged file keeps its time stamp. One file is handled
// whole before the next is looked at, so when the first cannot be created the second is
// neither tested nor written.
void writeIfChanged(const MSupportFile& file, const std::string& strTarget,
                    const MString& mstrPackage) {
    if (strTarget.empty())
        return;
    MString mstrText = supportText(file, mstrPackage);
    try {
        if (readWholeFile(strTarget.c_str()) == mstrText)
            return;
    } catch (const MFileFailure&) {  // missing or unreadable: written anew
    }
    writeWholeFile(strTarget.c_str(), mstrText);
}

void writeAll(MLanguage language, const MString& mstrPath, bool bInto, const char* pszJavaInput) {
    if (const MSupportFile* pFiles = supportFilesOf(language)) {
        const MString mstrPackage = packageFor(language, pszJavaInput);
        for (int i = 0; i < 2; ++i)
            writeIfChanged(pFiles[i], targetOf(pFiles[i], mstrPath, bInto), mstrPackage);
    }
}

}  // namespace

std::vector<std::string> supportFileTargets(MLanguage language, const MString& mstrPath,
                                            bool bInto) {
    std::vector<std::string> targets;
    if (const MSupportFile* pFiles = supportFilesOf(language)) {
        for (int i = 0; i < 2; ++i) {
            const std::string strTarget = targetOf(pFiles[i], mstrPath, bInto);
            if (!strTarget.empty())
                targets.push_back(strTarget);
        }
    }
    return targets;
}

void writeSupportFiles(MLanguage language, const MString& mstrPath, const char* pszJavaInput) {
    writeAll(language, mstrPath, false, pszJavaInput);
}

void writeSupportFilesInto(MLanguage language, const MString& mstrDirectory,
                           const char* pszJavaInput) {
    if (supportFilesOf(language) != nullptr && !mstrDirectory.isEmpty()) {
        // A build names a folder of its own that need not exist yet.
        std::error_code error;
        std::filesystem::create_directories(std::string(&mstrDirectory[0], mstrDirectory.length()),
                                            error);
    }
    writeAll(language, mstrDirectory, true, pszJavaInput);
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
