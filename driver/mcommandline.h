#ifndef XVANTOR_DRIVER_MCOMMANDLINE_H
#define XVANTOR_DRIVER_MCOMMANDLINE_H

#include "core/mstring.h"

/// The program's entry: banner, arguments, language, and the one place where every
/// failure is printed.
class MCommandLine {
public:
    static constexpr int sm_nStatusDone = 0;
    static constexpr int sm_nStatusFailed = 1;

    /// Runs one invocation; returns the exit status: 0 only once the output is written.
    static int run(int nArgs, const char* const* ppszArgs);

    /// "-j", "-c" or "-#" for the first language whose extension text the output name
    /// contains anywhere, or nullptr.
    static const char* recogniseLanguage(const MString& mstrOutputName);

private:
    /// Returns whether the output was written; throws every error of the run.
    static bool dispatch(int nArgs, const char* const* ppszArgs);
};

#endif  // XVANTOR_DRIVER_MCOMMANDLINE_H
