// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MERROR_H
#define XVANTOR_ENGINE_MERROR_H

#include <string>
#include <utility>
#include <vector>

#include "core/mstring.h"

/// Every failure the tool reports. The texts stand in one catalogue (merror.cpp); codes
/// from XF0100 on are the tool's own numbering of the failures that print no code.
enum class MErrorCode {
    NoFrameEnd,                // XF0000
    EmbeddingFailed,           // XF0001: the file's name
    FlagNotClosed,             // XF0002: the missing closing delimiter
    FlagsDiffer,               // XF0003: the file opening delimiter
    SameNames,                 // XF0004
    NoBlockStart,              // XF0005
    NoLineBreakBeforeEnd,      // XF0006
    EndNotClosed,              // XF0007
    EndBeforeBegin,            // XF0008
    FlagWithoutValue,          // XF0009: the keyword
    FlagValueEmpty,            // XF0010: the keyword
    EscapeModeUnknown,         // XF0011: the mode
    ValueRefused,              // XF0012: the value's place
    DelimiterLooksLikeMarkup,  // XF0013: the expression delimiter
    InputNotFound,             // the input's name
    InputTooLarge,             // the input's name
    InputUnreadable,           // the input's name
    CannotCreate,              // the name of the file that could not be written
    OutputTooLarge,
    ValueMissing,  // the option
    NotRecognised,
    SameFile,     // two roles and their names: "output", "out.cpp", "depfile", ...
    DepfileName,  // a name that a depfile cannot hold
    NotEnough,
    UnknownOption,  // the option, the known ones
    LineNameNotSpelled,
    OutOfMemory,
    ExtraWord,         // the word after the output name
    MisspelledOption,  // the word, the long option it spells
    Unknown,           // the last: the catalogue holds one row for each code up to it
};

/// A failure of the run that the user caused or must mend: what it is, the words that
/// fill its text, the system's reason when a file operation failed, and where its cause
/// stands in the input when it has a place there. How it reads is the console's concern.
class MError {
public:
    explicit MError(MErrorCode code, std::vector<MString> arguments = {})
        : m_code(code), m_arguments(std::move(arguments)) {}
    /// The cause stands at byte nOffset of a text that is not yet known; locate() names it.
    MError(MErrorCode code, std::vector<MString> arguments, int nOffset)
        : m_code(code), m_arguments(std::move(arguments)), m_nOffset(nOffset) {}

    /// Turns the offset into a line and a column of the text, which starts at byte
    /// nTextStart of the input. Nothing changes for an error without an offset.
    void locate(const MString& mstrInput, int nTextStart = 0);

    MErrorCode code() const { return m_code; }
    const std::vector<MString>& arguments() const { return m_arguments; }
    /// The system's words for a failed file operation ("No such file or directory"), or "".
    const std::string& reason() const { return m_strReason; }
    void setReason(std::string strReason) { m_strReason = std::move(strReason); }

    /// The text as the tool has always printed it by default, line ends included.
    MString message() const;
    /// The same failure as one line without its leading "Error", the file named and the
    /// system's reason added: what a quiet console prints after "error: ".
    std::string quietText() const;

    bool hasPosition() const { return m_nLine != 0; }
    /// Counted from 1; the column in bytes. LF, CR LF and a lone CR each end a line.
    int line() const { return m_nLine; }
    int column() const { return m_nColumn; }

private:
    MErrorCode m_code;
    std::vector<MString> m_arguments;
    std::string m_strReason;
    int m_nOffset = -1;  // relative to the text that locate() is told about
    int m_nLine = 0;
    int m_nColumn = 0;
};

#endif  // XVANTOR_ENGINE_MERROR_H
