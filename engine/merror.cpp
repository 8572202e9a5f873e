// SPDX-License-Identifier: MIT
#include "engine/merror.h"

#include "engine/mlines.h"

#define XV_SUPPORT_ADDRESS "support@xvantor.org"

namespace {

// "%1" stands for the first argument. A text whose code shows is printed by default after
// a line end and "Error CODE: "; the quiet text, when a row has its own, names the file,
// and the system's reason follows it.
struct MCatalogueRow {
    MErrorCode code;
    const char* pszCode;
    bool bCodeShown;
    const char* pszText;
    const char* pszQuiet;  // null: the text
};

constexpr MCatalogueRow catalogue[] = {
    {MErrorCode::NoFrameEnd, "XF0000", true, "BEGIN_FRAME_TEXT() without END_FRAME_TEXT()",
     nullptr},
    {MErrorCode::EmbeddingFailed, "XF0001", true, "Embedding of file \"%1\" failed", nullptr},
    {MErrorCode::FlagNotClosed, "XF0002", true, "BEGIN_FLAG without CLOSE_FLAG %1", nullptr},
    {MErrorCode::FlagsDiffer, "XF0003", true,
     "The flags have the same name but different functions%1", nullptr},
    {MErrorCode::SameNames, "XF0004", true, "The output file has the same name with the input file",
     nullptr},
    {MErrorCode::NoBlockStart, "XF0005", true, "BEGIN_FRAME_TEXT() without ) before the block text",
     nullptr},
    {MErrorCode::NoLineBreakBeforeEnd, "XF0006", true,
     "END_FRAME_TEXT() without a line break before it", nullptr},
    {MErrorCode::EndNotClosed, "XF0007", true, "END_FRAME_TEXT() without )", nullptr},
    {MErrorCode::EndBeforeBegin, "XF0008", true, "END_FRAME_TEXT() before BEGIN_FRAME_TEXT()",
     nullptr},
    {MErrorCode::FlagWithoutValue, "XF0009", true, "The flag has no quoted value %1", nullptr},
    {MErrorCode::FlagValueEmpty, "XF0010", true, "The flag has an empty value %1", nullptr},
    {MErrorCode::EscapeModeUnknown, "XF0011", true,
     "The escape mode %1 is none of html, json and none", nullptr},
    {MErrorCode::ValueRefused, "XF0012", true,
     "A value in %1 can not be escaped; write raw: before the expression to insert it as it is",
     nullptr},
    {MErrorCode::DelimiterLooksLikeMarkup, "XF0013", true,
     "The expression delimiter %1 starts an HTML comment or doctype here; choose other "
     "delimiters, such as FLAG_<!=\"{{\" FLAG_!>=\"}}\"",
     nullptr},
    {MErrorCode::InputNotFound, "XF0100", false, "file not found", "cannot open '%1'"},
    {MErrorCode::InputTooLarge, "XF0101", false, "file too large", "cannot read '%1'"},
    {MErrorCode::InputUnreadable, "XF0102", false, "can not open the file", "cannot read '%1'"},
    {MErrorCode::CannotCreate, "XF0103", false, "can not create the file", "cannot create '%1'"},
    {MErrorCode::OutputTooLarge, "XF0104", false, "output too large", nullptr},
    {MErrorCode::ValueMissing, "XF0105", false, "%1 needs a value", nullptr},
    {MErrorCode::NotRecognised, "XF0106", false,
     "\nSorry, can not recognize the source language.\nPlease use the explicit language "
     "option!\n",
     "Sorry, can not recognize the source language. Please use the explicit language option!"},
    // "enougth" is how the tool has always spelled it; scripts match the text. The usage
    // text, the command line's, follows it by default.
    {MErrorCode::NotEnough, "XF0109", false, "Not enougth parameters!\n%1",
     "Not enougth parameters!"},
    // A usage error reads the same on either console.
    {MErrorCode::UnknownOption, "XF0110", false, "xvantor: error: unknown option '%1' (known: %2)",
     "unknown option '%1' (known: %2)"},
    {MErrorCode::SameFile, "XF0111", false, "the %1 '%2' and the %3 '%4' are the same file",
     nullptr},
    {MErrorCode::DepfileName, "XF0112", false,
     "the name '%1' cannot be written in a depfile that Make and Ninja read back", nullptr},
    {MErrorCode::LineNameNotSpelled, "XF0113", false,
     "the input file name holds a line break, which a #line directive can not spell", nullptr},
    {MErrorCode::OutOfMemory, "XF0114", false, "out of memory", nullptr},
    {MErrorCode::ExtraWord, "XF0115", false,
     "xvantor: error: unexpected word '%1' after the output file name",
     "unexpected word '%1' after the output file name"},
    {MErrorCode::MisspelledOption, "XF0116", false,
     "xvantor: error: unknown option '%1': did you mean %2?",
     "unknown option '%1': did you mean %2?"},
    // The last row answers for any code without one of its own.
    {MErrorCode::Unknown, "XF0108", false,
     "\nUnknown Error: please send your source to " XV_SUPPORT_ADDRESS,
     "Unknown Error: please send your source to " XV_SUPPORT_ADDRESS},
};

constexpr int nCodes = static_cast<int>(MErrorCode::Unknown) + 1;

constexpr bool eachCodeHasOneRow() {
    int anRows[nCodes] = {};
    for (const MCatalogueRow& row : catalogue) {
        const int nCode = static_cast<int>(row.code);
        if (nCode < 0 || nCode >= nCodes || ++anRows[nCode] > 1)
            return false;
    }
    return sizeof catalogue / sizeof catalogue[0] == nCodes;
}
static_assert(eachCodeHasOneRow(), "every error code has exactly one row of the catalogue");

const MCatalogueRow& rowOf(MErrorCode code) {
    for (const MCatalogueRow& row : catalogue) {
        if (row.code == code)
            return row;
    }
    return catalogue[sizeof(catalogue) / sizeof(catalogue[0]) - 1];
}

std::string bytesOf(const MString& mstrText) {
    return std::string(mstrText.length() == 0 ? "" : &mstrText[0], mstrText.length());
}

std::string filled(const char* pszTemplate, const std::vector<MString>& arguments) {
    std::string strText;
    for (const char* psz = pszTemplate; *psz != 0; ++psz) {
        if (psz[0] == '%' && psz[1] >= '1' && psz[1] <= '9') {
            const size_t nArgument = static_cast<size_t>(psz[1] - '1');
            if (nArgument < arguments.size())
                strText += bytesOf(arguments[nArgument]);
            ++psz;
        } else {
            strText += *psz;
        }
    }
    return strText;
}

}  // namespace

