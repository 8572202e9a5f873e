// SPDX-License-Identifier: MIT
#ifndef XVANTOR_ENGINE_MESCAPETABLE_H
#define XVANTOR_ENGINE_MESCAPETABLE_H

/// The escapes of all 256 byte values, octal ("\101") and hexadecimal ("\x41").
/// Filled once; conversion only looks entries up.
class MEscapeTable {
public:
    struct MEscape {
        char szText[5];  // at most four characters and the terminator
        int nLength;
    };

    /// The one table of the process, filled on first use.
    static const MEscapeTable& instance();
    ~MEscapeTable() = default;

    const MEscape& octal(unsigned char byValue) const { return m_octal[byValue]; }
    const MEscape& hexadecimal(unsigned char byValue) const { return m_hexadecimal[byValue]; }

private:
    MEscapeTable();
    MEscape m_octal[256];
    MEscape m_hexadecimal[256];
};

#endif  // XVANTOR_ENGINE_MESCAPETABLE_H
