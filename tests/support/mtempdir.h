// SPDX-License-Identifier: MIT
#ifndef XVANTOR_TESTS_SUPPORT_MTEMPDIR_H
#define XVANTOR_TESTS_SUPPORT_MTEMPDIR_H

#include <functional>
#include <string>

/// Enters a fresh temporary directory and, on destruction, returns to the old working
/// directory and removes the new one with everything in it.
class MTempDir {
public:
    MTempDir();
    MTempDir(const MTempDir&) = delete;
    MTempDir& operator=(const MTempDir&) = delete;
    virtual ~MTempDir();

    /// Writes the bytes to a file relative to the directory.
    void write(const std::string& strName, const std::string& strBytes) const;
    /// The bytes of a file relative to the directory; throws if it cannot be read.
    std::string read(const std::string& strName) const;
    bool exists(const std::string& strName) const;
    void makeDirectory(const std::string& strName) const;
    const std::string& path() const { return m_strPath; }

protected:
    std::string m_strPath;
    std::string m_strPrevious;
};

/// The text of whatever the call threw (a C string, or an MString's bytes), or "" when it
/// threw nothing. Anything else thrown reads "<unknown exception>".
std::string thrownText(const std::function<void()>& call);

#endif  // XVANTOR_TESTS_SUPPORT_MTEMPDIR_H
