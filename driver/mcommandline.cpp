// SPDX-License-Identifier: MIT
#include "driver/mcommandline.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
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

const char* const pszVersion = "xvantor " XV_VERSION "\n" XV_LICENCE;

// The option that asks for recognition, which is also what any other dash word but a
// row's letter and this one reads as: "-a", "-auto" and "-abc" recognise.
constexpr char cRecognition = 'a';

// The names of the listed languages, the last joined by the word: "C++, Java and C#".
std::string languageNames(const char* pszLast) {
    int nRows = 0;
    const MLanguageTraits* const* ppRows = listedRows(nRows);
    std::string strNames;
    for (int i = 0; i < nRows; ++i) {
        if (i != 0)
            strNames += i + 1 == nRows ? std::string(" ") + pszLast + " " : std::string(", ");
        strNames += ppRows[i]->pszName;
    }
    return strNames;
}

std::string banner() {
    return "\nXVantor " XV_VERSION ", the frame text preprocessor for " + languageNames("and") +
           "\nCopyright (C) 2026 The XVantor developers\n" XV_LICENCE "\n";
}

// What follows "Not enougth parameters!": the usage as the tool has always printed it.
std::string usageText() {
    int nRows = 0;
    const MLanguageTraits* const* ppRows = listedRows(nRows);
    std::string strText = "Syntax is: XVANTOR [option] input_file output_file\n";
    for (int i = 0; i < nRows; ++i) {
        std::string strName(ppRows[i]->pszName);
        strName.resize(strName.size() < 4 ? 4 : strName.size(), ' ');
        strText += std::string("   -") + ppRows[i]->cOption + "  " + strName + " Language\n";
    }
    return strText + "   -" + cRecognition + "  Automatic Language Recognition (Default)\n";
}

// The row of an explicit option: only its second character names the language, "-cpp"
// is C++ and "-x" the fallback form.
const MLanguageTraits& languageOfOption(const char* pszOption) {
    return traitsOfOption(pszOption[0] == 0 ? 0 : pszOption[1]);
}

// A long option sets a switch, takes the next word as its value, or answers the command
// line by itself; the help lists them in this order, and a refusal names them.
struct MLongOption {
    const char* pszName;
    const char* pszValue;  // the name of its value in the help, or null for none
    const char* pszHelp;
    bool MInvocation::*pbSwitch;          // or null
    const char* MInvocation::*ppszValue;  // or null
    MInvocation::MMode answer;            // NotEnough: none
};

const MLongOption longOptions[] = {
    {"--depfile", "FILE", "after success, write FILE: the output's dependencies for make", nullptr,
     &MInvocation::pszDepfile, MInvocation::MMode::NotEnough},
    {"--quiet", nullptr, "print nothing on success; an error is one line on standard error",
     &MInvocation::bQuiet, nullptr, MInvocation::MMode::NotEnough},
    {"--line-directives", nullptr, "put #line directives into C++ and C# outputs",
     &MInvocation::bLineDirectives, nullptr, MInvocation::MMode::NotEnough},
    {"--support-dir", "DIR", "write the support files into DIR", nullptr,
     &MInvocation::pszSupportDir, MInvocation::MMode::NotEnough},
    {"--help", nullptr, "print this help and exit", nullptr, nullptr, MInvocation::MMode::Help},
    {"--version", nullptr, "print the version and exit", nullptr, nullptr,
     MInvocation::MMode::Version},
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
    } else if (pOption->pbSwitch != nullptr) {
        invocation.*pOption->pbSwitch = true;
    } else if (pOption->ppszValue == nullptr) {
        if (!bAnswered)
            invocation.mode = pOption->answer;
    } else if (i + 1 == nArgs) {
        invocation.pszIncomplete = pOption->pszName;
    } else {
        // The value is the next word as it stands, even one that looks like an option.
        invocation.*pOption->ppszValue = ppszArgs[++i];
    }
}

// A long option written with one dash, "-quiet", would otherwise be read as the
// fallback language option and translate a C++ file as Java.
const MLongOption* misspelledLongOption(const char* pszWord) {
    if (pszWord[0] != '-' || pszWord[1] == '-')
        return nullptr;
    return findLongOption((std::string("-") + pszWord).c_str());
}

// The positions of the names, unchanged by the long options around them: the first name
// may be the language option. A word after the output name is refused, since a glob that
// widened to two inputs would otherwise translate one over the other.
void placeNames(MInvocation& invocation, const std::vector<const char*>& names) {
    const bool bOption = !names.empty() && names[0][0] == '-';
    const size_t nNames = bOption ? 3 : 2;
    if (names.size() < nNames)
        return;
    if (names.size() > nNames) {
        invocation.mode = MInvocation::MMode::ExtraWord;
        invocation.pszUnknown = names[nNames];
        return;
    }
    // Only the first two characters decide.
    const bool bExplicit = bOption && names[0][1] != cRecognition;
    invocation.pszInput = bOption ? names[1] : names[0];
    invocation.pszOutput = bOption ? names[2] : names[1];
    if (bExplicit) {
        invocation.mode = MInvocation::MMode::Explicit;
        invocation.pLanguage = &languageOfOption(names[0]);
        invocation.bWriteSupportFiles = invocation.pLanguage->cOption != 0 && names[0][2] == 0;
    } else {
        invocation.mode = MInvocation::MMode::Recognition;
        invocation.bWriteSupportFiles = true;
    }
}

