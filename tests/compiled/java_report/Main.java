// Every value type that generated Java code turns into text, and an embedded file.
frame Piece {
    public void build(int n) {
        BEGIN_FRAME_TEXT(FLAG_<!="[[" FLAG_!>="]]")
<part [[n]]/>
        END_FRAME_TEXT();
    }
}

frame Report {
    public void build(int n, long l, char c, char zero, char euro, float f, double d,
                      double whole, boolean b, String str, MString mstr, MVantor part) {
        BEGIN_FRAME_TEXT()
Report "all types" of <!getClassName()!> <!getObjectID()!>
int=<!n!>;long=<!l!>;char=<!c!>;nul=<!zero!>;euro=<!euro!>
float=<!f!>;double=<!d!>;whole=<!whole!>;boolean=<!b!>
text=<!str!>;mstring=<!mstr!>;id=<!mstr.getObjectID()!>;part=<!part!>;sum=<! n + 1 !>
blob=<# blob.bin #>;
tail="quotes" \back\slash\ tab	here Ã© ÿ and a line long enough to be broken at seventy characters, once or twice over.

        END_FRAME_TEXT();
    }

    public void clear() {
        BEGIN_FRAME_TEXT()
        END_FRAME_TEXT();
    }
}

public class Main {
    public static void main(String[] args) {
        Piece piece = new Piece();
        piece.build(7);
        Report report = new Report();
        report.build(-42, -1234567890123L, 'Q', '\0', (char) 0x20ac, 3.5f, -0.25, 100.0, true,
                     "plain text", new MString("ms"), piece);
        report.exportToFile("out.bin");
        // An empty block leaves an empty text behind.
        report.clear();
        if (report.length() != 0 || !report.getFrameText().equals("")) {
            System.out.println("clear() left " + report.length() + " characters");
            System.exit(1);
        }
    }
}
