// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MPREPROCESSORRUN_H
#define XVANTOR_ENGINE_MPREPROCESSORRUN_H

#include <functional>
#include <vector>

#include "core/mstring.h"
#include "engine/mblockpass.h"
#include "engine/mframepass.h"
#include "engine/mlanguage.h"
#include "engine/moutputtext.h"
#include "engine/mrunoptions.h"

/// One translation of an input file into an output file: frame-text blocks first,
/// frame declarations second. The output is written into a new file as it is made, and
/// put in place of the old one only once both passes succeeded.
class MPreprocessorRun {
public:
    /// Reads the input whole. The names are borrowed from the caller and must outlive the
    /// run. Throws an MError: "file not found" and the like, and when line directives are
    /// asked for, an input name that they cannot spell.
    MPreprocessorRun(const MLanguageTraits& traits, const char* pszInputName,
                     const char* pszOutputName, const MRunOptions& options = MRunOptions());
    /// A run over a text in memory; process() may not be called.
    MPreprocessorRun(const MLanguageTraits& traits, const MString& mstrInput);
    MPreprocessorRun(const MPreprocessorRun&) = delete;
    MPreprocessorRun& operator=(const MPreprocessorRun&) = delete;

    /// Translates and writes the output file, calling beforeCommit just before the new
    /// file takes the old one's place. Throws an MError for every failure of the passes,
    /// located in the input where its cause has a place, and "can not create the file"
    /// when the output cannot be written.
    void process(const std::function<void()>& beforeCommit = {});

    /// With the option to track them, the trimmed names of the files embedded so far, in
    /// the order read, repeats included.
    const std::vector<MString>& embeddedFiles() const { return m_embeddedFiles; }

    /// Runs both passes and returns the output text; the file is left alone. Once a part
    /// of the text has been handed on to a writer, the result is what follows that part.
    const MTextBuffer& translate();

    /// How much text each pass gathers before it hands it on. Tests make it small.
    void setFlushBytes(unsigned long liFlushBytes);

private:
    /// The notice, the language's head line, and an empty line; when the lines are kept,
    /// the notice as a comment on the input's first line.
    void startOutput();
    /// What the passes record and say, as the options ask.
    MRunTrace trace(const MRunOptions& options);

    MString m_mstrInput;
    const char* m_pszOutputName = nullptr;
    const MLanguageTraits& m_traits;
    const char* m_pszInputName = nullptr;
    std::vector<MString> m_embeddedFiles;
    MString m_mstrLineFile;  // the input's name as the row's directives quote it
    MRunTrace m_trace;
    // Declared in the order of the stages; each hands its text to the next.
    MFramePass m_framePass;
    MOutputText m_output;  // the block pass's text, which the frame pass reads
    MBlockPass m_blockPass{m_traits, m_output, m_trace};
};

#endif  // XVANTOR_ENGINE_MPREPROCESSORRUN_H
