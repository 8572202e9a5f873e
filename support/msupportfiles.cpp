// SPDX-License-Identifier: MIT
#include "support/msupportfiles.h"

#include <cstdio>
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
    static const MSupportFile java[] = {{"MString.java", &makeText<MStringJavaText>},
                                        {"MVantor.java", &makeText<MVantorJavaText>}};
    static const MSupportFile cpp[] = {{"mstring.h", &makeText<MStringHText>},
                                       {"mvantor.h", &makeText<MVantorHText>}};
    static const MSupportFile csharp[] = {{"MString.cs", &makeText<MStringCsText>},
                                          {"MVantor.cs", &makeText<MVantorCsText>}};
    switch (language) {
    case MLanguage::Java:
        return java;
    case MLanguage::Cpp:
        return cpp;
    case MLanguage::CSharp:
        return csharp;
    case MLanguage::Fallback:
        break;
    }
    return nullptr;
}

// The Java files declare the package of the Java input, so that classes in a named
// package see them; every other file is the kept text as it is.
MString packageFor(MLanguage language, const char* pszJavaInput) {
    if (language != MLanguage::Java || pszJavaInput == nullptr)
        return MString();
    return javaPackageOfFile(pszJavaInput);
}

MString supportText(const MSupportFile& file, const MString& mstrPackage) {
    return withJavaPackage(*file.make(), mstrPackage);
}

// One file is handled whole before the next is looked at, so when the first
// cannot be created the second is neither tested nor written.
void writeSupportFile(const MSupportFile& file, const MString& mstrPath,
                      const MString& mstrPackage) {
    // Looked up in the working directory, not in the target directory.
    if (std::FILE* pExisting = std::fopen(file.pszName, "r")) {
        std::fclose(pExisting);
        return;
    }
    MString mstrTarget = directoryOf(mstrPath) + MString(file.pszName);
    MString mstrText = supportText(file, mstrPackage);
    writeWholeFile(mstrTarget.toCStr().getAddress(), mstrText);
}

void writeIfChanged(const MSupportFile& file, const MString& mstrDirectory,
                    const MString& mstrPackage) {
    MString mstrTarget = mstrDirectory;
    const long nLength = static_cast<long>(mstrTarget.length());
    if (nLength > 0 && mstrTarget[nLength - 1] != '/' && mstrTarget[nLength - 1] != '\\')
        mstrTarget += MString("/");
    mstrTarget += MString(file.pszName);
    MString mstrText = supportText(file, mstrPackage);
    try {
        if (readWholeFile(mstrTarget.toCStr().getAddress()) == mstrText)
            return;
    } catch (const MFileFailure&) {  // missing or unreadable: written anew
    }
    writeWholeFile(mstrTarget.toCStr().getAddress(), mstrText);
}

}  // namespace

void writeSupportFiles(MLanguage language, const MString& mstrPath, const char* pszJavaInput) {
    if (const MSupportFile* pFiles = supportFilesOf(language)) {
        const MString mstrPackage = packageFor(language, pszJavaInput);
        writeSupportFile(pFiles[0], mstrPath, mstrPackage);
        writeSupportFile(pFiles[1], mstrPath, mstrPackage);
    }
}

void writeSupportFilesInto(MLanguage language, const MString& mstrDirectory,
                           const char* pszJavaInput) {
    if (const MSupportFile* pFiles = supportFilesOf(language)) {
        // A build names a folder of its own that need not exist yet.
        std::error_code error;
        if (!mstrDirectory.isEmpty())
            std::filesystem::create_directories(
                std::string(&mstrDirectory[0], mstrDirectory.length()), error);
        const MString mstrPackage = packageFor(language, pszJavaInput);
        writeIfChanged(pFiles[0], mstrDirectory, mstrPackage);
        writeIfChanged(pFiles[1], mstrDirectory, mstrPackage);
    }
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
