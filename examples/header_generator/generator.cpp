// Writes colors.h, an enumeration together with its name lookup, from one table, so that the
// two can never disagree. The notice at the top is taken in when XVantor runs.
#include <cstdio>

struct Colour {
    const char* pszName;
    int nValue;
};

MString toHex(int nValue) {
    char szBuffer[16];
    std::snprintf(szBuffer, sizeof szBuffer, "0x%06X", nValue);
    return MString(szBuffer);
}

frame Enumerator {
public:
    explicit Enumerator(const Colour& colour) {
        BEGIN_FRAME_TEXT()
    <!colour.pszName!> = <!toHex(colour.nValue)!>,
        END_FRAME_TEXT();
    }
};

frame Case {
public:
    explicit Case(const Colour& colour) {
        BEGIN_FRAME_TEXT()
    case Color::<!colour.pszName!>:
        return "<!colour.pszName!>";
        END_FRAME_TEXT();
    }
};

frame Header {
public:
    Header(const char* pszGuard, const Colour* pColours, int nColours) {
        MString mstrEnumerators;
        MString mstrCases;
        for (int n = 0; n < nColours; ++n) {
            // A block's text stops before the line break that precedes its end line.
            if (n > 0) {
                mstrEnumerators += MString("\n");
                mstrCases += MString("\n");
            }
            mstrEnumerators += Enumerator(pColours[n]);
            mstrCases += Case(pColours[n]);
        }
        BEGIN_FRAME_TEXT()
<#notice.txt#>
#ifndef <!pszGuard!>
#define <!pszGuard!>

enum class Color : int {
<!mstrEnumerators!>
};

inline const char* toString(Color color) {
    switch (color) {
<!mstrCases!>
    }
    return "unknown";
}

#endif  // <!pszGuard!>
        END_FRAME_TEXT();
    }
};

int main() {
    const Colour colours[] = {
        {"Black", 0x000000},
        {"Red", 0xFF0000},
        {"Green", 0x00FF00},
        {"Blue", 0x0000FF},
        {"White", 0xFFFFFF},
    };
    Header header("EXAMPLE_COLORS_H", colours, 5);
    MString mstrText = MString(header) + MString("\n");
    mstrText.exportToFile("colors.h");
    std::printf("colors.h: %lu bytes\n", mstrText.length());
    return 0;
}
