// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MBLOCKPASS_H
#define XVANTOR_ENGINE_MBLOCKPASS_H

#include <string>
#include <unordered_set>
#include <vector>

#include "core/mstring.h"
#include "engine/mdelimiterset.h"
#include "engine/merror.h"
#include "engine/mlanguage.h"
#include "engine/mlines.h"
#include "engine/moutputtext.h"
#include "engine/mrunoptions.h"

/// The first pass: copies the input into the output, each frame-text block replaced by
/// the call that rebuilds its text.
class MBlockPass {
public:
    /// The output is borrowed and must outlive the pass. With the trace's name, #line
    /// directives say where each part of the output came from.
    MBlockPass(const MLanguageTraits& traits, MOutputText& output, const MRunTrace& trace)
        : m_traits(traits), m_output(output), m_trace(trace) {
        m_trace.pFilesSeen = &m_filesSeen;
        m_trace.pEmbedCache = &m_embedCache;
    }
    MBlockPass(const MBlockPass&) = delete;
    MBlockPass& operator=(const MBlockPass&) = delete;

    /// Runs over the whole input, which must stay alive meanwhile. Throws an MError
    /// located in the input.
    void run(const MString& mstrInput);

private:
    /// Where a block's parts stand in the input.
    struct MBlock {
        int nBegin;      // the begin keyword
        int nHeader;     // just after it
        int nTextBegin;  // the block text, up to nTextEnd
        int nTextEnd;
        int nEnd;  // the end keyword
    };

    /// True when it replaced a block; false once it copied the rest of the input.
    [[nodiscard]] bool processNextBlock();
    /// The block whose begin keyword stands at nBegin. Throws for a malformed one.
    MBlock findBlock(int nBegin) const;
    /// Reads the header's flag definitions and appends the block's call.
    void convertBlock(const MBlock& block);
    /// The same on the block's own lines.
    void convertBlockInPlace(const MBlock& block, const MString& mstrText);
    /// Just after the ")" that ends the end line of the block. Throws when there is none.
    int endOfEndLine(const MBlock& block) const;
    /// The error located at nOffset of the input.
    MError errorAt(MErrorCode code, int nOffset) const;
    int lineAt(int nOffset) { return m_lines.lineAt(&(*m_pInput)[0], m_nLength, nOffset); }

    const MLanguageTraits& m_traits;
    MOutputText& m_output;
    const MString* m_pInput = nullptr;
    long m_nLength = 0;
    MString m_mstrBeginKeyword{"BEGIN_FRAME_TEXT"};
    MString m_mstrEndKeyword{"END_FRAME_TEXT"};
    MDelimiterSet m_delimiters;
    int m_nPosition = 0;
    MLineCounter m_lines;
    MRunTrace m_trace;
    std::unordered_set<std::string> m_filesSeen;  // the names in *m_trace.pFilesRead
    MEmbedCache m_embedCache;
};

#endif  // XVANTOR_ENGINE_MBLOCKPASS_H
