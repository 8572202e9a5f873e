// Non-ASCII text in a block and in the values spliced into it: the file holds the UTF-8 bytes
// of the whole text, and getUnicodeText() gives it back whatever the locale.
import java.io.*;

frame Piece {
    public void build() {
        BEGIN_FRAME_TEXT()
ß
        END_FRAME_TEXT();
    }
}

frame Greeting {
    public void build(String strName, MVantor piece) {
        BEGIN_FRAME_TEXT()
text: äöü € value: <!strName!> frame: <!piece!> char: <!'\u00e9'!> upper: <!new MString(MString.toString("zo\u00eb")).toUpper()!>
        END_FRAME_TEXT();
    }
}

public class Main {
    public static void main(String[] args) throws IOException {
        Piece piece = new Piece();
        piece.build();
        Greeting greeting = new Greeting();
        greeting.build("Zo\u00eb \u4e2d \ud83d\ude00", piece);
        greeting.exportToFile("out.bin");
        MString broken = new MString().importFromFile("broken.bin");
        try (PrintStream out = new PrintStream(new FileOutputStream("out.bin", true), true, "UTF-8")) {
            out.print("\r\n" + greeting.getUnicodeText() + "\r\n" + broken.getUnicodeText());
        }
    }
}
