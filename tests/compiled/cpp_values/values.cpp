// What every everyday value type prints in an embedded expression, and the operands that
// callers hand to MString: constant and temporary strings, std::string, file names built on
// the fly. Built in every standard the headers support, so that no type is ambiguous in any.
#include <cstdint>
#include <string>
#include <vector>
#if __cplusplus >= 201703L
#include <string_view>
#define XV_VIEW(TEXT, COUNT) std::string_view(TEXT, COUNT)
#else
#define XV_VIEW(TEXT, COUNT) std::string(TEXT, COUNT)
#endif

enum Colour { red, green = 5 };

frame Piece {
public:
    void build() {
        BEGIN_FRAME_TEXT()
<piece/>
        END_FRAME_TEXT();
    }
};

frame Values {
public:
    void build(const Piece& piece, const MString& mstrConst, const char* pszNull) {
        const std::vector<int> v(3);
        const std::vector<std::string> names = {"a", "", "bc"};
        const std::vector<size_t> sizes = {1, 20, 300};
        BEGIN_FRAME_TEXT()
bool=<!true!>,<!false!>;char=<!'Q'!>;nul=<!'\0'!>;signed char=<!static_cast<signed char>(-5)!>;unsigned char=<!static_cast<unsigned char>(200)!>
short=<!static_cast<short>(-7)!>;unsigned short=<!static_cast<unsigned short>(65535)!>;int=<!-42!>;unsigned=<!4000000000u!>
long=<!-1234567890123L!>;unsigned long=<!42UL!>;size_t=<!v.size()!>
long long=<!-9223372036854775807LL - 1!>;unsigned long long=<!18446744073709551615ULL!>
int8_t=<!static_cast<int8_t>(-8)!>;uint8_t=<!static_cast<uint8_t>(255)!>;int64_t=<!static_cast<int64_t>(-64)!>;uint64_t=<!static_cast<uint64_t>(64)!>
enum=<!red!>,<!green!>
float=<!3.5f!>;double=<!-0.25!>;long double=<!1e10L!>;tenth=<!0.1 + 0.2!>;tiny=<!-1e-9!>
text=<!"plain"!>;null=<!pszNull!>;nullptr=<!nullptr!>;std::string=<!std::string("s\0t", 3)!>;view=<!XV_VIEW("v\0w", 3)!>
mstring=<!MString("m\0s", 3)!>;const=<!mstrConst + MString("+")!>;frame=<!piece!>
vector<string>=<!toMString(names)!>;vector<size_t>=<!toMString(sizes)!>
back=<!toStdString(MString("b\0k", 3))!>;side=<!MString().importFromFile("side.bin")!>;number=<!getObjectID()!>
        END_FRAME_TEXT();
    }
};

int main() {
    Piece piece;
    piece.build();
    // A copy is not counted and must not count down: Values takes number 1.
    {
        Piece copy(piece);
    }
    MString("side file").exportToFile(std::string("side.bin"));
    Values values;
    values.build(piece, MString("const"), nullptr);
    const MString mstrBase("out");
    values.exportToFile(mstrBase + ".bin");
    return 0;
}