// One line of the help: the option, and what it does from the 22nd column.
std::string helpLine(const std::string& strOption, const char* pszHelp) {
    return "  " + strOption + std::string(19 - strOption.size(), ' ') + pszHelp + "\n";
}

std::string helpText() {
    int nRows = 0;
    const MLanguageTraits* const* ppRows = listedRows(nRows);
    std::string strOptions;
    std::string strLines;
    for (int i = 0; i < nRows; ++i) {
        const std::string strOption = std::string("-") + ppRows[i]->cOption;
        strOptions += strOption + " | ";
        strLines +=
            helpLine(strOption, (std::string("translate as ") + ppRows[i]->pszName).c_str());
    }
    const std::string strRecognition = std::string("-") + cRecognition;
    std::string strText =
        "Usage: xvantor [OPTION...] [" + strOptions + strRecognition +
        "] input_file output_file\n"
        "Translates the frame-text blocks of a " +
        languageNames("or") +
        " source into code.\n"
        "The options that begin with -- may stand anywhere.\n" +
        strLines +
        helpLine(strRecognition, "recognise the language from output_file's name (default)");
    for (const MLongOption& option : longOptions) {
        std::string strName(option.pszName);
        if (option.pszValue != nullptr)
            strName += std::string(" ") + option.pszValue;
        strText += helpLine(strName, option.pszHelp);
    }
    return strText + helpLine("--", "end the options: every word after it is a name") +
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
        invocation.pLanguage = MCommandLine::recogniseLanguage(MString(invocation.pszOutput));
        if (invocation.pLanguage == nullptr)
            throw MError(MErrorCode::NotRecognised);
        console.printText("Recognized:");
    }
    const MLanguageTraits& traits = *invocation.pLanguage;
    if (bSupportFirst) {
        checkDistinctFiles(invocation, traits);
        writeSupport(invocation, traits, invocation.pszOutput);
    }
    MRunOptions options;
    options.bTrackFiles = invocation.pszDepfile != nullptr;
    options.bLineDirectives = invocation.bLineDirectives;
    MPreprocessorRun run(traits, invocation.pszInput, invocation.pszOutput, options);
    console.printLine(traits.pszSource);
    if (!bSupportFirst) {
        checkDistinctFiles(invocation, traits);
        writeSupport(invocation, traits, invocation.pszInput);
    }
    process(run, invocation);
}

// The one place where failures end: the run's own errors, exhausted memory, and the
// rest as unknown errors.
int runCaught(MInvocation& invocation, const MConsole& console) {
    try {
        translate(invocation, console);
        return MCommandLine::sm_nStatusDone;
    } catch (const MError& error) {
        console.printFailure(error, invocation.pszInput);
    } catch (const std::bad_alloc&) {
        console.printFailure(MError(MErrorCode::OutOfMemory), invocation.pszInput);
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
            if (!bOptionsEnded && invocation.mode == MInvocation::MMode::NotEnough &&
                misspelledLongOption(pszWord) != nullptr) {
                invocation.mode = MInvocation::MMode::MisspelledOption;
                invocation.pszUnknown = pszWord;
            }
            names.push_back(pszWord);
        } else {
            readLongOption(invocation, i, nArgs, ppszArgs);
        }
    }
    if (invocation.mode == MInvocation::MMode::NotEnough)
        placeNames(invocation, names);
    return invocation;
}

const MLanguageTraits* MCommandLine::recogniseLanguage(const MString& mstrOutputName) {
    int nRows = 0;
    const MLanguageTraits* pRows = languageRows(nRows);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        for (const char* pszExtension : pRows[nRow].apszExtensions) {
            // Searched anywhere in the path, not at the end: "out.h.bak" is C++.
            if (pszExtension != nullptr && mstrOutputName.find(MString(pszExtension)) != -1)
                return &pRows[nRow];
        }
    }
    return nullptr;
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
    console.printLine(banner().c_str());
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
    } else if (invocation.mode == MInvocation::MMode::ExtraWord) {
        console.printFailure(MError(MErrorCode::ExtraWord, {MString(invocation.pszUnknown)}),
                             nullptr);
        nStatus = sm_nStatusUsage;
    } else if (invocation.mode == MInvocation::MMode::MisspelledOption) {
        console.printFailure(
            MError(MErrorCode::MisspelledOption,
                   {MString(invocation.pszUnknown),
                    MString(misspelledLongOption(invocation.pszUnknown)->pszName)}),
            nullptr);
        nStatus = sm_nStatusUsage;
    } else if (invocation.mode == MInvocation::MMode::NotEnough) {
        console.printFailure(MError(MErrorCode::NotEnough, {MString(usageText().c_str())}),
                             nullptr);
    } else {
        nStatus = runCaught(invocation, console);
    }
    std::fflush(stdout);
    return nStatus;
}
