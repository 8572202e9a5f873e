// SPDX-License-Identifier: MIT
#include "tests/fuzz/mfuzzsupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>

#include "engine/merror.h"
#include "engine/mpreprocessorrun.h"
#include "tests/support/mbytes.h"
#include "tests/support/mtempdir.h"

namespace {

// Printable ASCII stays itself, so that keywords and delimiters read plainly in a report.
std::string escaped(const std::string& str, std::string::size_type nFrom,
                    std::string::size_type nCount) {
    std::string strOut;
    const std::string::size_type nTo = nFrom + nCount < str.size() ? nFrom + nCount : str.size();
    for (std::string::size_type i = nFrom; i < nTo; ++i) {
        const unsigned char by = static_cast<unsigned char>(str[i]);
        char szByte[8];
        if (by == '\\') {
            strOut += "\\\\";
        } else if (by == '\n') {
            strOut += "\\n";
        } else if (by == '\r') {
            strOut += "\\r";
        } else if (by >= 0x20 && by < 0x7f) {
            strOut += static_cast<char>(by);
        } else {
            std::snprintf(szByte, sizeof(szByte), "\\x%02x", by);
            strOut += szByte;
        }
    }
    return strOut;
}

void show(const char* pszLabel, const std::string& str, std::string::size_type nFrom) {
    const std::string::size_type nStart = nFrom > 120 ? nFrom - 120 : 0;
    std::fprintf(stderr, "%s (%zu bytes, from offset %zu): \"%s\"%s\n", pszLabel, str.size(),
                 nStart, escaped(str, nStart, 600).c_str(),
                 nStart + 600 < str.size() ? " ..." : "");
}

void describe(const char* pszLabel, const MOutcome& outcome, std::string::size_type nFrom) {
    std::string strLabel = std::string(pszLabel) + (outcome.bThrew ? " threw" : " returned");
    show(strLabel.c_str(), outcome.strText, nFrom);
}

// Entered once to write the files, and from then on only inside MInFuzzDir.
MTempDir& fuzzDir() {
    static const int nStarted = ::open(".", O_RDONLY | O_DIRECTORY);
    static MTempDir dir;  // enters it; at exit its destructor leaves it and removes it
    static const bool bLeft = [] {
        if (nStarted < 0 || ::fchdir(nStarted) != 0)
            fuzzFailure("cannot return to the directory the fuzzer started in", "");
        return true;
    }();
    (void)bLeft;
    return dir;
}

}  // namespace

const std::map<std::string, std::string>& fuzzFiles() {
    static const std::map<std::string, std::string> files = {
        {"a", "Hi!"},
        {"b.txt", "one\r\ntwo\nthree"},
        {"bin",
         [] {
             std::string strAll;
             for (int n = 0; n < 256; ++n)
                 strAll += static_cast<char>(n);
             // Line ends, NUL, high bytes and the tool's own keywords, then every byte.
             const char szHead[] = "\0\r\n\x80\xff\r\nframe x {<!!><##>\"\\BEGIN_FRAME_TEXT()\n";
             return std::string(szHead, sizeof(szHead) - 1) + strAll;
         }()},
        {"empty", ""},
        // Past the size of one literal chunk of a large block, so that chunks are cut.
        {"big",
         [] {
             std::string strBig;
             for (int n = 0; n < 9000; ++n)
                 strBig += static_cast<char>((n * 7) % 256);
             return strBig;
         }()},
        {"my file.txt", "spaced name"},
    };
    static const bool bWritten = [] {
        const MTempDir& dir = fuzzDir();
        for (const auto& file : files)
            dir.write(file.first, file.second);
        dir.makeDirectory("dir");
        return true;
    }();
    (void)bWritten;
    return files;
}

MInFuzzDir::MInFuzzDir() : m_nPrevious(::open(".", O_RDONLY | O_DIRECTORY)) {
    fuzzFiles();
    if (m_nPrevious < 0 || ::chdir(fuzzDir().path().c_str()) != 0)
        fuzzFailure("cannot enter the fuzzer's working directory", "");
}

MInFuzzDir::~MInFuzzDir() {
    if (::fchdir(m_nPrevious) != 0)
        std::abort();
    ::close(m_nPrevious);
}

