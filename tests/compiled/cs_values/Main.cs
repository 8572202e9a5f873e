// What everyday values print in an embedded expression, the same under every culture.
using System;
using System.Text;

frame Piece {
    public void build() {
        BEGIN_FRAME_TEXT()
<piece/>
        END_FRAME_TEXT();
    }
}

enum Colour { Red, Green }

frame Values {
    public void build(MVantor piece) {
        int? nullable = 7;
        int? nullNullable = null;
        MString nullMString = null;
        string nullString = null;
        object nullObject = null;
        BEGIN_FRAME_TEXT()
int=<!-42!>;long=<!-1234567890123L!>;char=<!'Q'!>;float=<!3.5f!>;double=<!-0.25!>;bool=<!true!>;byte=<!(byte) 200!>;short=<!(short) -7!>
doubles=<!9999999.9375!>;<!-0.0625!>;<!100.0!>;<!0.1!>;<!1e7!>;<!0.0009765625!>
uint=<!4000000000u!>;ulong=<!123456789UL!>;decimal=<!1.50m!>;enum=<!Colour.Green!>;nullable=<!nullable!>;real=<!1234.5!>
null nullable=<!nullNullable!>;null object=<!nullObject!>;null string=<!nullString!>;null literal=<!null!>;null MString=<!nullMString!>
Object=<!new StringBuilder("sb")!>;date=<!new DateTime(2026, 12, 31, 23, 59, 58)!>
mstring=<!new MString("ms")!>;frame=<!piece!>;upper=<!new MString("title i").toUpper()!>;lower=<!new MString("TITLE I").toLower()!>
        END_FRAME_TEXT();
    }
}

public class Program {
    public static void Main() {
        Piece piece = new Piece();
        piece.build();
        Values values = new Values();
        values.build(piece);
        values.exportToFile("out.bin");
    }
}
