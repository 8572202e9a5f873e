// SPDX-License-Identifier: MIT
// MString driven by a small byte-code against std::string: four slots of each, one operation
// per step, every slot compared after every step. Self-application (a string appended to,
// copied onto or compared with itself) is reached by naming the same slot twice.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "core/mstring.h"
#include "tests/fuzz/mfuzzsupport.h"
#include "tests/support/mbytes.h"

namespace {

const int nSlots = 4;
// Self-appends double a string: beyond this the step is skipped, not run slowly.
const std::string::size_type nLargest = 1 << 16;

// Reads the fuzz bytes from the front, so that a corpus file reads as its program.
class MByteReader {
public:
    MByteReader(const uint8_t* pbyData, size_t nSize) : m_pbyData(pbyData), m_nSize(nSize) {}
    virtual ~MByteReader() = default;

    bool atEnd() const { return m_nPosition >= m_nSize; }
    unsigned byte() { return atEnd() ? 0 : m_pbyData[m_nPosition++]; }
    int slot() { return static_cast<int>(byte() % nSlots); }
    std::string bytes() {
        const size_t nWanted = byte() % 40;
        const size_t nTaken = nWanted < m_nSize - m_nPosition ? nWanted : m_nSize - m_nPosition;
        std::string str(reinterpret_cast<const char*>(m_pbyData) + m_nPosition, nTaken);
        m_nPosition += nTaken;
        return str;
    }
    /// A position: small values near 0 and near the length, and the extremes of int.
    int position(std::string::size_type nLength) {
        const int nOffset = static_cast<int>(static_cast<int8_t>(byte()));
        switch (byte() % 6) {
        case 0:
            return nOffset;
        case 1:
            return static_cast<int>(nLength) + nOffset;
        case 2:
            return INT_MIN + (nOffset & 3);
        case 3:
            return INT_MAX - (nOffset & 3);
        case 4:
            return static_cast<int>(nLength) / 2 + nOffset;
        default:
            return static_cast<int>(static_cast<int16_t>((byte() << 8) | byte()));
        }
    }
    template <class T>
    T value() {
        unsigned char aby[sizeof(T)] = {};
        for (unsigned char& by : aby)
            by = static_cast<unsigned char>(byte());
        T t;
        std::memcpy(&t, aby, sizeof(T));
        return t;
    }

protected:
    const uint8_t* m_pbyData;
    size_t m_nSize;
    size_t m_nPosition = 0;
};

// The live-object count is protected; the fuzzer checks that every input leaves it as found.
class MCounterProbe : public MString {
public:
    static int live() { return sm_nCounter; }
};

std::string g_strInput;  // for reports

[[noreturn]] void fail(const std::string& strWhat) {
    fuzzFailure(strWhat.c_str(), g_strInput);
}

void expectText(const std::string& strWhat, const std::string& strExpected, const MString& mstr) {
    const std::string strActual = bytesOf(mstr);
    if (strActual != strExpected)
        expectSame(strWhat.c_str(), g_strInput, MOutcome{false, strExpected},
                   MOutcome{false, strActual});
}

void expectNumber(const char* pszWhat, long nExpected, long nActual) {
    if (nExpected != nActual)
        fail(std::string(pszWhat) + ": expected " + std::to_string(nExpected) + ", got " +
             std::to_string(nActual));
}

int referenceFind(const std::string& strText, const std::string& strNeedle, int nStart) {
    if (nStart < 0 || static_cast<std::string::size_type>(nStart) >= strText.size())
        return -1;
    const std::string::size_type nFound =
        strText.find(strNeedle, static_cast<std::string::size_type>(nStart));
    return nFound == std::string::npos ? -1 : static_cast<int>(nFound);
}

std::string referenceGetString(const std::string& strText, int nBegin, int nEnd) {
    const long nLength = static_cast<long>(strText.size());
    long nFrom = nBegin < 0 ? 0 : (nBegin > nLength ? nLength : nBegin);
    long nTo = nEnd < 0 ? 0 : (nEnd > nLength ? nLength : nEnd);
    if (nTo < nFrom)
        nTo = nFrom;
    return strText.substr(static_cast<std::string::size_type>(nFrom),
                          static_cast<std::string::size_type>(nTo - nFrom));
}

template <class T>
std::string formatted(const char* pszFormat, T value) {
    const int nNeeded = std::snprintf(nullptr, 0, pszFormat, value);
    std::string str(static_cast<std::string::size_type>(nNeeded) + 1, '\0');
    std::snprintf(&str[0], str.size(), pszFormat, value);
    str.resize(static_cast<std::string::size_type>(nNeeded));
    return str;
}

class MStringProgram {
public:
    explicit MStringProgram(MByteReader& reader) : m_reader(reader) {}
    virtual ~MStringProgram() = default;

