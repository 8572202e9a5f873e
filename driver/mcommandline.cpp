// SPDX-License-Identifier: MIT
#include "driver/mcommandline.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "driver/mconsole.h"
#include "driver/mdepfile.h"
#include "engine/merror.h"
#include "engine/mescapetable.h"
#include "engine/mplatform.h"
#include "engine/mpreprocessorrun.h"
#include "support/msupportfiles.h"

namespace {

#define XV_LICENCE "Free software under the MIT licence."

const char* const pszBanner = "\nXVantor " XV_VERSION
                              ", the frame text preprocessor for C++, Java and C#"
                              "\nCopyright (C) 2026 The XVantor developers"
                              "\n" XV_LICENCE "\n";
const char* const pszVersion = "xvantor " XV_VERSION "\n" XV_LICENCE;

// Only the second character names the language: "-cpp" is C++, "-x" the fallback form.
MLanguage languageOfOption(const char* pszOption) {
    return traitsOfOption(pszOption[0] == 0 ? 0 : pszOption[1]).language;
}

enum class MLongOptionId { Depfile, Quiet, LineDirectives, SupportDir, Help, Version };

struct MLongOption {
    MLongOptionId id;
    const char* pszName;
    const char* pszValue;  // the name of its value in the help, or null for none
    const char* pszHelp;
};

// In this order the help lists them and a refusal names them.
const MLongOption longOptions[] = {
    {MLongOptionId::Depfile, "--depfile", "FILE",
     "after success, write FILE: the output's dependencies for make"},
    {MLongOptionId::Quiet, "--quiet", nullptr,
     "print nothing on success; an error is one line on standard error"},
    {MLongOptionId::LineDirectives, "--line-directives", nullptr,
     "put #line directives into C++ and C# outputs"},
    {MLongOptionId::SupportDir, "--support-dir", "DIR", "write the support files into DIR"},
    {MLongOptionId::Help, "--help", nullptr, "print this help and exit"},
    {MLongOptionId::Version, "--version", nullptr, "print the version and exit"},
};

// Only the letter after "--" makes a long option: "--" itself ends them, and "---x" or
// "--5.cpp" stay names.
bool isLongOption(const char* pszWord) {
    return pszWord[0] == '-' && pszWord[1] == '-' &&
           std::isalpha(static_cast<unsigned char>(pszWord[2])) != 0;
}

const MLongOption* findLongOption(const char* pszWord) {
    for (const MLongOption& option : longOptions) {
        if (std::strcmp(pszWord, option.pszName) == 0)
            return &option;
    }
    return nullptr;
}

// Reads the long option at ppszArgs[i], and its value if it takes one. The first of help,
// version and an unknown option settles the answer; --quiet still counts after it.
void readLongOption(MInvocation& invocation, int& i, int nArgs, const char* const* ppszArgs) {
    const MLongOption* pOption = findLongOption(ppszArgs[i]);
    const bool bAnswered = invocation.mode != MInvocation::MMode::NotEnough;
    if (pOption == nullptr) {
        if (!bAnswered) {
            invocation.mode = MInvocation::MMode::UnknownOption;
            invocation.pszUnknown = ppszArgs[i];
        }
        return;
    }
    const char** ppszValue = nullptr;
    switch (pOption->id) {
    case MLongOptionId::Quiet:
        invocation.bQuiet = true;
        return;
    case MLongOptionId::LineDirectives:
        invocation.bLineDirectives = true;
        return;
    case MLongOptionId::Help:
    case MLongOptionId::Version:
        if (!bAnswered) {
            invocation.mode = pOption->id == MLongOptionId::Help ? MInvocation::MMode::Help
                                                                 : MInvocation::MMode::Version;
        }
        return;
    case MLongOptionId::Depfile:
        ppszValue = &invocation.pszDepfile;
        break;
    case MLongOptionId::SupportDir:
        ppszValue = &invocation.pszSupportDir;
        break;
    }
    // The value is the next word as it stands, even one that looks like an option.
    if (i + 1 == nArgs)
        invocation.pszIncomplete = pOption->pszName;
    else
        *ppszValue = ppszArgs[++i];
}

// The positions of the names, unchanged by the long options around them: the first name
// may be the language option, and words after the output name are ignored.
void placeNames(MInvocation& invocation, const std::vector<const char*>& names) {
    const bool bOption = !names.empty() && names[0][0] == '-';
    if (names.size() < 2 || (bOption && names.size() < 3))
        return;
    // Only the first two characters decide: "-a", "-auto" and "-abc" recognise.
    const bool bExplicit = bOption && names[0][1] != 'a';
    invocation.pszInput = bOption ? names[1] : names[0];
    invocation.pszOutput = bOption ? names[2] : names[1];
    if (bExplicit) {
        invocation.mode = MInvocation::MMode::Explicit;
        invocation.language = languageOfOption(names[0]);
        invocation.bWriteSupportFiles = std::strcmp(names[0], "-c") == 0 ||
                                        std::strcmp(names[0], "-j") == 0 ||
                                        std::strcmp(names[0], "-#") == 0;
    } else {
        invocation.mode = MInvocation::MMode::Recognition;
        invocation.bWriteSupportFiles = true;
    }
}

std::string helpText() {
    std::string strText =
        "Usage: xvantor [OPTION...] [-c | -j | -# | -a] input_file output_file\n"
        "Translates the frame-text blocks of a C++, Java or C# source into code.\n"
        "The options that begin with -- may stand anywhere.\n"
        "  -c                 translate as C++\n"
        "  -j                 translate as Java\n"
        "  -#                 translate as C#\n"
        "  -a                 recognise the language from output_file's name (default)\n";
    for (const MLongOption& option : longOptions) {
        std::string strName(option.pszName);
        if (option.pszValue != nullptr)
            strName += std::string(" ") + option.pszValue;
        strText += "  " + strName + std::string(19 - strName.size(), ' ') + option.pszHelp + "\n";
    }
    return strText +
           "  --                 end the options: every word after it is a name\n"
           "See the manual page: man xvantor";
}

void writeSupport(const MInvocation& invocation, const MLanguageTraits& traits,
                  const char* pszPath) {
    if (!invocation.bWriteSupportFiles)
        return;
    if (invocation.pszSupportDir != nullptr) {
        writeSupportFilesInto(traits, MString(invocation.pszSupportDir), invocation.pszInput);
    } else {
        writeSupportFiles(traits, MString(pszPath), invocation.pszInput);
    }
}

void process(MPreprocessorRun& run, const MInvocation& invocation) {
    // The depfile takes its place before the output does, and a depfile that cannot be
    // written leaves the old output untouched.
    run.process([&] {
        if (invocation.pszDepfile != nullptr)
            MDepfile(invocation.pszDepfile, invocation.pszOutput, invocation.pszInput,
                     run.embeddedFiles())
                .commit();
    });
}

// Before anything is written: no file the run writes may be another of its files under
// a second name, or it would destroy the input or one of its own results.
void checkDistinctFiles(const MInvocation& invocation, const MLanguageTraits& traits) {
    std::vector<std::pair<const char*, std::string>> files{{"input", invocation.pszInput},
                                                           {"output", invocation.pszOutput}};
    if (invocation.pszDepfile != nullptr)
        files.emplace_back("depfile", invocation.pszDepfile);
    if (invocation.bWriteSupportFiles) {
        const bool bInto = invocation.pszSupportDir != nullptr;
        const char* pszPath = bInto ? invocation.pszSupportDir
                              : invocation.mode == MInvocation::MMode::Recognition
                                  ? invocation.pszOutput
                                  : invocation.pszInput;
        for (const std::string& strTarget : supportFileTargets(traits, MString(pszPath), bInto))
            files.emplace_back("support file", strTarget);
    }
    for (size_t i = 0; i < files.size(); ++i) {
        for (size_t j = i + 1; j < files.size(); ++j) {
            if (sameFile(files[i].second, files[j].second))
                throw MError(MErrorCode::SameFile,
                             {MString(files[i].first), MString(files[i].second),
                              MString(files[j].first), MString(files[j].second)});
        }
    }
}

void translate(MInvocation& invocation, const MConsole& console) {
    if (invocation.pszIncomplete != nullptr)
        throw MError(MErrorCode::ValueMissing, {MString(invocation.pszIncomplete)});
    // Names compare as bytes first, then as files: "./a.cpp", "dir/../a.cpp" and a link
    // to it are all "a.cpp", whose translation would take its place.
    if (MString(invocation.pszInput) == MString(invocation.pszOutput) ||
        sameFile(invocation.pszInput, invocation.pszOutput))
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
    }
    // The row is looked up once; everything below reads it.
    const MLanguageTraits& traits = traitsOf(invocation.language);
    if (bSupportFirst) {
        checkDistinctFiles(invocation, traits);
        writeSupport(invocation, traits, invocation.pszOutput);
    }
    MPreprocessorRun run(traits, invocation.pszInput, invocation.pszOutput);
    run.setOptions(invocation.pszDepfile != nullptr, invocation.bLineDirectives);
    console.printLine(traits.pszSource);
    if (!bSupportFirst) {
        checkDistinctFiles(invocation, traits);
        writeSupport(invocation, traits, invocation.pszInput);
    }
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
    std::vector<const char*> names;
    bool bOptionsEnded = false;
    for (int i = 1; i < nArgs; ++i) {
        const char* pszWord = ppszArgs[i];
        if (!bOptionsEnded && std::strcmp(pszWord, "--") == 0) {
            bOptionsEnded = true;
        } else if (bOptionsEnded || !isLongOption(pszWord)) {
            names.push_back(pszWord);
        } else {
            readLongOption(invocation, i, nArgs, ppszArgs);
        }
    }
    if (invocation.mode == MInvocation::MMode::NotEnough)
        placeNames(invocation, names);
    return invocation;
}

