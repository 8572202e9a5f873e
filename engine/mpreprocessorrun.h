// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MPREPROCESSORRUN_H
#define XVANTOR_ENGINE_MPREPROCESSORRUN_H

#include <functional>
#include <vector>

#include "core/mstring.h"
#include "engine/mdelimiterset.h"
#include "engine/mframepass.h"
#include "engine/mlanguage.h"
#include "engine/moutputtext.h"

/// One translation of an input file into an output file: frame-text blocks first,
/// frame declarations second. The output is written into a new file as it is made, and
/// put in place of the old one only once both passes succeeded.
class MPreprocessorRun {
public:
    /// Reads the input whole. The names are borrowed from the caller and must outlive the
    /// run. Throws an MError: "file not found" and the like.
    MPreprocessorRun(MLanguage language, const char* pszInputName, const char* pszOutputName);
    /// A run over a text in memory; process() may not be called.
    MPreprocessorRun(MLanguage language, const MString& mstrInput);
    MPreprocessorRun(const MPreprocessorRun&) = delete;
    MPreprocessorRun& operator=(const MPreprocessorRun&) = delete;

    /// Translates and writes the output file, calling beforeCommit just before the new
    /// file takes the old one's place. Throws an MError for every failure of the passes,
    /// located in the input where its cause has a place, and "can not create the file"
    /// when the output cannot be written.
    void process(const std::function<void()>& beforeCommit = {});

    /// bTrackFiles keeps the names of the embedded files read, for embeddedFiles();
    /// bLineDirectives makes C++ and C# outputs say by #line where each part came from.
    void setOptions(bool bTrackFiles, bool bLineDirectives);
    /// The trimmed names of the files embedded so far, in the order read, repeats included.
    const std::vector<MString>& embeddedFiles() const { return m_embeddedFiles; }

    /// Runs both passes and returns the output text; the file is left alone. Once a part
    /// of the text has been handed on to a writer, the result is what follows that part.
    MString& translate();

    /// How much text each pass gathers before it hands it on. Tests make it small.
    void setFlushBytes(unsigned long liFlushBytes);

private:
    /// The notice, for C++ the include line, and an empty line.
    void startOutput();
    /// The first pass, into m_output.
    void runBlockPass();
    /// The input's line at nOffset, counted on from the last call, which was not after it.
    int lineAt(int nOffset);
    /// True when it replaced a block; false once it copied the rest of the input.
    [[nodiscard]] bool processNextBlock();

    MString m_mstrInput;
    MOutputText m_output;  // the block pass's text, which the frame pass reads
    MString m_mstrBeginKeyword{"BEGIN_FRAME_TEXT"};
    MString m_mstrEndKeyword{"END_FRAME_TEXT"};
    MDelimiterSet m_delimiters;
    int m_nPosition = 0;
    const char* m_pszOutputName = nullptr;
    MLanguage m_language;
    const char* m_pszInputName = nullptr;
    std::vector<MString> m_embeddedFiles;
    bool m_bTrackFiles = false;
    MString m_mstrLineFile;  // the input's name as a #line directive spells it; "" for none
    int m_nLine = 1;         // the line of the input at m_nLineCounted
    int m_nLineCounted = 0;
    MFramePass m_framePass;
};

#endif  // XVANTOR_ENGINE_MPREPROCESSORRUN_H
