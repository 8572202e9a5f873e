#ifndef XVANTOR_ENGINE_MPREPROCESSORRUN_H
#define XVANTOR_ENGINE_MPREPROCESSORRUN_H

#include "core/mstring.h"
#include "engine/mdelimiterset.h"
#include "engine/moutputtext.h"

/// One translation of an input file into an output file: frame-text blocks first,
/// frame declarations second. The output is written into a new file as it is made, and
/// put in place of the old one only once both passes succeeded.
class MPreprocessorRun : public MKeptTextReader {
public:
    /// Reads the input whole and prints the language. The three texts are borrowed
    /// from the caller and must outlive the run. Throws "file not found" and the like.
    MPreprocessorRun(const char* pszOption, const char* pszInputName, const char* pszOutputName);
    /// A run over a text in memory; nothing is printed, and process() may not be called.
    MPreprocessorRun(const char* pszOption, const MString& mstrInput);
    MPreprocessorRun(const MPreprocessorRun&) = delete;
    MPreprocessorRun& operator=(const MPreprocessorRun&) = delete;
    ~MPreprocessorRun() override = default;

    /// Translates and writes the output file. Throws every error of the passes, and
    /// "can not create the file" when the output cannot be written.
    void process();

    /// Runs both passes and returns the output text; the file is left alone. The result is
    /// the first pass's text itself when it holds no "frame". Once a part of the text has
    /// been written out, the result is what follows that part.
    MString& translate();

    /// The frame pass over what the first pass has made so far.
    void readKept() override;

protected:
    /// The notice, for C++ the include line, and an empty line.
    void startOutput();
    [[nodiscard]] int processNextBlock();
    void readFlagDefinitions(const MString& mstrHeader);
    /// 1 after a keyword was rewritten or passed over, 0 when the text is done or, before
    /// the text is final, when the next keyword needs more of it to be judged.
    [[nodiscard]] int processNextFrameKeyword(bool bFinal);
    /// The first "{" or "(" at or after nFrom, or -1 when the text holds none.
    int nextBrace(int nFrom);
    /// Rewrites what it can of the kept text, and takes what is done off its front.
    void runFramePass(bool bFinal);

    MString m_mstrInput;
    MOutputText m_output;        // the first pass's text
    MOutputText m_result{true};  // the frame pass's text
    MString m_mstrBeginKeyword{"BEGIN_FRAME_TEXT"};
    MString m_mstrEndKeyword{"END_FRAME_TEXT"};
    MDelimiterSet m_delimiters;
    int m_nPosition = 0;
    int m_nFramePosition = 0;  // in the text m_output keeps
    const char* m_pszOutputName = nullptr;
    const char* m_pszOption = nullptr;
    // What the frame pass's last search for the next "{" or "(" saw: later occurrences
    // reuse it, so rejected words cost no rescan.
    int m_nBraceSearchFrom = -1;
    int m_nBraceScanned = -1;  // none from m_nBraceSearchFrom up to here
    int m_nBraceFound = -1;
};

#endif  // XVANTOR_ENGINE_MPREPROCESSORRUN_H
