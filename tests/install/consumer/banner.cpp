#include <iostream>

MString counterText(int nCount);

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
    banner.make("consumer");
    std::cout << MString(banner) << counterText(3) << "\n";
    return 0;
}
