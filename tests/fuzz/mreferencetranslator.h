// SPDX-License-Identifier: MIT
#ifndef XVANTOR_TESTS_FUZZ_MREFERENCETRANSLATOR_H
#define XVANTOR_TESTS_FUZZ_MREFERENCETRANSLATOR_H

#include <map>
#include <string>

/// A second, deliberately plain translator on std::string, written from the design rather
/// than from the engine, so that the fuzzers can compare the engine's output byte for byte.
/// It repeats the engine's own choices where the design leaves one open (the extra error
/// codes, the C++ empty block, a closing delimiter searched after its opening one).
class MReferenceTranslator {
public:
    /// The four delimiters in force for one block.
    struct MDelimiters {
        std::string strExpressionBegin = "<!";
        std::string strExpressionEnd = "!>";
        std::string strFileBegin = "<#";
        std::string strFileEnd = "#>";
    };

    /// Thrown by the reference with the text the engine is expected to throw.
    struct MError {
        std::string strText;
    };
    /// Thrown when the outcome depends on something the reference does not model (a file
    /// outside the working directory), so that the caller skips the comparison.
    struct MUnknown {};

    /// The notice is the two comment lines whose wording the engine chooses. The files are
    /// those that embedding may name, by their names in the working directory: any other
    /// plain name fails to embed; a name with a "/" in it is not modelled (MUnknown).
    MReferenceTranslator(const std::string& strNotice,
                         const std::map<std::string, std::string>& files);
    virtual ~MReferenceTranslator() = default;

    /// The whole output for the option and the input, head included. Throws MError or
    /// MUnknown. bExact turns false when a block was too large for the flat form, whose
    /// grouped form the reference does not spell: then only the outcome can be compared.
    std::string translate(const std::string& strOption, const std::string& strInput,
                          bool& bExact) const;

    /// What a block header defines; throws MError.
    MDelimiters readFlagDefinitions(const std::string& strHeader) const;

    /// The lines the run puts before the translated input.
    std::string headFor(const std::string& strOption) const;

protected:
    std::string firstPass(const std::string& strOption, const std::string& strInput,
                          bool& bExact) const;
    std::string framePass(const std::string& strOption, const std::string& strText) const;
    std::string convert(const std::string& strOption, const std::string& strText,
                        const MDelimiters& delimiters, bool& bExact) const;
    std::string makeLiteral(const std::string& strOption, const std::string& strText) const;
    /// The content of the file that a file piece names; throws MError or MUnknown.
    const std::string& embeddedFile(const std::string& strName) const;

    std::string m_strNotice;
    std::map<std::string, std::string> m_files;
};

#endif  // XVANTOR_TESTS_FUZZ_MREFERENCETRANSLATOR_H
