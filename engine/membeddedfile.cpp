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
    const int nDescriptor = ::open(pszName, O_RDONLY | O_CLOEXEC);
    if (nDescriptor < 0)
        throw MFileFailure::CannotOpen;
    unsigned long liSize = 0;
    try {
        liSize = sizeOf(nDescriptor);
    } catch (MFileFailure) {
        ::close(nDescriptor);
        // Devices, pipes and the like are sized by reading them whole, as before.
        m_mstrContent = readWholeFile(pszName);
        m_liLength = m_mstrContent.length();
        return;
    }
    ::close(nDescriptor);
    if (liSize <= sm_liWindowBytes) {
        m_mstrContent = readWholeFile(pszName);
        m_liLength = m_mstrContent.length();
        return;
    }
    m_liLength = liSize;
    m_bWhole = false;
}

MEmbeddedFile::~MEmbeddedFile() {
    if (m_nDescriptor >= 0)
        ::close(m_nDescriptor);
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
        unsigned long liWindow = liLeft < sm_liWindowBytes ? liLeft : sm_liWindowBytes;
        if (liWindow < liCount)
            liWindow = liCount;
        if (m_mstrContent.length() < liWindow)
            m_mstrContent = MString(0, liWindow);
        unsigned long liRead = 0;
        while (liRead < liWindow) {
            const ssize_t nRead = ::pread(m_nDescriptor, &m_mstrContent[0] + liRead,
                                          liWindow - liRead, static_cast<off_t>(liOffset + liRead));
            if (nRead < 0 && errno == EINTR)
                continue;
            // A file that shrank since it was measured no longer holds its literal.
            if (nRead <= 0)
                throw MFileFailure::CannotRead;
            liRead += static_cast<unsigned long>(nRead);
        }
        m_liWindowStart = liOffset;
        m_liWindowLength = liWindow;
    }
    const char* pszBytes = &m_mstrContent[0] + (liOffset - m_liWindowStart);
    if (liOffset + liCount == m_liLength && m_nDescriptor >= 0) {
        ::close(m_nDescriptor);
        m_nDescriptor = -1;
    }
    return pszBytes;
}
