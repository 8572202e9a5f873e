#include "support/msupportfiles.h"

#include <cstdio>
#include <memory>

#include "support/mjavapackage.h"
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
void writeSupportFile(const MSupportFile& file, const MString& mstrPath,
                      const MString& mstrPackage) {
    // Looked up in the working directory, not in the target directory.
    if (std::FILE* pExisting = std::fopen(file.pszName, "r")) {
        std::fclose(pExisting);
        return;
    }
    MString mstrTarget = directoryOf(mstrPath) + MString(file.pszName);
    if (mstrPackage.isEmpty()) {
        file.make()->exportToFile(mstrTarget);
        return;
    }
    withJavaPackage(*file.make(), mstrPackage).exportToFile(mstrTarget);
}

}  // namespace

void writeSupportFiles(const MString& mstrOption, MString mstrPath, const char* pszJavaInput) {
    static const MSupportFile java[] = {{"MString.java", &makeFrame<MStringJavaFrame>},
                                        {"MVantor.java", &makeFrame<MVantorJavaFrame>}};
    static const MSupportFile cpp[] = {{"mstring.h", &makeFrame<MStringHFrame>},
                                       {"mvantor.h", &makeFrame<MVantorHFrame>}};
    static const MSupportFile csharp[] = {{"MString.cs", &makeFrame<MStringCsFrame>},
                                          {"MVantor.cs", &makeFrame<MVantorCsFrame>}};
    // The whole text counts here, unlike in translation: "-cpp" writes nothing.
    const MSupportFile* pFiles = nullptr;
    MString mstrPackage;
    if (mstrOption == MString("-j")) {
        pFiles = java;
        if (pszJavaInput != nullptr)
            mstrPackage = javaPackageOfFile(pszJavaInput);
    }
    if (mstrOption == MString("-c"))
        pFiles = cpp;
    if (mstrOption == MString("-#"))
        pFiles = csharp;
    if (pFiles == nullptr)
        return;
    writeSupportFile(pFiles[0], mstrPath, mstrPackage);
    writeSupportFile(pFiles[1], mstrPath, mstrPackage);
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
