// SPDX-License-Identifier: MIT
#include "driver/mcommandline.h"

#include <cstdio>
#include <cstring>

#include "driver/mconsole.h"
#include "driver/mdepfile.h"
#include "engine/merror.h"
#include "engine/mescapetable.h"
#include "engine/mpreprocessorrun.h"
#include "support/msupportfiles.h"

namespace {

const char* const pszBanner = "\nXVantor " XV_VERSION
                              ", the frame text preprocessor for C++, Java and C#"
                              "\nCopyright (C) 2026 The XVantor developers"
                              "\nFree software under the MIT licence.\n";
// "enougth" is how the tool has always spelled it; scripts match the text.
const char* const pszNotEnough = "Not enougth parameters!";
const char* const pszUsage =
    "Syntax is: XVANTOR [option] input_file output_file\n"
    "   -c  C++  Language\n"
    "   -j  Java Language\n"
    "   -#  C#   Language\n"
    "   -a  Automatic Language Recognition (Default)\n";

const char* languageLine(MLanguage language) {
    switch (language) {
    case MLanguage::Cpp:
        return " C++ source!";
    case MLanguage::CSharp:
        return " C# source!";
    case MLanguage::Java:
    case MLanguage::Fallback:
        break;
    }
    return " Java source!";
}

// Only the second character names the language: "-cpp" is C++, "-x" the fallback form.
MLanguage languageOfOption(const char* pszOption) {
    switch (pszOption[0] == 0 ? 0 : pszOption[1]) {
    case 'c':
        return MLanguage::Cpp;
    case 'j':
        return MLanguage::Java;
    case '#':
        return MLanguage::CSharp;
    default:
        return MLanguage::Fallback;
    }
}

void readExtraWords(MInvocation& invocation, int nFirst, int nArgs, const char* const* ppszArgs) {
    for (int i = nFirst; i < nArgs; ++i) {
        const char* pszWord = ppszArgs[i];
        if (std::strcmp(pszWord, "--quiet") == 0) {
            invocation.bQuiet = true;
        } else if (std::strcmp(pszWord, "--line-directives") == 0) {
            invocation.bLineDirectives = true;
        } else {
            const char** ppszValue = nullptr;
            if (std::strcmp(pszWord, "--depfile") == 0)
                ppszValue = &invocation.pszDepfile;
            else if (std::strcmp(pszWord, "--support-dir") == 0)
                ppszValue = &invocation.pszSupportDir;
            if (ppszValue == nullptr)
                continue;
            if (i + 1 == nArgs) {
                invocation.pszIncomplete = pszWord;
                return;
            }
            *ppszValue = ppszArgs[++i];
        }
    }
}

void writeSupport(const MInvocation& invocation, const char* pszPath) {
    if (!invocation.bWriteSupportFiles)
        return;
    if (invocation.pszSupportDir != nullptr) {
        writeSupportFilesInto(invocation.language, MString(invocation.pszSupportDir),
                              invocation.pszInput);
    } else {
        writeSupportFiles(invocation.language, MString(pszPath), invocation.pszInput);
    }
}

void process(MPreprocessorRun& run, const MInvocation& invocation) {
    // The depfile is written before the output takes its place, so that a build never
    // sees a new output with an old list of what it was made from.
    run.process([&] {
        if (invocation.pszDepfile != nullptr)
            writeDepfile(invocation.pszDepfile, invocation.pszOutput, invocation.pszInput,
                         run.embeddedFiles());
    });
}

void translate(MInvocation& invocation, const MConsole& console) {
    if (invocation.pszIncomplete != nullptr)
        throw MError(MErrorCode::ValueMissing, {MString(invocation.pszIncomplete)});
    // Names compare as bytes: "a.cpp" and "./a.cpp" differ.
    if (MString(invocation.pszInput) == MString(invocation.pszOutput))
        throw MError(MErrorCode::SameNames);
    // The support files and the input come in an order of their own in each mode. A
    // recognising run writes the support files beside the output before it reads the
    // input, so that they are there even when the input is missing; an explicit run reads
    // the input first, names its language, and only then writes them beside the input.
    const bool bSupportFirst = invocation.mode == MInvocation::MMode::Recognition;
    if (bSupportFirst) {
        if (!MCommandLine::recogniseLanguage(MString(invocation.pszOutput), invocation.language))
            throw MError(MErrorCode::NotRecognised);
        console.printText("Recognized:");
        writeSupport(invocation, invocation.pszOutput);
    }
    MPreprocessorRun run(invocation.language, invocation.pszInput, invocation.pszOutput);
    run.setOptions(invocation.pszDepfile != nullptr, invocation.bLineDirectives);
    console.printLine(languageLine(invocation.language));
    if (!bSupportFirst)
        writeSupport(invocation, invocation.pszInput);
    process(run, invocation);
}

// The one place where failures end: the run's own errors, the shipped string class's
// texts (it throws them as plain C strings, as its users expect), and the rest, memory
// exhaustion included, as unknown errors.
int runCaught(MInvocation& invocation, const MConsole& console) {
    try {
        translate(invocation, console);
        return MCommandLine::sm_nStatusDone;
    } catch (const MError& error) {
        console.printFailure(error, invocation.pszInput);
    } catch (const char* pszMessage) {
        console.printFailure(MError(MErrorCode::StringFailure, {MString(pszMessage)}),
                             invocation.pszInput);
    } catch (...) {
        console.printFailure(MError(MErrorCode::Unknown), invocation.pszInput);
    }
    return MCommandLine::sm_nStatusFailed;
}

}  // namespace

