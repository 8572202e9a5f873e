// SPDX-License-Identifier: MIT
#include "engine/mescapetable.h"

#include <cstdio>

const MEscapeTable& MEscapeTable::instance() {
    static const MEscapeTable table;
    return table;
}

MEscapeTable::MEscapeTable() {
    for (int n = 0; n < 256; ++n) {
        m_octal[n].nLength = std::snprintf(m_octal[n].szText, sizeof(m_octal[n].szText), "\\%o", n);
        m_hexadecimal[n].nLength =
            std::snprintf(m_hexadecimal[n].szText, sizeof(m_hexadecimal[n].szText), "\\x%x", n);
    }
}
