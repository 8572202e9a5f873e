// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MTEXTSTAGE_H
#define XVANTOR_ENGINE_MTEXTSTAGE_H

#include "engine/mtextbuffer.h"

/// A stage that the output passes through on its way to the file: the frame pass, and the
/// writer at the end. Each takes finished text off the front of what the stage before it
/// made, so that an output many times the input's size never lies in memory whole.
class MTextStage {
public:
    /// Takes what it can off the front of the text; what it leaves is offered again once
    /// more text has come. bFinal: no more text will come.
    virtual void take(MTextBuffer& text, bool bFinal) = 0;

protected:
    ~MTextStage() = default;
};

#endif  // XVANTOR_ENGINE_MTEXTSTAGE_H
