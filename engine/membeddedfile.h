// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MEMBEDDEDFILE_H
#define XVANTOR_ENGINE_MEMBEDDEDFILE_H

#include "core/mstring.h"
#include "engine/membedcache.h"
#include "engine/mplatform.h"

/// The content of a file named in a block. A small file is read whole; a large one is
/// only measured at first and then read a window at a time as its literal is written,
/// so that it never lies in memory whole and its bytes are still in the cache when
/// they are escaped.
class MEmbeddedFile {
public:
    static constexpr unsigned long sm_liWindowBytes = 1UL << 20;

    /// Reads or measures the named file, or takes its content from the cache, where a
    /// small file read is also kept. Throws MFileFailure.
    explicit MEmbeddedFile(const char* pszName, MEmbedCache* pCache = nullptr);
    MEmbeddedFile(const MEmbeddedFile&) = delete;
    MEmbeddedFile& operator=(const MEmbeddedFile&) = delete;
    ~MEmbeddedFile();

    unsigned long length() const { return m_liLength; }
    const MString& name() const { return m_mstrName; }
    /// The liCount bytes at liOffset, valid until the next call. A large file is opened
    /// again for them and read from there on; it is closed after its last byte. Throws
    /// MFileFailure when the file no longer holds the bytes.
    const char* bytes(unsigned long liOffset, unsigned long liCount);

private:
    /// Reads liLength bytes from liOffset into the window. Throws MFileFailure.
    void readWindow(unsigned long liOffset, unsigned long liLength);
    void closeFile();

    MString m_mstrName;                        // terminated, for opening the file again
    MString m_mstrContent;                     // the whole file, or the window
    const MString* m_pWhole = &m_mstrContent;  // or the cache's copy
    unsigned long m_liLength = 0;
    unsigned long m_liWindowStart = 0;
    unsigned long m_liWindowLength = 0;
    bool m_bWhole = true;
    MSystemFile m_file = g_noSystemFile;
    MFileVersion m_version;  // what a large file was when it was measured
    bool m_bVersioned = false;
};

#endif  // XVANTOR_ENGINE_MEMBEDDEDFILE_H
