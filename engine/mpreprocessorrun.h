#ifndef XVANTOR_ENGINE_MPREPROCESSORRUN_H
#define XVANTOR_ENGINE_MPREPROCESSORRUN_H

#include "core/mstring.h"
#include "engine/mdelimiterset.h"
#include "engine/moutputtext.h"

/// One translation of an input file into an output file: frame-text blocks first,
/// frame declarations second, the output written only once both passes succeeded.
class MPreprocessorRun {
public:
    /// Reads the input whole and prints the language. The three texts are borrowed
    /// from the caller and must outlive the run. Throws "file not found" and the like.
    MPreprocessorRun(const char* pszOption, const char* pszInputName, const char* pszOutputName);
    /// A run over a text in memory; nothing is printed, and process() may not be called.
    MPreprocessorRun(const char* pszOption, const MString& mstrInput);
    MPreprocessorRun(const MPreprocessorRun&) = delete;
    MPreprocessorRun& operator=(const MPreprocessorRun&) = delete;
    virtual ~MPreprocessorRun() = default;

    /// Translates and writes the output file. Throws every error of the passes, and
    /// "can not create the file" when the output cannot be written.
    void process();

    /// Runs both passes and returns the output text; the file is left alone. The result is
    /// the first pass's text itself when it holds no "frame". Once the first pass has
    /// written a part of its text out, the result is what follows that part.
    MString& translate();

protected:
    /// The notice, for C++ the include line, and an empty line.
    void startOutput();
    [[nodiscard]] int processNextBlock();
    void readFlagDefinitions(const MString& mstrHeader);
    [[nodiscard]] int processNextFrameKeyword();

    MString m_mstrInput;
    MOutputText m_output;  // the first pass's text
    MString m_mstrResult;  // the frame pass's text
    MString m_mstrBeginKeyword{"BEGIN_FRAME_TEXT"};
    MString m_mstrEndKeyword{"END_FRAME_TEXT"};
    MDelimiterSet m_delimiters;
    int m_nPosition = 0;
    const char* m_pszOutputName = nullptr;
    const char* m_pszOption = nullptr;
    // Where the frame pass last found the next "{" or "(": later occurrences
    // reuse it, so rejected words cost no rescan.
    int m_nBraceSearchFrom = -1;
    int m_nBraceFound = -1;
};

#endif  // XVANTOR_ENGINE_MPREPROCESSORRUN_H
