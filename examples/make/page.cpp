#include <iostream>

// greeting.txt is read when the tool runs, so the build translates again when it changes.
frame Page {
public:
    void make(const char* pszName) {
        BEGIN_FRAME_TEXT()
Hello, <!pszName!>!
<#greeting.txt#>
        END_FRAME_TEXT();
    }
};

int main() {
    Page page;
    page.make("build");
    std::cout << MString(page);
    return 0;
}
