#include <cstring>
#include <iostream>

#include "banner.h"

MString counterText(int nCount);
const char* counterFile();

// message.txt is read when the tool runs, so a change to it must run the tool again.
frame Banner {
public:
    void make(const char* pszTitle) {
        BEGIN_FRAME_TEXT()
== <!pszTitle!> ==
<#message.txt#>
        END_FRAME_TEXT();
    }
};

int main() {
    Banner banner;
    banner.make(kBannerTitle);
    std::cout << MString(banner) << counterText(3);
    // With #line directives the line is this file's, not the generated file's.
    std::cout << "line " << __LINE__ << "\n";
    std::cout << (std::strrchr(counterFile(), '/') + 1) << "\n";
    return 0;
}
