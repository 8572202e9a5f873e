#include "support/msupportfiles.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "engine/merror.h"
#include "engine/mfiles.h"
#include "support/msupportframes.h"

namespace {

struct MSupportFile {
    const char* pszName;
    std::unique_ptr<MVantor> (*make)();
};

template <class Frame>
std::unique_ptr<MVantor> makeFrame() {
    return std::make_unique<Frame>();
}

// One file is handled whole before the next is looked at, so when the first
// cannot be created the second is neither tested nor written.
void writeSupportFile(const MSupportFile& file, const MString& mstrPath) {
    // Looked up in the working directory, not in the target directory.
    if (std::FILE* pExisting = std::fopen(file.pszName, "r")) {
        std::fclose(pExisting);
        return;
    }
    MString mstrTarget = directoryOf(mstrPath) + MString(file.pszName);
    try {
        file.make()->exportToFile(mstrTarget);
    } catch (const char* pszMessage) {  // the shipped string class's own way to fail
        throw MError(pszMessage);
    }
}

// The language's two files; null for the fallback form, which has none.
const MSupportFile* supportFilesOf(MLanguage language) {
    static const MSupportFile java[] = {{"MString.java", &makeFrame<MStringJavaFrame>},
                                        {"MVantor.java", &makeFrame<MVantorJavaFrame>}};
    static const MSupportFile cpp[] = {{"mstring.h", &makeFrame<MStringHFrame>},
                                       {"mvantor.h", &makeFrame<MVantorHFrame>}};
    static const MSupportFile csharp[] = {{"MString.cs", &makeFrame<MStringCsFrame>},
                                          {"MVantor.cs", &makeFrame<MVantorCsFrame>}};
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

void writeIfChanged(const MSupportFile& file, const MString& mstrDirectory) {
    MString mstrTarget = mstrDirectory;
    const long nLength = static_cast<long>(mstrTarget.length());
    if (nLength > 0 && mstrTarget[nLength - 1] != '/' && mstrTarget[nLength - 1] != '\\')
        mstrTarget += MString("/");
    mstrTarget += MString(file.pszName);
    MString mstrText = *file.make();
    try {
        if (readWholeFile(mstrTarget.toCStr().getAddress()) == mstrText)
            return;
    } catch (MFileFailure) {  // missing or unreadable: written anew
    }
    writeWholeFile(mstrTarget.toCStr().getAddress(), mstrText);
}

}  // namespace

void writeSupportFiles(MLanguage language, const MString& mstrPath) {
    if (const MSupportFile* pFiles = supportFilesOf(language)) {
        writeSupportFile(pFiles[0], mstrPath);
        writeSupportFile(pFiles[1], mstrPath);
    }
}

void writeSupportFilesInto(MLanguage language, const MString& mstrDirectory) {
    if (const MSupportFile* pFiles = supportFilesOf(language)) {
        // A build names a folder of its own that need not exist yet.
        std::error_code error;
        if (!mstrDirectory.isEmpty())
            std::filesystem::create_directories(
                std::string(&mstrDirectory[0], mstrDirectory.length()), error);
        writeIfChanged(pFiles[0], mstrDirectory);
        writeIfChanged(pFiles[1], mstrDirectory);
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
