#include "engine/membeddedfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "engine/mfiles.h"

namespace {

// The size of a file that can be read whole, as readWholeFile() judges it.
unsigned long sizeOf(int nDescriptor) {
    struct stat status;
    if (::fstat(nDescriptor, &status) != 0 || !S_ISREG(status.st_mode))
        throw MFileFailure::CannotRead;
    if (status.st_size > INT_MAX)
        throw MFileFailure::TooLarge;
    return static_cast<unsigned long>(status.st_size);
}

}  // namespace

MEmbeddedFile::MEmbeddedFile(const char* pszName) : m_mstrName(pszName) {
    m_mstrName.toCStr();
    m_nDescriptor = ::open(pszName, O_RDONLY | O_CLOEXEC);
    if (m_nDescriptor < 0)
        throw MFileFailure::CannotOpen;
    try {
        m_liLength = sizeOf(m_nDescriptor);
    } catch (MFileFailure) {
        closeFile();
        // Devices, pipes and the like are sized by reading them whole, as before.
        m_mstrContent = readWholeFile(pszName);
        m_liLength = m_mstrContent.length();
        return;
    }
    if (m_liLength <= sm_liWindowBytes) {
        readWindow(0, m_liLength);
        closeFile();
        return;
    }
    // Opened again when its turn comes: a block may name thousands of files.
    closeFile();
    m_bWhole = false;
}

MEmbeddedFile::~MEmbeddedFile() {
    closeFile();
}

const char* MEmbeddedFile::bytes(unsigned long liOffset, unsigned long liCount) {
    if (m_bWhole)
        return &m_mstrContent[0] + liOffset;
    if (liOffset < m_liWindowStart || liOffset + liCount > m_liWindowStart + m_liWindowLength) {
        if (m_nDescriptor < 0) {
            m_nDescriptor = ::open(m_mstrName.getAddress(), O_RDONLY | O_CLOEXEC);
            if (m_nDescriptor < 0)
                throw MFileFailure::CannotOpen;
        }
        const unsigned long liLeft = m_liLength - liOffset;
        const unsigned long liWindow = liLeft < sm_liWindowBytes ? liLeft : sm_liWindowBytes;
        readWindow(liOffset, liWindow < liCount ? liCount : liWindow);
    }
    const char* pszBytes = &m_mstrContent[0] + (liOffset - m_liWindowStart);
    if (liOffset + liCount == m_liLength)
        closeFile();
    return pszBytes;
}

void MEmbeddedFile::readWindow(unsigned long liOffset, unsigned long liLength) {
    if (m_mstrContent.length() < liLength)
        m_mstrContent = MString(0, liLength);
    unsigned long liRead = 0;
    while (liRead < liLength) {
        const ssize_t nRead = ::pread(m_nDescriptor, &m_mstrContent[0] + liRead, liLength - liRead,
                                      static_cast<off_t>(liOffset + liRead));
        if (nRead < 0 && errno == EINTR)
            continue;
        // A file that shrank since it was measured no longer holds its literal.
        if (nRead <= 0) {
            closeFile();
            throw MFileFailure::CannotRead;
        }
        liRead += static_cast<unsigned long>(nRead);
    }
    m_liWindowStart = liOffset;
    m_liWindowLength = liLength;
}

void MEmbeddedFile::closeFile() {
    if (m_nDescriptor >= 0)
        ::close(m_nDescriptor);
    m_nDescriptor = -1;
}
