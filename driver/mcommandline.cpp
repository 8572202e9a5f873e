#include "driver/mcommandline.h"

#include <cstdio>
#include <new>

#include "engine/mconsole.h"
#include "engine/mescapetable.h"
#include "engine/mpreprocessorrun.h"
#include "support/msupportfiles.h"

namespace {

#define XV_SUPPORT_ADDRESS "support@xvantor.org"

const char* const pszBanner =
    "\nXVantor 1.0.0, the frame text preprocessor for C++, Java and C#"
    "\nCopyright (C) 2026 The XVantor developers"
    "\nAll rights reserved.\n";
// "enougth" is how the tool has always spelled it; scripts match the text.
const char* const pszNotEnough = "Not enougth parameters!";
const char* const pszUsage =
    "Syntax is: XVANTOR [option] input_file output_file\n"
    "   -c  C++  Language\n"
    "   -j  Java Language\n"
    "   -#  C#   Language\n"
    "   -a  Automatic Language Recognition (Default)\n";
const char* const pszSameNames =
    "\nError XF0004: The output file has the same name with the input file";
const char* const pszNotRecognised =
    "\nSorry, can not recognize the source language.\nPlease use the explicit language option!\n";
const char* const pszUnknownError =
    "\nUnknown Error: please send your source to " XV_SUPPORT_ADDRESS;

}  // namespace

int MCommandLine::run(int nArgs, const char* const* ppszArgs) {
    printLine(pszBanner);
    MEscapeTable::instance();
    int nStatus = sm_nStatusFailed;
    try {
        if (dispatch(nArgs, ppszArgs))
            nStatus = sm_nStatusDone;
    } catch (const char* pszMessage) {
        printLine(pszMessage);
    } catch (MString& mstrMessage) {  // not const: toCStr() adds the terminator in place
        printLine(mstrMessage.toCStr().getAddress());
    } catch (...) {  // memory exhaustion lands here too
        printLine(pszUnknownError);
    }
    std::fflush(stdout);
    return nStatus;
}

const char* MCommandLine::recogniseLanguage(const MString& mstrOutputName) {
    struct MLanguage {
        const char* pszOption;
        const char* apszExtensions[9];
    };
    // Java is tried first, so "out.java.cs" is Java.
    static const MLanguage languages[] = {
        {"-j", {".java", ".JAVA"}},
        {"-c", {".cpp", ".h", ".hpp", ".cxx", ".CPP", ".H", ".HPP", ".CXX"}},
        {"-#", {".cs", ".CS"}},
    };
    for (const MLanguage& language : languages) {
        for (const char* pszExtension : language.apszExtensions) {
            // Searched anywhere in the path, not at the end: "out.h.bak" is C++.
            if (pszExtension != nullptr && mstrOutputName.find(MString(pszExtension)) != -1)
                return language.pszOption;
        }
    }
    return nullptr;
}

bool MCommandLine::dispatch(int nArgs, const char* const* ppszArgs) {
    const bool bOption = nArgs > 1 && ppszArgs[1][0] == '-';
    if (nArgs < 3 || (bOption && nArgs < 4)) {
        printLine(pszNotEnough);
        printLine(pszUsage);
        return false;
    }
    // Only the first two characters decide: "-a", "-auto" and "-abc" recognise.
    const bool bExplicit = bOption && ppszArgs[1][1] != 'a';
    const char* pszInput = bOption ? ppszArgs[2] : ppszArgs[1];
    const char* pszOutput = bOption ? ppszArgs[3] : ppszArgs[2];
    // Names compare as bytes: "a.cpp" and "./a.cpp" differ.
    if (MString(pszInput) == MString(pszOutput))
        throw pszSameNames;

    if (bExplicit) {
        const char* pszOption = ppszArgs[1];
        MPreprocessorRun preprocessorRun(pszOption, pszInput, pszOutput);
        // The input's directory: the output name took no part in choosing.
        writeSupportFiles(MString(pszOption), MString(pszInput), pszInput);
        preprocessorRun.process();
        return true;
    }
    const char* pszOption = recogniseLanguage(MString(pszOutput));
    if (pszOption == nullptr) {
        printLine(pszNotRecognised);
        return false;
    }
    printText("Recognized:");
    // The Java files take the input's package; a missing input has none, and the run
    // below reports it.
    writeSupportFiles(MString(pszOption), MString(pszOutput), pszInput);
    MPreprocessorRun preprocessorRun(pszOption, pszInput, pszOutput);
    preprocessorRun.process();
    return true;
}
