// A global whose name the standard library has too: with MSTRING_NO_USING_STD the support
// headers bring no std name into the global namespace, so count is not ambiguous.
#include <algorithm>

int count = 3;

frame Counter {
public:
    void build() {
        BEGIN_FRAME_TEXT()
count=<!count!>
        END_FRAME_TEXT();
    }
};

int main() {
    Counter counter;
    counter.build();
    counter.exportToFile("out.bin");
    return 0;
}
