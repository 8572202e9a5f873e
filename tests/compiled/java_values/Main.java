// What everyday values print in an embedded expression, from a named package: the support
// files written beside the output declare the same package, so nothing needs importing.
package report.values;

import java.util.List;

frame Piece {
    public void build() {
        BEGIN_FRAME_TEXT()
<piece/>
        END_FRAME_TEXT();
    }
}

enum Colour { RED, GREEN }

frame Values {
    public void build(MVantor piece) {
        Integer nullInteger = null;
        MString nullMString = null;
        String nullString = null;
        Object nullObject = null;
        CharSequence cs = "cs";
        BEGIN_FRAME_TEXT()
int=<!-42!>;long=<!-1234567890123L!>;char=<!'Q'!>;float=<!3.5f!>;double=<!-0.25!>;boolean=<!true!>;byte=<!(byte) -5!>;short=<!(short) -7!>
doubles=<!9999999.9375!>;<!-0.0625!>;<!100.0!>;<!0.1!>;<!1e7!>;<!0.0009765625!>
Integer=<!Integer.valueOf(7)!>;Long=<!Long.valueOf(8)!>;Character=<!Character.valueOf('c')!>;Boolean=<!Boolean.FALSE!>;Double=<!Double.valueOf(1.5)!>
null Integer=<!nullInteger!>;null MString=<!nullMString!>;null String=<!nullString!>;null literal=<!null!>;null Object=<!nullObject!>
Object=<!new StringBuilder("sb")!>;CharSequence=<!cs!>;enum=<!Colour.GREEN!>;List=<!List.of(1, 2)!>
mstring=<!new MString("ms")!>;frame=<!piece!>;upper=<!new MString("title i").toUpper()!>;lower=<!new MString("TITLE I").toLower()!>
        END_FRAME_TEXT();
    }
}

public class Main {
    public static void main(String[] args) {
        Piece piece = new Piece();
        piece.build();
        Values values = new Values();
        values.build(piece);
        values.exportToFile("out.bin");
    }
}