MInvocation MCommandLine::parse(int nArgs, const char* const* ppszArgs) {
    MInvocation invocation;
    const bool bOption = nArgs > 1 && ppszArgs[1][0] == '-';
    if (nArgs < 3 || (bOption && nArgs < 4))
        return invocation;
    // Only the first two characters decide: "-a", "-auto" and "-abc" recognise.
    const bool bExplicit = bOption && ppszArgs[1][1] != 'a';
    invocation.pszInput = bOption ? ppszArgs[2] : ppszArgs[1];
    invocation.pszOutput = bOption ? ppszArgs[3] : ppszArgs[2];
    if (bExplicit) {
        invocation.mode = MInvocation::MMode::Explicit;
        invocation.language = languageOfOption(ppszArgs[1]);
        const char* pszOption = ppszArgs[1];
        invocation.bWriteSupportFiles = std::strcmp(pszOption, "-c") == 0 ||
                                        std::strcmp(pszOption, "-j") == 0 ||
                                        std::strcmp(pszOption, "-#") == 0;
    } else {
        invocation.mode = MInvocation::MMode::Recognition;
        invocation.bWriteSupportFiles = true;
    }
    readExtraWords(invocation, bOption ? 4 : 3, nArgs, ppszArgs);
    return invocation;
}

bool MCommandLine::recogniseLanguage(const MString& mstrOutputName, MLanguage& language) {
    struct MExtensions {
        MLanguage language;
        const char* apszExtensions[9];
    };
    // Java is tried first, so "out.java.cs" is Java.
    static const MExtensions languages[] = {
        {MLanguage::Java, {".java", ".JAVA"}},
        {MLanguage::Cpp, {".cpp", ".h", ".hpp", ".cxx", ".CPP", ".H", ".HPP", ".CXX"}},
        {MLanguage::CSharp, {".cs", ".CS"}},
    };
    for (const MExtensions& extensions : languages) {
        for (const char* pszExtension : extensions.apszExtensions) {
            // Searched anywhere in the path, not at the end: "out.h.bak" is C++.
            if (pszExtension != nullptr && mstrOutputName.find(MString(pszExtension)) != -1) {
                language = extensions.language;
                return true;
            }
        }
    }
    return false;
}

int MCommandLine::run(int nArgs, const char* const* ppszArgs) {
    MInvocation invocation = parse(nArgs, ppszArgs);
    const MConsole console(invocation.bQuiet);
    console.printLine(pszBanner);
    MEscapeTable::instance();
    int nStatus = sm_nStatusFailed;
    if (invocation.mode == MInvocation::MMode::NotEnough) {
        console.printLine(pszNotEnough);
        console.printLine(pszUsage);
    } else {
        nStatus = runCaught(invocation, console);
    }
    std::fflush(stdout);
    return nStatus;
}