const std::string& fuzzNotice() {
    static const std::string strNotice = [] {
        const MOutcome head = engineTranslation(MLanguage::Fallback, std::string());
        const std::string& str = head.strText;
        // Two comment lines ended by LF, then the empty line: nothing the frame pass could
        // rewrite and nothing that would start a block.
        const std::string::size_type nFirst = str.find('\n');
        const bool bShaped = !head.bThrew && str.size() >= 4 && str.compare(0, 2, "//") == 0 &&
                             nFirst != std::string::npos && str.compare(nFirst + 1, 2, "//") == 0 &&
                             str.find('\n', nFirst + 1) == str.size() - 3 &&
                             str.compare(str.size() - 2, 2, "\n\n") == 0 &&
                             str.find("frame") == std::string::npos &&
                             str.find("BEGIN_FRAME_TEXT") == std::string::npos;
        if (!bShaped)
            fuzzFailure(
                "the head of an empty translation is not two comment lines and "
                "an empty line",
                str);
        return str.substr(0, str.size() - 2);
    }();
    return strNotice;
}

const MReferenceTranslator& fuzzReference() {
    static const MReferenceTranslator reference(fuzzNotice(), fuzzFiles());
    return reference;
}

namespace {}  // namespace

MOutcome outcomeOf(const char* pszWhat, const std::string& strInput,
                   const std::function<std::string()>& call) {
    MOutcome outcome;
    try {
        outcome.strText = call();
    } catch (const MError& error) {
        outcome.bThrew = true;
        outcome.strText = bytesOf(error.message());
    } catch (const std::exception& exception) {
        fuzzFailure((std::string(pszWhat) + " threw a std::exception: " + exception.what()).c_str(),
                    strInput);
    } catch (...) {
        fuzzFailure((std::string(pszWhat) + " threw something other than an MError").c_str(),
                    strInput);
    }
    return outcome;
}

MOutcome engineTranslation(MLanguage language, const std::string& strInput) {
    const MInFuzzDir inDir;
    return outcomeOf("the engine", strInput, [&] {
        MPreprocessorRun run(traitsOf(language), fromBytes(strInput));
        return bytesOf(run.translate());
    });
}

void expectReferenceTranslation(const char* pszWhat, const char* pszOption,
                                const std::string& strInput, const MOutcome& engine) {
    MOutcome reference;
    bool bExact = true;
    try {
        reference.strText = fuzzReference().translate(pszOption, strInput, bExact);
    } catch (const MReferenceTranslator::MError& error) {
        reference.bThrew = true;
        reference.strText = error.strText;
    } catch (const MReferenceTranslator::MUnknown&) {
        return;
    }
    if (bExact || reference.bThrew) {
        expectSame(pszWhat, strInput, reference, engine);
    } else if (engine.bThrew) {
        expectSame((std::string(pszWhat) + " (a grouped block)").c_str(), strInput,
                   MOutcome{false, "(a translation)"}, engine);
    }
}

void expectSame(const char* pszWhat, const std::string& strInput, const MOutcome& expected,
                const MOutcome& actual) {
    if (expected.bThrew == actual.bThrew && expected.strText == actual.strText)
        return;
    std::string::size_type nDiffer = 0;
    while (nDiffer < expected.strText.size() && nDiffer < actual.strText.size() &&
           expected.strText[nDiffer] == actual.strText[nDiffer])
        ++nDiffer;
    std::fprintf(stderr, "\n==== FINDING: %s (first difference at offset %zu)\n", pszWhat, nDiffer);
    describe("expected", expected, nDiffer);
    describe("engine", actual, nDiffer);
    show("input", strInput, 0);
    std::abort();
}

void fuzzFailure(const char* pszWhat, const std::string& strInput) {
    std::fprintf(stderr, "\n==== FINDING: %s\n", pszWhat);
    show("input", strInput, 0);
    std::abort();
}

MOutcome engineStreamedTranslation(MLanguage language, const std::string& strInput,
                                   unsigned long liFlushBytes) {
    static const char* const pszInput = "fuzz-streamed.in";
    static const char* const pszOutput = "fuzz-streamed.out";
    const MInFuzzDir inDir;
    {
        std::ofstream input(pszInput, std::ios::binary);
        input << strInput;
    }
    return outcomeOf("the streamed run", strInput, [&] {
        // Written out every few bytes, as a run of the tool does every megabyte.
        MPreprocessorRun run(traitsOf(language), pszInput, pszOutput);
        run.setFlushBytes(liFlushBytes);
        run.process();
        std::ifstream file(pszOutput, std::ios::binary);
        std::string strWritten(std::istreambuf_iterator<char>(file), {});
        std::remove(pszOutput);
        std::remove(pszInput);
        return strWritten;
    });
}
