// A block outside any class reaches the free setFrameText, which only yields its argument.
#include "mvantor.h"
#include <cstdio>

static int countDown(int n) {
    BEGIN_FRAME_TEXT()
free block <!n!>
    END_FRAME_TEXT();
    return n - 1;
}

frame Note {
public:
    void build(int n) {
        BEGIN_FRAME_TEXT()
note <!n!>
        END_FRAME_TEXT();
    }

    void clear() {
        BEGIN_FRAME_TEXT()
        END_FRAME_TEXT();
    }
};

int main() {
    Note note;
    note.build(countDown(3));
    note.exportToFile("out.bin");
    // An empty block leaves an empty text behind.
    note.clear();
    if (note.length() != 0) {
        std::printf("clear() left %ld bytes\n", note.length());
        return 1;
    }
    return 0;
}
