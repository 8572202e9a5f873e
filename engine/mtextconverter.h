// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MTEXTCONVERTER_H
#define XVANTOR_ENGINE_MTEXTCONVERTER_H

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/mstring.h"
#include "engine/mdelimiterset.h"
#include "engine/membeddedfile.h"
#include "engine/merror.h"
#include "engine/mescapecontext.h"
#include "engine/mlanguage.h"
#include "engine/mlines.h"
#include "engine/moutputtext.h"
#include "engine/mrunoptions.h"

/// Turns the text of one frame-text block into the call text of the target language: the
/// row's call head, an expression that rebuilds the text byte for byte, the call tail.
///
/// A block is written as one flat sum for as long as the target's compilers accept that at
/// their default settings (keepsPlainForm(), by the row's limits), and never with more
/// than sm_nPlainPieces delimited pieces. A larger block would break the compilers' limits
/// on constant strings and on expression depth, so its literals are cut into chunks that
/// are no compile-time constants, and its operands are grouped as the row's grouped form
/// says.
///
/// The form is decided on the first pieces alone: the flat sum holds few pieces, each of
/// them short, so a block that goes past either is grouped. Only those first pieces are
/// held; the grouped form's other pieces are written as they are found, and each
/// embedded file is read as its turn comes and dropped after it, so that memory does not
/// grow with the block. A balanced tree must know how many operands it has before its
/// first one: the block is scanned once to count them, its files measured, then again.
/// The places of escaped values are found by a scan of their own, ahead of the writing.
/// A run's small files are read once, however often its blocks name them.
class MTextConverter {
public:
    /// The flat sum costs g++ time in the square of its pieces.
    static constexpr int sm_nPlainPieces = 200;
    static constexpr int sm_nChunkBytes = 8 * 1024;
    /// The width of a literal's lines.
    static constexpr unsigned sm_nLineWidth = 70;

    /// The text and the delimiters are borrowed and must outlive the converter, and the
    /// delimiters must not change while it converts. The trace's vector receives the
    /// trimmed name of every file embedded, and with the trace's name a line directive
    /// stands before every embedded expression, so that the compiler names the line where
    /// it was written; the text starts on nFirstLine.
    MTextConverter(const MString& mstrText, const MLanguageTraits& traits,
                   const MDelimiterSet& delimiters, const MRunTrace& trace = MRunTrace(),
                   int nFirstLine = 1);
    MTextConverter(const MTextConverter&) = delete;
    MTextConverter& operator=(const MTextConverter&) = delete;
    ~MTextConverter() = default;

    /// Writes the call on exactly nLines more lines than the one it starts on, the text's
    /// first line nLinesBefore lines down and each later line of the text, with the
    /// expression pieces written there, on its own line: a language without line
    /// directives then keeps the input's line numbers. The form of the block stays.
    void keepLines(int nLinesBefore, int nLines) {
        m_bKeepLines = true;
        m_nLinesBefore = nLinesBefore;
        m_nLines = nLines;
    }

    /// Appends the whole call text to the output, with no copy of it in between. Throws an
    /// MError for an unclosed delimiter (XF0002) or a file that cannot be embedded (XF0001),
    /// at the opening delimiter's offset in the text. Part of the call may have been
    /// appended by then.
    void appendTo(MOutputText& output);

private:
    enum class MPieceKind { Literal, Expression, File };
    // A piece is a stretch of the block text; a file's is its name, and its content is
    // held from when it is opened until it is written.
    struct MPiece {
        MPieceKind kind;
        int nBegin;
        int nEnd;
        int nOpener;  // a file's opening delimiter, where its errors stand
        std::unique_ptr<MEmbeddedFile> pFile;
    };

    /// Appends a literal and a delimited piece and returns true, or appends the last
    /// literal and returns false.
    [[nodiscard]] bool convertNextPiece(std::vector<MPiece>& pieces);
    /// Back to the block's first piece.
    void restartScan();
    /// Finds the next pieces into m_pieces and opens their files.
    void scanPieces(bool bRecord);
    /// The piece's file, read or measured; its name is recorded when bRecord. Throws
    /// XF0001.
    std::unique_ptr<MEmbeddedFile> openEmbeddedFile(const MPiece& piece, bool bRecord);
    /// The trimmed name's file, read or measured. Throws XF0001.
    std::unique_ptr<MEmbeddedFile> openEmbeddedFile(MString& mstrName, int nOpener, bool bRecord);
    /// The file's bytes; throws XF0001 once the file no longer holds them.
    const char* bytesOfFile(MEmbeddedFile& file, unsigned long liOffset, unsigned long liCount,
                            int nOpener) const;
    /// Whether the block's compilers accept its flat sum; decided on the pieces found.
    bool keepsPlainForm() const;
    /// The longest literal or file that the flat sum can hold.
    unsigned long longestPlainPiece() const;
    bool constantsKeepPlainForm() const;
    void appendPlain(MOutputText& output) const;
    void appendGrouped(MOutputText& output);
    void appendStatements(MOutputText& output);
    /// The grouped form's operands from the held pieces on to the end of the block,
    /// counted; the scan is left where it was.
    size_t countOperands();
    /// The next operand of the grouped form and its chunk; null after the last.
    const MPiece* nextOperand(int& nChunk);
    /// A file that no longer has the length that the count found. Throws XF0001.
    [[noreturn]] void throwChangedFile() const;
    /// liCount of the piece's bytes from liOffset: of its stretch of the block text, or
    /// of the embedded file. Throws XF0001 for a file that can no longer be read.
    const char* bytesOf(const MPiece& piece, unsigned long liOffset, unsigned long liCount) const;
    unsigned long lengthOf(const MPiece& piece) const;
    /// One operand of the grouped form: a delimited piece, or one chunk of a literal.
    void appendGroupedOperand(MOutputText& output, const MPiece& piece, int nChunk) const;
    void appendBalanced(MOutputText& output, size_t nOperands);
    /// The literal of the target language that spells liLength bytes, every byte escaped,
    /// straight into the output.
    void appendLiteral(MOutputText& output, const char* pszText, unsigned long liLength) const;

