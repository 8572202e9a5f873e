// SPDX-License-Identifier: MIT
#ifndef XVANTOR_TESTS_FUZZ_MFUZZSUPPORT_H
#define XVANTOR_TESTS_FUZZ_MFUZZSUPPORT_H

#include <functional>
#include <map>
#include <string>

#include "engine/mlanguage.h"
#include "tests/fuzz/mreferencetranslator.h"

/// How a call ended: with a result, or with the text of what it threw.
/// A language as the engine takes it, and as the reference translator takes it: by the
/// option text of the command line.
struct MFuzzLanguage {
    MLanguage language;
    const char* pszOption;
};
/// The fourth is an explicit option naming no language: the fallback forms.
inline constexpr MFuzzLanguage fuzzLanguages[] = {{MLanguage::Cpp, "-c"},
                                                  {MLanguage::Java, "-j"},
                                                  {MLanguage::CSharp, "-#"},
                                                  {MLanguage::Fallback, "-x"}};

struct MOutcome {
    bool bThrew = false;
    std::string strText;  // the result, or the message
};

/// Makes a fresh directory holding the files that inputs may embed (on the first call; it is
/// removed at exit) and returns their names and contents; "dir" is a directory.
const std::map<std::string, std::string>& fuzzFiles();

/// Works in that directory for its lifetime. libFuzzer itself must stay where it was started,
/// since it names its corpus and its artifacts relative to that.
class MInFuzzDir {
public:
    MInFuzzDir();
    MInFuzzDir(const MInFuzzDir&) = delete;
    MInFuzzDir& operator=(const MInFuzzDir&) = delete;
    virtual ~MInFuzzDir();

protected:
    int m_nPrevious;  // a descriptor of the directory to go back to
};

/// The engine's two notice lines, checked once for their shape.
const std::string& fuzzNotice();

/// The reference translator over fuzzFiles() and fuzzNotice().
const MReferenceTranslator& fuzzReference();

/// What the call returned, or the text of the C string or MString it threw. Anything else
/// thrown is reported as a finding of pszWhat over the input, and aborts.
MOutcome outcomeOf(const char* pszWhat, const std::string& strInput,
                   const std::function<std::string()>& call);

/// The engine's whole translation of the input. A C string or an MString thrown is an
/// outcome; anything else thrown is reported as a finding and aborts.
MOutcome engineTranslation(MLanguage language, const std::string& strInput);

/// The same translation through the output file, written out every liFlushBytes bytes
/// with the frame pass running as the text grows.
MOutcome engineStreamedTranslation(MLanguage language, const std::string& strInput,
                                   unsigned long liFlushBytes);

/// Aborts unless the engine's translation is the reference's: the same bytes, or the same
/// message. Where the reference spells no output (a grouped block), the engine must succeed
/// when the reference does; where it cannot tell at all (a file outside the work directory),
/// nothing is compared.
void expectReferenceTranslation(const char* pszWhat, const char* pszOption,
                                const std::string& strInput, const MOutcome& engine);

/// Aborts with both texts shown (escaped, first difference marked) unless they are equal.
void expectSame(const char* pszWhat, const std::string& strInput, const MOutcome& expected,
                const MOutcome& actual);

/// Aborts with the message and the input shown.
[[noreturn]] void fuzzFailure(const char* pszWhat, const std::string& strInput);

#endif  // XVANTOR_TESTS_FUZZ_MFUZZSUPPORT_H