MString MError::message() const {
    const MCatalogueRow& row = rowOf(m_code);
    std::string strText = filled(row.pszText, m_arguments);
    if (row.bCodeShown)
        strText = std::string("\nError ") + row.pszCode + ": " + strText;
    return MString(strText.data(), static_cast<unsigned long>(strText.size()));
}

std::string MError::quietText() const {
    const MCatalogueRow& row = rowOf(m_code);
    std::string strText = filled(row.pszQuiet != nullptr ? row.pszQuiet : row.pszText, m_arguments);
    // One line: the words of a delimiter or a name may hold line ends.
    const size_t nFirst = strText.find_first_not_of("\r\n");
    strText.erase(0, nFirst == std::string::npos ? strText.size() : nFirst);
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r'))
        strText.pop_back();
    for (char& c : strText) {
        if (c == '\n' || c == '\r' || c == 0)
            c = ' ';
    }
    if (row.bCodeShown)
        strText = std::string(row.pszCode) + ": " + strText;
    if (!m_strReason.empty())
        strText += ": " + m_strReason;
    return strText;
}

void MError::locate(const MString& mstrInput, int nTextStart) {
    if (m_nOffset < 0 || m_nLine != 0)
        return;
    const long nLength = static_cast<long>(mstrInput.length());
    const long nAt = nTextStart + m_nOffset < nLength ? nTextStart + m_nOffset : nLength;
    MLineCounter lines;
    m_nLine = lines.lineAt(&mstrInput[0], nLength, nAt);
    m_nColumn = static_cast<int>(nAt - lines.lineStart()) + 1;
}