    /// The first position of the opener at or after nFrom. nFound remembers the last
    /// answer, which stays valid until the scan passes it; "none" stays valid for good.
    int nextOpener(const MString& mstrOpener, int nFrom, int& nFound) const;

    /// The directive for the line of the expression piece, with its line break.
    MString lineDirectiveFor(const MPiece& piece) const;

    /// A text of the form around the pieces; when the lines are kept, with a space for each
    /// of its line breaks, since only the block text's own lines end a line then.
    void appendForm(MOutputText& output, const char* pszText) const {
        if (m_bKeepLines)
            appendFormOnLines(output, pszText);
        else
            output += pszText;
    }
    void appendFormOnLines(MOutputText& output, const char* pszText) const;
    /// An expression piece between the prefix and the suffix.
    void appendExpression(MOutputText& output, const MPiece& piece) const;
    /// Line-keeping: line breaks up to the line of the text's byte nOffset.
    void breakLinesTo(MOutputText& output, int nOffset) const;
    /// Line-keeping: liLength bytes of the literal or file piece from liFrom as one literal
    /// on the line where they stand, broken after each line end of the block text; a
    /// file's bytes stay on the line of its name.
    void appendLiteralOnLines(MOutputText& output, const char* pszText, unsigned long liLength,
                              const MPiece& piece, unsigned long liFrom) const;
    // Values escaped for their place, in a block with FLAG_ESCAPE.
    /// Throws XF0013 where the HTML text's "<!" would start a comment or a doctype.
    void refuseMarkupOpeners() const;
    /// Finds each value's escaper, scanning the whole block; throws XF0012 for a place
    /// that none makes safe. The scan starts again from the block's start afterwards.
    void findEscapers();
    /// The next expression piece, its value converted and escaped.
    void appendValue(MOutputText& output, const MPiece& piece) const;
    /// Just after the raw marker that begins the expression, or -1.
    int afterRawMarker(const MPiece& piece) const;
    static constexpr signed char sm_nUnescaped = -1;
    static constexpr signed char sm_nRaw = -2;

    std::vector<MPiece> m_pieces;  // found and not yet written
    size_t m_nPiece = 0;           // the next one to write
    int m_nChunk = 0;              // of m_pieces[m_nPiece]
    bool m_bEnded = false;         // the last piece is found
    bool m_bRecordOnWrite = true;  // no earlier scan recorded the names
    int m_nLastOpener = -1;        // the last file opened, for throwChangedFile()
    MString m_mstrLastFile;
    std::vector<MString>* m_pFilesRead;
    std::unordered_set<std::string>* m_pFilesSeen;
    MEmbedCache* m_pEmbedCache;
    const MString* m_pLineFile;
    int m_nFirstLine;
    mutable MLineCounter m_lines;  // of the block text, up to the last expression piece
    bool m_bKeepLines = false;
    int m_nLinesBefore = 0;
    int m_nLines = 0;
    mutable int m_nLineOut = 1;   // line-keeping: the line of the text that the output is on
    int m_nExpressionFound = -2;  // -2: not searched yet
    int m_nFileFound = -2;
    unsigned long m_liLiteralBytes = 0;

    const MString& m_mstrText;
    const MLanguageTraits& m_traits;
    const MString& m_mstrExpressionBegin;
    const MString& m_mstrExpressionEnd;
    const MString& m_mstrFileBegin;
    const MString& m_mstrFileEnd;
    const char* m_pszPrefix;  // opens an expression piece
    const char* m_pszSuffix;
    unsigned long m_liPrefix;
    unsigned long m_liSuffix;
    unsigned long m_liLiteralHead;  // the length of the row's literal head
    int m_nPosition = 0;
    int m_nCloseLength = 0;
    int m_nOpenLength = 0;
    MEscapeMode m_escapeMode;
    std::vector<signed char> m_escapers;  // of every value in turn: an MEscaper or raw
    mutable size_t m_nValue = 0;          // the next value's in m_escapers
};

#endif  // XVANTOR_ENGINE_MTEXTCONVERTER_H
