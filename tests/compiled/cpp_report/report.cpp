// Every value type that generated C++ code turns into text, and an embedded file.
frame Piece {
public:
    void build(int n) {
        BEGIN_FRAME_TEXT(FLAG_<!="[[" FLAG_!>="]]")
<part [[n]]/>
        END_FRAME_TEXT();
    }
};

frame Report {
public:
    void build(int n, long l, unsigned u, char c, char zero, short s, float f, double d,
               long double ld, const char* psz, const MString& mstr, const Piece& part) {
        BEGIN_FRAME_TEXT()
Report "all types"
int=<!n!>;long=<!l!>;unsigned=<!u!>;char=<!c!>;nul=<!zero!>;short=<!s!>
float=<!f!>;double=<!d!>;long double=<!ld!>
text=<!psz!>;mstring=<!mstr!>;part=<!part!>;sum=<! n + 1 !>
blob=<# blob.bin #>;
tail="quotes" \back\slash\ tab	here Ã© ÿ and a line long enough to be broken at seventy characters, once or twice over.

        END_FRAME_TEXT();
    }
};

int main() {
    Piece piece;
    piece.build(7);
    Report report;
    report.build(-42, -1234567890123L, 4000000000u, 'Q', '\0', 7, 3.5f, -0.25, 1e10L,
                 "plain C text", MString("ms\0x", 4), piece);
    report.exportToFile("out.bin");
    return 0;
}