bool MCommandLine::recogniseLanguage(const MString& mstrOutputName, MLanguage& language) {
    int nRows = 0;
    const MLanguageTraits* pRows = languageRows(nRows);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        for (const char* pszExtension : pRows[nRow].apszExtensions) {
            // Searched anywhere in the path, not at the end: "out.h.bak" is C++.
            if (pszExtension != nullptr && mstrOutputName.find(MString(pszExtension)) != -1) {
                language = pRows[nRow].language;
                return true;
            }
        }
    }
    return false;
}

int MCommandLine::run(int nArgs, const char* const* ppszArgs) {
    MInvocation invocation = parse(nArgs, ppszArgs);
    // Asked for, so printed whatever else the command line says.
    if (invocation.mode == MInvocation::MMode::Help ||
        invocation.mode == MInvocation::MMode::Version) {
        MConsole().printLine(invocation.mode == MInvocation::MMode::Help ? helpText().c_str()
                                                                         : pszVersion);
        // An answer that never reached a full or closed output is no answer.
        if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
            std::fprintf(stderr, "xvantor: error: cannot write to standard output: %s\n",
                         std::strerror(errno));
            return sm_nStatusFailed;
        }
        return sm_nStatusDone;
    }
    const MConsole console(invocation.bQuiet);
    console.printLine(pszBanner);
    // The escape table is filled once, before any run starts, and is only read from then
    // on: the passes never wait on its first use.
    MEscapeTable::instance();
    int nStatus = sm_nStatusFailed;
    if (invocation.mode == MInvocation::MMode::UnknownOption) {
        std::string strKnown;
        for (const MLongOption& option : longOptions)
            strKnown += std::string(strKnown.empty() ? "" : ", ") + option.pszName;
        console.printFailure(MError(MErrorCode::UnknownOption,
                                    {MString(invocation.pszUnknown), MString(strKnown.c_str())}),
                             nullptr);
        nStatus = sm_nStatusUsage;
    } else if (invocation.mode == MInvocation::MMode::NotEnough) {
        console.printFailure(MError(MErrorCode::NotEnough), nullptr);
    } else {
        nStatus = runCaught(invocation, console);
    }
    std::fflush(stdout);
    return nStatus;
}
