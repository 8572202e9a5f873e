// SPDX-License-Identifier: MIT
#ifndef XVANTOR_DRIVER_MCOMMANDLINE_H
#define XVANTOR_DRIVER_MCOMMANDLINE_H

#include "core/mstring.h"
#include "engine/mlanguage.h"

/// What one command line asks for, read once: nothing after this reads option text.
struct MInvocation {
    /// Help, Version and UnknownOption answer from the command line alone: nothing is read
    /// or written.
    /// ExtraWord and MisspelledOption refuse a command line that would otherwise run over a
    /// name the user did not mean as the output, or take a long option for the language.
    enum class MMode {
        NotEnough,
        Explicit,
        Recognition,
        Help,
        Version,
        UnknownOption,
        ExtraWord,
        MisspelledOption
    };

    MMode mode = MMode::NotEnough;
    /// The row of the language; in recognition mode, settled from the output name by
    /// recogniseLanguage().
    const MLanguageTraits* pLanguage = nullptr;
    /// Only an explicit option that is exactly a dash and a row's letter, and recognition,
    /// write them: "-cpp" is C++ without support files.
    bool bWriteSupportFiles = false;
    const char* pszInput = nullptr;
    const char* pszOutput = nullptr;

    // Long options: recognised wherever they stand, up to "--".
    const char* pszDepfile = nullptr;
    const char* pszSupportDir = nullptr;
    bool bQuiet = false;
    bool bLineDirectives = false;
    /// An option that lacks its value, or null.
    const char* pszIncomplete = nullptr;
    /// In UnknownOption, ExtraWord and MisspelledOption modes, the word refused.
    const char* pszUnknown = nullptr;
};

/// The program's entry: banner, arguments, language, and the one place that prints.
class MCommandLine {
public:
    static constexpr int sm_nStatusDone = 0;
    static constexpr int sm_nStatusFailed = 1;
    /// The usual status of a command line that the tool does not take.
    static constexpr int sm_nStatusUsage = 2;

    /// Runs one invocation; returns the exit status: 0 only once the output is written.
    static int run(int nArgs, const char* const* ppszArgs);

    static MInvocation parse(int nArgs, const char* const* ppszArgs);

    /// The row of the first language whose extension text the output name contains
    /// anywhere; null when there is none.
    static const MLanguageTraits* recogniseLanguage(const MString& mstrOutputName);
};

#endif  // XVANTOR_DRIVER_MCOMMANDLINE_H