    void run() {
        while (!m_reader.atEnd()) {
            step(m_reader.byte() % 19);
            for (int i = 0; i < nSlots; ++i)
                expectText("slot " + std::to_string(i) + " after step " + std::to_string(m_nStep),
                           m_astr[i], m_amstr[i]);
            ++m_nStep;
        }
    }

protected:
    void step(unsigned nOperation) {
        const int i = m_reader.slot();
        const int j = m_reader.slot();
        MString& mstr = m_amstr[i];
        std::string& str = m_astr[i];
        switch (nOperation) {
        case 0: {  // bytes, NUL included
            str = m_reader.bytes();
            mstr = fromBytes(str);
            break;
        }
        case 1: {  // a C string: only the bytes before a NUL count
            const std::string strBytes = m_reader.bytes();
            str = strBytes.substr(0, strBytes.find('\0'));
            mstr.copy(strBytes.c_str());
            break;
        }
        case 2: {  // appending, the slot to itself too
            if (str.size() + m_astr[j].size() > nLargest)
                break;
            const unsigned nForm = m_reader.byte() % 3;
            str += m_astr[j];
            if (nForm == 0)
                mstr.cat(m_amstr[j]);
            else if (nForm == 1)
                mstr += m_amstr[j];
            else
                mstr.concat(m_amstr[j]);
            break;
        }
        case 3: {  // a new string; both operands unchanged
            const int k = m_reader.slot();
            if (str.size() + m_astr[j].size() > nLargest)
                break;
            const std::string strSum = str + m_astr[j];
            const MString mstrSum = mstr + m_amstr[j];
            expectText("operator+", strSum, mstrSum);
            m_astr[k] = strSum;
            m_amstr[k] = mstrSum;
            break;
        }
        case 4: {  // copying, onto itself too
            const unsigned nForm = m_reader.byte() % 3;
            str = m_astr[j];
            if (nForm == 0)
                mstr.copy(m_amstr[j]);
            else if (nForm == 1)
                mstr = m_amstr[j];
            else
                mstr = MString(m_amstr[j]);
            break;
        }
        case 5: {
            const int nStart = m_reader.position(str.size());
            expectNumber(("find from " + std::to_string(nStart)).c_str(),
                         referenceFind(str, m_astr[j], nStart), mstr.find(m_amstr[j], nStart));
            if (nStart == 0)
                expectNumber("find with the default start", referenceFind(str, m_astr[j], 0),
                             mstr.find(m_amstr[j]));
            break;
        }
        case 6: {
            const int nBegin = m_reader.position(str.size());
            const int nEnd = m_reader.position(str.size());
            const std::string strPart = referenceGetString(str, nBegin, nEnd);
            const MString mstrPart = mstr.getString(nBegin, nEnd);
            expectText("getString(" + std::to_string(nBegin) + ", " + std::to_string(nEnd) + ")",
                       strPart, mstrPart);
            m_astr[j] = strPart;
            m_amstr[j] = mstrPart;
            break;
        }
        case 7:
            str.assign(str.rbegin(), str.rend());
            mstr.reverse();
            break;
        case 8: {  // only the 26 letters change; bytes from 0x80 on never do
            const bool bUpper = m_reader.byte() % 2 == 0;
            for (char& c : str) {
                if (bUpper && c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
                else if (!bUpper && c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c - 'A' + 'a');
            }
            if (bUpper)
                mstr.toUpper();
            else
                mstr.toLower();
            break;
        }
        case 9: {  // equality only, not an ordering
            const int nEqual = str == m_astr[j] ? 1 : 0;
            expectNumber("compare", nEqual, mstr.compare(m_amstr[j]));
            expectNumber("operator==", nEqual, mstr == m_amstr[j]);
            expectNumber("operator!=", 1 - nEqual, mstr != m_amstr[j]);
            break;
        }
        case 10: {
            mstr.toCStr();
            expectNumber("length after toCStr", static_cast<long>(str.size()),
                         static_cast<long>(mstr.length()));
            if (mstr.getAddress()[str.size()] != '\0')
                fail("toCStr left no terminator");
            break;
        }
        case 11: {  // a C string that lies inside the string's own buffer
            mstr.toCStr();
            const std::string::size_type nFrom = m_reader.byte() % (str.size() + 1);
            const std::string strTail = str.substr(nFrom);
            str = strTail.substr(0, strTail.find('\0'));
            mstr.copy(mstr.getAddress() + nFrom);
            break;
        }
        case 12:
            number(mstr, str);
            break;
        case 13: {  // bytes through operator[], both forms
            expectNumber("isEmpty", str.empty() ? 1 : 0, mstr.isEmpty());
            expectNumber("length", static_cast<long>(str.size()), static_cast<long>(mstr.length()));
            if (str.empty())
                break;
            const long nIndex = static_cast<long>(m_reader.byte() % str.size());
            const MString& mstrConstant = mstr;
            expectNumber("const operator[]", str[static_cast<std::string::size_type>(nIndex)],
                         mstrConstant[nIndex]);
            const char c = static_cast<char>(m_reader.byte());
            str[static_cast<std::string::size_type>(nIndex)] = c;
            mstr[nIndex] = c;
            break;
        }
        case 14: {  // printOn shows NUL as a blank; exportToStream stops at the first NUL
            std::string strShown = str;
            for (char& c : strShown)
                c = c == '\0' ? ' ' : c;
            std::ostringstream printed;
            mstr.printOn(printed);
            std::ostringstream shifted;
            shifted << mstr;
            std::ostringstream exported;
            mstr.exportToStream(exported);
            if (printed.str() != strShown || shifted.str() != strShown ||
                exported.str() != str.substr(0, str.find('\0')))
                fail("printOn, operator<< or exportToStream wrote other bytes");
            break;
        }
        case 15: {
            const std::string strID = "5b2e8c41-7d3a-4f96-b0e2-6a18c9d47f35";
            expectText("getClassID", strID, mstr.getClassID());
            expectText("getClassName", "MString", mstr.getClassName());
            const std::string strObject = bytesOf(mstr.getObjectID());
            if (strObject.compare(0, strID.size(), strID) != 0 ||
                strObject.size() == strID.size() ||
                strObject.find_first_not_of("-0123456789", strID.size()) != std::string::npos)
                fail("getObjectID is not the class ID followed by a number: " + strObject);
            break;
        }
        case 16: {  // a C string on the left of +
            const std::string strBytes = m_reader.bytes();
            const std::string strLeft = strBytes.substr(0, strBytes.find('\0'));
            if (strLeft.size() + str.size() > nLargest)
                break;
            m_astr[j] = strLeft + str;
            m_amstr[j] = strBytes.c_str() + mstr;
            break;
        }
        case 17: {  // a file round trip, and a failed import that changes nothing
            const MInFuzzDir inDir;
            MString mstrName("mstring.tmp");
            mstr.exportToFile(mstrName);
            if (m_reader.byte() % 2 == 0)
                m_amstr[j].importFromFile("mstring.tmp");
            else
                m_amstr[j].importFromFile(MString("mstring.tmp"));
            m_astr[j] = str;
            // Neither a missing file nor a directory can be read whole.
            for (const char* pszName : {"no such file", "dir"}) {
                try {
                    m_amstr[j].importFromFile(pszName);
                    fail(std::string("importFromFile threw nothing for ") + pszName);
                } catch (const char* pszMessage) {
                    if (std::strcmp(pszMessage, "can not open the file") != 0)
                        fail(std::string("importFromFile threw ") + pszMessage);
                }
            }
            break;
        }
        default: {  // a copy is independent of its original
            MString mstrCopy(mstr);
            mstrCopy.cat(MString("x"));
            expectText("a copy after appending to it", str + "x", mstrCopy);
            break;
        }
        }
    }

    void number(MString& mstr, std::string& str) {
        switch (m_reader.byte() % 7) {
        case 0: {
            const int n = m_reader.value<int>();
            str = formatted("%d", n);
            mstr = MString(n);
            break;
        }
        case 1: {
            const long n = m_reader.value<long>();
            str = formatted("%ld", n);
            mstr = MString(n);
            break;
        }
        case 2: {
            const unsigned n = m_reader.value<unsigned>();
            str = formatted("%u", n);
            mstr = MString(n);
            break;
        }
        case 3: {
            const char c = static_cast<char>(m_reader.byte());
            str = std::string(1, c);
            mstr = MString(c);
            break;
        }
        case 4: {
            const double d = m_reader.value<double>();
            str = formatted("%f", d);
            mstr = MString(d);
            break;
        }
        case 5: {
            const float f = m_reader.value<float>();
            str = formatted("%f", static_cast<double>(f));
            mstr = MString(f);
            break;
        }
        default: {
            const long double ld = static_cast<long double>(m_reader.value<double>());
            str = formatted("%Lf", ld);
            mstr = MString(ld);
            break;
        }
        }
    }

    MByteReader& m_reader;
    MString m_amstr[nSlots];
    std::string m_astr[nSlots];
    int m_nStep = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzFiles();  // the file round trip writes into the fuzzer's own directory
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pbyData, size_t nSize) {
    g_strInput.assign(reinterpret_cast<const char*>(pbyData), nSize);
    const int nLiveBefore = MCounterProbe::live();
    {
        MByteReader reader(pbyData, nSize);
        MStringProgram program(reader);
        try {
            program.run();
        } catch (const char* pszMessage) {
            fail(std::string("an MString operation threw ") + pszMessage);
        }
    }
    expectNumber("live MString objects after an input", nLiveBefore, MCounterProbe::live());
    return 0;
}
