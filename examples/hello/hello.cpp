#include <iostream>

frame Greeting {
public:
    void make(const char* pszName, int nCount) {
        BEGIN_FRAME_TEXT()
Hello, <!pszName!>!
You have <!nCount!> new messages.
        END_FRAME_TEXT();
    }
};

int main() {
    Greeting greeting;
    greeting.make("world", 3);
    std::cout << MString(greeting);
    return 0;
}
