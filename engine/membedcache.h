// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MEMBEDCACHE_H
#define XVANTOR_ENGINE_MEMBEDCACHE_H

#include <string>
#include <unordered_map>

#include "core/mstring.h"

/// The contents of the small files that one run embeds, kept by their trimmed names. A
/// block that names one file a million times then reads it once, and a block that must
/// be scanned twice reads its files once. A run also sees one text for each name, however
/// often it stands. The total is bounded, so that memory does not grow with the embeds:
/// a file past the bound is read wherever it stands, as before.
class MEmbedCache {
public:
    static constexpr unsigned long sm_liMostFileBytes = 64UL * 1024;
    static constexpr unsigned long sm_liMostBytes = 16UL * 1024 * 1024;
    /// What a kept name costs beyond its bytes: the node, its hash and the texts' heads.
    static constexpr unsigned long sm_liBytesPerName = 128;

    /// The content kept under the name, or null.
    const MString* find(const MString& mstrName) const;
    /// Moves the content in and returns where it is kept while it fits; otherwise leaves
    /// it where it is and returns null.
    const MString* keep(const MString& mstrName, MString& mstrContent);

private:
    std::unordered_map<std::string, MString> m_contents;
    unsigned long m_liBytes = 0;
};

#endif  // XVANTOR_ENGINE_MEMBEDCACHE_H
