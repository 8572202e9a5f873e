// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MBACKGROUNDWRITER_H
#define XVANTOR_ENGINE_MBACKGROUNDWRITER_H

#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/mtextbuffer.h"
#include "engine/mtextstage.h"

class MReplacementFile;

/// The last stage of the output: writes into a replacement file on a thread of its own,
/// one piece at a time, so that the next part of a large output is made while the last
/// one is copied to the disk.
class MBackgroundWriter final : public MTextStage {
public:
    /// The file is borrowed and must outlive the writer.
    explicit MBackgroundWriter(MReplacementFile& file) : m_file(file) {}
    MBackgroundWriter(const MBackgroundWriter&) = delete;
    MBackgroundWriter& operator=(const MBackgroundWriter&) = delete;
    /// Waits for the piece being written.
    ~MBackgroundWriter();

    /// Takes the whole text to write; its buffer changes hands, so nothing is copied.
    void take(MTextBuffer& text, bool bFinal) override;

    /// Waits until the last piece is written, then starts on this one, whose bytes must
    /// stay as they are until the next call.
    void write(const char* pszText, unsigned long liCount);
    /// Returns once nothing is being written.
    void wait();

private:
    void run();

    MReplacementFile& m_file;
    std::thread m_thread;  // started with the first piece
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const char* m_pszPiece = nullptr;  // the piece being written; null when idle
    unsigned long m_liPiece = 0;
    bool m_bStopping = false;
    MTextBuffer m_written;  // the text being written; swapped with the stage's before it
};

#endif  // XVANTOR_ENGINE_MBACKGROUNDWRITER_H
