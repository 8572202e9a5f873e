// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MRUNOPTIONS_H
#define XVANTOR_ENGINE_MRUNOPTIONS_H

#include <string>
#include <unordered_set>
#include <vector>

#include "core/mstring.h"
#include "engine/membedcache.h"

/// What a run is asked for beyond its translation, given once when it starts.
struct MRunOptions {
    /// Keep the trimmed names of the embedded files read, in the order read.
    bool bTrackFiles = false;
    /// Say by the language's line directives where each part of the output came from, or
    /// where the row keeps lines instead, keep every input line at its number; a language
    /// without either ignores it, and so does a run over a text in memory.
    bool bLineDirectives = false;
};

/// What the passes record and say beyond the translation, as the run settled it from its
/// options. All are borrowed from the run and outlive the passes.
struct MRunTrace {
    std::vector<MString>* pFilesRead = nullptr;             // receives each embedded file's name
    std::unordered_set<std::string>* pFilesSeen = nullptr;  // the names in *pFilesRead
    MEmbedCache* pEmbedCache = nullptr;                     // the small files embedded so far
    const MString* pLineFile = nullptr;  // the input's name as the directives quote it
    bool bKeepLines = false;             // each block's call on the lines that the block took
};

#endif  // XVANTOR_ENGINE_MRUNOPTIONS_H
